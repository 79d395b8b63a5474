// The note-box look and Data/SetTrans.ini.

#include "notes/dialogs/uSetTrans.h"
#include "tests/support/DialogTestSupport.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>

using namespace qn;
using namespace qn::testing;

class SetTransTest : public QObject {
    Q_OBJECT
private slots:
    void loadsTheFile_data();
    void loadsTheFile();
    void somethingElseInPlaceOfTheFile();
    void okWritesTheChoice_data();
    void okWritesTheChoice();
    void cancelAndCloseChangeNothing_data();
    void cancelAndCloseChangeNothing();
    void failedWriteKeepsTheWindowOpen();
    void windowLooksAsDesigned();
    void colourOfTheBoxes();
    void keyboardChoosesAndEnterConfirms();
    void focusIsVisible();
};

void SetTransTest::loadsTheFile_data()
{
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("fileAfter");
    QTest::addColumn<bool>("halfSelected");
    QTest::newRow("missing") << false << QByteArray() << 1 << QByteArray("1\r\n") << false;
    QTest::newRow("empty") << true << QByteArray() << 1 << QByteArray() << false;
    QTest::newRow("non-numeric") << true << QByteArray("half\r\n") << 1 << QByteArray("half\r\n") << false;
    QTest::newRow("0") << true << QByteArray("0\r\n") << 0 << QByteArray("0\r\n") << true;
    QTest::newRow("1") << true << QByteArray("1\r\n") << 1 << QByteArray("1\r\n") << false;
    QTest::newRow("7") << true << QByteArray("7\r\n") << 7 << QByteArray("7\r\n") << true;
    QTest::newRow("binary") << true << QByteArray("\x00\xff\x01", 3) << 1 << QByteArray("\x00\xff\x01", 3) << false;
}

void SetTransTest::loadsTheFile()
{
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(int, mode);
    QFETCH(QByteArray, fileAfter);
    QFETCH(bool, halfSelected);
    TestFolder t;
    if (present)
        t.writeBytes("SetTrans.ini", bytes);
    TSetTransFrm frm(t.folder());
    QCOMPARE(frm.FTransMode, 1);
    frm.LoadTransMode();
    QCOMPARE(frm.FTransMode, mode);
    QCOMPARE(t.readBytes("SetTrans.ini"), fileAfter);
    frm.show();
    QCOMPARE(frm.rdiHalfTrans->isChecked(), halfSelected);
    QCOMPARE(frm.rdiAllTrans->isChecked(), !halfSelected);
    QVERIFY(RecordedMessages().isEmpty());
}

void SetTransTest::somethingElseInPlaceOfTheFile()
{
    TestFolder t;
    QDir().mkpath(t.data("SetTrans.ini"));
    TSetTransFrm frm(t.folder());
    frm.LoadTransMode();
    QCOMPARE(frm.FTransMode, 1);
    QVERIFY(QFileInfo(t.data("SetTrans.ini")).isDir());  // not replaced
    QVERIFY(RecordedMessages().isEmpty());
}

void SetTransTest::okWritesTheChoice_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("chooseHalf");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<int>("mode");
    QTest::newRow("7 kept as half") << QByteArray("7\r\n") << true << QByteArray("0\r\n") << 0;
    QTest::newRow("full to half") << QByteArray("1\r\n") << true << QByteArray("0\r\n") << 0;
    QTest::newRow("half to full") << QByteArray("0\r\n") << false << QByteArray("1\r\n") << 1;
    QTest::newRow("empty file, full") << QByteArray() << false << QByteArray("1\r\n") << 1;
}

void SetTransTest::okWritesTheChoice()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, chooseHalf);
    QFETCH(QByteArray, after);
    QFETCH(int, mode);
    TestFolder t;
    t.writeBytes("SetTrans.ini", before);
    TSetTransFrm frm(t.folder());
    frm.LoadTransMode();
    frm.show();
    (chooseHalf ? frm.rdiHalfTrans : frm.rdiAllTrans)->setChecked(true);
    QTest::mouseClick(frm.btnok, Qt::LeftButton);
    QCOMPARE(frm.result(), int(QDialog::Accepted));
    QVERIFY(!frm.isVisible());
    QCOMPARE(frm.FTransMode, mode);
    QCOMPARE(t.readBytes("SetTrans.ini"), after);
    // Shown again, the window offers what was chosen.
    frm.show();
    QCOMPARE(frm.rdiHalfTrans->isChecked(), chooseHalf);
}

void SetTransTest::cancelAndCloseChangeNothing_data()
{
    QTest::addColumn<bool>("byCloseButton");
    QTest::newRow("取  消") << false;
    QTest::newRow("close picture") << true;
}

