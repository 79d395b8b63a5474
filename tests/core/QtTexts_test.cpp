// Qt's own dialogs and buttons in Chinese.

#include "core/QtTexts.h"

#include <QAbstractButton>
#include <QAbstractFileIconProvider>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

class QtTextsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void messageBoxButtons();
    void standardDialogs();
    void fileTypesOfTheFileDialog();
};

void QtTextsTest::initTestCase()
{
    QVERIFY2(qn::UseChineseForQtTexts(), "qtbase_zh_CN is missing (scripts/install-deps.sh installs it)");
}

void QtTextsTest::messageBoxButtons()
{
    QMessageBox box(QMessageBox::Question, "QN周记事本", "?", QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok);
    QVERIFY2(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("是")),
             qPrintable(box.button(QMessageBox::Yes)->text()));
    QVERIFY(box.button(QMessageBox::No)->text().contains(QStringLiteral("否")));
    QVERIFY(box.button(QMessageBox::Ok)->text().contains(QStringLiteral("确定")));
}

void QtTextsTest::standardDialogs()
{
    QFileDialog save;
    save.setOption(QFileDialog::DontUseNativeDialog);
    save.setAcceptMode(QFileDialog::AcceptSave);
    QCOMPARE(save.windowTitle(), QStringLiteral("另存为"));
    // "Look in" and the file name's label.
    QStringList labels;
    for (const QLabel* label : save.findChildren<QLabel*>())
        labels << label->text();
    QVERIFY2(labels.contains(QStringLiteral("查找范围:")) || labels.contains(QStringLiteral("查找范围：")),
             qPrintable(labels.join('|')));
    QFontDialog font;
    QCOMPARE(font.windowTitle(), QStringLiteral("选择字体"));
    QColorDialog colour;
    QCOMPARE(colour.windowTitle(), QStringLiteral("选择颜色"));
}

void QtTextsTest::fileTypesOfTheFileDialog()
{
    QTemporaryDir dir;
    QAbstractFileIconProvider icons;
    QCOMPARE(icons.type(QFileInfo(dir.path())), QStringLiteral("文件夹"));
}

QTEST_MAIN(QtTextsTest)
#include "QtTexts_test.moc"
