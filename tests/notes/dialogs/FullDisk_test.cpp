// Every file the notebook writes, on a full disk: the old file stays as it
// was, nothing is left beside it, and the failure is reported in Chinese,
// never as a success. Each row runs on a real full tmpfs where the test may
// mount one, and with the writes made to fail where it may not.

#include "core/SettingsFile.h"
#include "holidays/update/HolidayUpdateSettings.h"
#include "holidays/update/UserHolidayFile.h"
#include "notes/dialogs/untPWSet.h"
#include "notes/dialogs/uSetTrans.h"
#include "notes/frame/FormGeometry.h"
#include "notes/frame/uMiniHang.h"
#include "notes/store/WeekExport.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/FullDisk.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <functional>

using namespace qn;
using namespace qn::testing;

Q_DECLARE_METATYPE(qn::testing::FullDisk::Kind)

namespace {

struct Case {
    QString file;    // under Data/, or beside it for the export
    QByteArray old;  // what the file holds before
    bool reported;   // the user is told (ExportFolder.ini is a convenience: silent)
    // Performs the write through the file's owner; returns whether the
    // owner answered success.
    std::function<bool(const ProgramFolder&, const QString& path)> write;
};

Case CaseFor(const QString& name)
{
    if (name == "FormSize.ini")
        return {name, "1\r\n906\r\n540\r\n10\r\n20\r\n6\r\n", true, [](const ProgramFolder& folder, const QString&) {
                    QWidget window;
                    FormGeometry g;
                    LoadFormSize(&window, g, folder, "6", ScreenLayout::Single(1024, 768));
                    window.setGeometry(40, 50, 950, 560);
                    QString error;
                    const bool saved = SaveFormSize(&window, g, folder, &error);
                    if (!saved)
                        ShowErrorReport(&window, error);  // as the close button does
                    return saved;
                }};
    if (name == "mincfg.ini")
        return {name, "100\r\n200\r\n", true, [](const ProgramFolder& folder, const QString&) {
                    TMiniHangFrm mini(folder, nullptr, ScreenLayout::Single(1024, 768));
                    mini.show();
                    mini.move(300, 400);
                    QTest::mouseDClick(mini.imgBG, Qt::LeftButton);
                    return RecordedMessages().isEmpty();
                }};
    if (name == "SetTrans.ini")
        return {name, "1\r\n", true, [](const ProgramFolder& folder, const QString&) {
                    TSetTransFrm frm(folder);
                    frm.LoadTransMode();
                    frm.show();
                    frm.rdiHalfTrans->setChecked(true);
                    QTest::mouseClick(frm.btnok, Qt::LeftButton);
                    return !frm.isVisible();
                }};
    if (name == "loginstr.db")
        return {name, "XKPWD7304186\r\nXKPWD7304186\r\n0\r\n", true, [](const ProgramFolder& folder, const QString&) {
                    TpwsetFrm frm(folder);
                    frm.show();
                    frm.JCheckbox1->setChecked(true);
                    frm.edit1->setText("secret");
                    frm.edit2->setText("secret");
                    QTest::mouseClick(frm.JvXPButton1, Qt::LeftButton);
                    return !frm.isVisible();
                }};
    if (name == "ExportFolder.ini")
        return {name, "/home\r\n", false, [](const ProgramFolder& folder, const QString&) {
                    RememberExportFolder(folder, QDir::tempPath() + "/week.txt");
                    return true;
                }};
    // The holiday updater's two files; the updater hands its message on to
    // whoever shows it, here the message box.
    if (name == "cn-holidays.csv")
        return {name, "date,off,name,notice_year\n2027-01-01,1,元旦,2027\n", true,
                [](const ProgramFolder&, const QString& path) {
                    QString error;
                    const bool written = WriteUserHolidayFile(
                        path, {{{2027, 1, 1}, true, "元旦", 2027}, {{2027, 2, 6}, true, "春节", 2027}}, &error);
                    if (!written)
                        ShowErrorReport(nullptr, error);
                    return written;
                }};
    if (name == "HolidayUpdate.ini")
        return {name, "enabled=0\r\n", true, [](const ProgramFolder& folder, const QString&) {
                    HolidayUpdateSettings settings;
                    settings.enabled = true;
                    QString error;
                    const bool saved = SaveHolidayUpdateSettings(folder, settings, &error);
                    if (!saved)
                        ShowErrorReport(nullptr, error);
                    return saved;
                }};
    // The export, written beside the program folder's Data/.
    return {name, "an earlier export\r\n", true, [](const ProgramFolder&, const QString& path) {
                const QString error = WriteExportFile(path, QStringList(24, QStringLiteral("一周的笔记")));
                if (!error.isEmpty())
                    ShowErrorReport(nullptr, error);
                return error.isEmpty();
            }};
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

}  // namespace

class FullDiskTest : public QObject {
    Q_OBJECT
private slots:
    void oldFileStaysAndFailureIsReported_data();
    void oldFileStaysAndFailureIsReported();
};

void FullDiskTest::oldFileStaysAndFailureIsReported_data()
{
    QTest::addColumn<FullDisk::Kind>("kind");
    QTest::addColumn<QString>("file");
    for (const char* file : {"FormSize.ini", "mincfg.ini", "SetTrans.ini", "loginstr.db", "ExportFolder.ini",
                             "cn-holidays.csv", "HolidayUpdate.ini", "week.txt (export)"}) {
        QTest::addRow("%s, full tmpfs", file) << FullDisk::Kind::Mounted << QString::fromUtf8(file);
        QTest::addRow("%s, failing writes", file) << FullDisk::Kind::Injected << QString::fromUtf8(file);
    }
}

void FullDiskTest::oldFileStaysAndFailureIsReported()
{
    QFETCH(FullDisk::Kind, kind);
    QFETCH(QString, file);
    FullDisk disk(kind);
    if (!disk.usable())
        QSKIP("mounting a tmpfs is not allowed here; the rows with failing writes stand in");
    const Case c = CaseFor(file);
    const ProgramFolder folder(disk.path());
    QVERIFY(folder.ensureDataFolder());
    const bool isExport = file.endsWith("(export)");
    const QString path = isExport ? disk.path() + "/week.txt" : folder.dataFile(file);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(c.old), c.old.size());
    }
    const QStringList before = QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
        + QDir(folder.dataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    disk.fill();
    TestFolder messages;  // records the message boxes
    const bool success = c.write(folder, path);
    SetWriteFailureForTests(0);

    QCOMPARE(ReadAll(path), c.old);
    QVERIFY(!success || !c.reported);
    // No temporary file is left beside it.
    QFile::remove(disk.path() + "/filler");
    QCOMPARE(QDir(disk.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                 + QDir(folder.dataFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before);
    if (!c.reported) {
        QVERIFY(RecordedMessages().isEmpty());
        return;
    }
    QCOMPARE(RecordedMessages().size(), 1);
    const Message& report = RecordedMessages().first();
    QCOMPARE(report.first, kApplicationTitle);
    QVERIFY2(report.second.contains(QStringLiteral("磁盘已满")), qPrintable(report.second));
    QVERIFY2(report.second.contains(QDir::toNativeSeparators(path)), qPrintable(report.second));
    QVERIFY(!report.second.contains(QStringLiteral("成功")));
}

QTEST_MAIN(FullDiskTest)
#include "FullDisk_test.moc"