void SetTransTest::cancelAndCloseChangeNothing()
{
    QFETCH(bool, byCloseButton);
    TestFolder t;
    t.writeBytes("SetTrans.ini", "1\r\n");
    TSetTransFrm frm(t.folder());
    frm.LoadTransMode();
    frm.show();
    frm.rdiHalfTrans->setChecked(true);
    QWidget* closer = byCloseButton ? static_cast<QWidget*>(frm.findChild<QWidget*>("img_close"))
                                    : static_cast<QWidget*>(frm.btncancel);
    QVERIFY(closer);
    QTest::mouseClick(closer, Qt::LeftButton, {}, QPoint(10, 10));
    QVERIFY(!frm.isVisible());
    QCOMPARE(frm.result(), int(QDialog::Rejected));
    QCOMPARE(frm.FTransMode, 1);
    QCOMPARE(t.readBytes("SetTrans.ini"), QByteArray("1\r\n"));
    // Reopened, it shows the mode in effect, not the abandoned choice.
    frm.show();
    QVERIFY(frm.rdiAllTrans->isChecked());
}

void SetTransTest::failedWriteKeepsTheWindowOpen()
{
    TestFolder t;
    t.writeBytes("SetTrans.ini", "1\r\n");
    TSetTransFrm frm(t.folder());
    frm.LoadTransMode();
    frm.show();
    // A folder where the file should be: the write fails.
    QFile::remove(t.data("SetTrans.ini"));
    QDir().mkpath(t.data("SetTrans.ini"));
    frm.rdiHalfTrans->setChecked(true);
    QTest::mouseClick(frm.btnok, Qt::LeftButton);
    QCOMPARE(RecordedMessages().size(), 1);
    QCOMPARE(RecordedMessages().first().first, kApplicationTitle);
    QVERIFY(frm.isVisible());
    QCOMPARE(frm.FTransMode, 0);  // the colours applied afterwards follow it
}

void SetTransTest::windowLooksAsDesigned()
{
    TestFolder t;
    TSetTransFrm frm(t.folder());
    QCOMPARE(frm.windowTitle(), QString("设置透明度"));
    QCOMPARE(frm.size(), QSize(376, 170));
    QVERIFY(frm.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(frm.Label1->text(), QString("背景透明度调节"));
    QCOMPARE(frm.rdiHalfTrans->text(), QString(" 半透明效果  "));
    QCOMPARE(frm.rdiAllTrans->text(), QString(" 全透明效果"));
    QCOMPARE(frm.Label2->text(), QString("（适合各种壁纸颜色）"));
    QCOMPARE(frm.Label3->text(), QString("（适合较淡壁纸，蓝天白云等）"));
    QCOMPARE(frm.btnok->text(), QString("确  定"));
    QCOMPARE(frm.btncancel->text(), QString("取  消"));
    QVERIFY(frm.rdiHalfTrans->y() < frm.rdiAllTrans->y());
}

void SetTransTest::colourOfTheBoxes()
{
    QTextEdit a, b;
    const QList<QWidget*> boxes = {&a, &b};
    ApplyNoteBoxColour(boxes, 0);
    QCOMPARE(a.palette().color(QPalette::Base), QColor(0xF7, 0xF7, 0xF7));
    QCOMPARE(b.palette().color(QPalette::Base), QColor(0xF7, 0xF7, 0xF7));
    ApplyNoteBoxColour(boxes, 1);
    QCOMPARE(a.palette().color(QPalette::Base), QApplication::palette().color(QPalette::Active, QPalette::Base));
    ApplyNoteBoxColour(boxes, 7);
    QCOMPARE(b.palette().color(QPalette::Base), QColor(0xF7, 0xF7, 0xF7));
}

void SetTransTest::keyboardChoosesAndEnterConfirms()
{
    TestFolder t;
    t.writeBytes("SetTrans.ini", "1\r\n");
    TSetTransFrm frm(t.folder());
    frm.LoadTransMode();
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    // The keyboard starts on the choice in effect; an arrow picks the other.
    QCOMPARE(QApplication::focusWidget(), frm.rdiAllTrans);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QVERIFY(frm.rdiHalfTrans->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(!frm.isVisible());
    QCOMPARE(frm.result(), int(QDialog::Accepted));
    QCOMPARE(t.readBytes("SetTrans.ini"), QByteArray("0\r\n"));

    // Escape cancels.
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(frm.result(), int(QDialog::Rejected));
    QCOMPARE(t.readBytes("SetTrans.ini"), QByteArray("0\r\n"));
}

void SetTransTest::focusIsVisible()
{
    TestFolder t;
    TSetTransFrm frm(t.folder());
    frm.show();
    QVERIFY(QTest::qWaitForWindowActive(&frm));
    for (QWidget* control : std::initializer_list<QWidget*>{frm.btnok, frm.btncancel, frm.rdiHalfTrans}) {
        frm.rdiAllTrans->setFocus(Qt::TabFocusReason);
        const QImage without = control->grab().toImage();
        control->setFocus(Qt::TabFocusReason);
        QVERIFY(control->hasFocus());
        QVERIFY2(control->grab().toImage() != without, qPrintable(control->objectName()));
    }
}

QTEST_MAIN(SetTransTest)
#include "SetTrans_test.moc"
