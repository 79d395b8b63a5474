// The one reader and writer of the small files under Data/.

#include "core/SafeFile.h"
#include "core/SettingsFile.h"
#include "tests/support/DialogTestSupport.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QTest>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

using namespace qn;
using namespace qn::testing;

class SettingsFileTest : public QObject {
    Q_OBJECT
private slots:
    void splitsLikeAListOfLines_data();
    void splitsLikeAListOfLines();
    void writesGbkWithCrLfOwnerOnly();
    void keepsCharactersOutsideGbk();
    void makesAnExistingFileOwnerOnly();
    void oddFilesNeverCrash_data();
    void oddFilesNeverCrash();
    void hugeFileIsCappedAtWholeLines();
    void unreadableFileIsReportedNotReplaced();
    void folderInsteadOfFile();
    void missingFile();
    void readsUtf8FromAnotherEditor();
    void bytesLikeAByteOrderMarkAreGbk_data();
    void bytesLikeAByteOrderMarkAreGbk();
    void readOrCreateWritesOnlyAMissingFile();
    void writesThroughALinkToItsTarget();
    void failedWriteKeepsTheOldFile();
    void wholeNumbers_data();
    void wholeNumbers();
};

void SettingsFileTest::splitsLikeAListOfLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("empty") << QByteArray() << QStringList();
    QTest::newRow("one break") << QByteArray("\r\n") << QStringList{QString()};
    QTest::newRow("crlf") << QByteArray("1\r\n906\r\n") << QStringList{"1", "906"};
    QTest::newRow("no final break") << QByteArray("1\r\n906") << QStringList{"1", "906"};
    QTest::newRow("lf only") << QByteArray("a\nb\n") << QStringList{"a", "b"};
    QTest::newRow("cr only") << QByteArray("a\rb") << QStringList{"a", "b"};
    QTest::newRow("blank lines kept") << QByteArray("a\r\n\r\n b \r\n") << QStringList{"a", "", " b "};
    QTest::newRow("gbk") << QByteArray("\xc4\xe3\xba\xc3\r\n") << QStringList{QStringLiteral("你好")};
}

void SettingsFileTest::splitsLikeAListOfLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    TestFolder t;
    t.writeBytes("x.ini", bytes);
    const auto read = SettingsFile(t.data("x.ini")).read();
    QVERIFY(read.ok());
    QCOMPARE(read.lines, lines);
}

void SettingsFileTest::writesGbkWithCrLfOwnerOnly()
{
    TestFolder t;
    QString error;
    QVERIFY(SettingsFile(t.data("loginstr.db")).write({QStringLiteral("密码 A"), QStringLiteral("-1")}, &error));
    QCOMPARE(t.readBytes("loginstr.db"), QByteArray("\xc3\xdc\xc2\xeb A\r\n-1\r\n"));
    QVERIFY(IsOwnerOnly(t.data("loginstr.db")));
    // No temporary file is left beside it.
    QCOMPARE(QDir(t.folder().dataFolder()).entryList(QDir::Files), QStringList{"loginstr.db"});
}

void SettingsFileTest::keepsCharactersOutsideGbk()
{
    TestFolder t;
    const QString text = QStringLiteral("笔记😀");
    QVERIFY(SettingsFile(t.data("x.ini")).write({text}));
    QStringDecoder gb18030("GB18030");
    QCOMPARE(gb18030.decode(t.readBytes("x.ini")), text + "\r\n");
    QCOMPARE(SettingsFile(t.data("x.ini")).read().lines, QStringList{text});
}

void SettingsFileTest::makesAnExistingFileOwnerOnly()
{
    // Every write leaves the file owner-only, also one that others could
    // read before (a password file from an older copy).
    TestFolder t;
    t.writeBytes("x.ini", "1\r\n");
    QFile::setPermissions(t.data("x.ini"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                              | QFileDevice::ReadOther);
    QVERIFY(!IsOwnerOnly(t.data("x.ini")));
    QVERIFY(SettingsFile(t.data("x.ini")).write({"0"}));
    QVERIFY(IsOwnerOnly(t.data("x.ini")));
    QCOMPARE(t.readBytes("x.ini"), QByteArray("0\r\n"));
}

void SettingsFileTest::oddFilesNeverCrash_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QByteArray binary;
    for (int i = 0; i < 4096; ++i)
        binary.append(char((i * 37) & 0xff));
    QTest::newRow("binary") << binary;
    QTest::newRow("nul bytes") << QByteArray("1\0\0\r\n2", 6);
    QTest::newRow("lone lead byte") << QByteArray("\xc4");
    QTest::newRow("invalid everywhere") << QByteArray("\xff\xfe\x80\x81\r\n");
}

void SettingsFileTest::oddFilesNeverCrash()
{
    QFETCH(QByteArray, bytes);
    TestFolder t;
    t.writeBytes("x.ini", bytes);
    const auto read = SettingsFile(t.data("x.ini")).read();
    QVERIFY(read.ok());
    // Reading never touches the file.
    QCOMPARE(t.readBytes("x.ini"), bytes);
}

void SettingsFileTest::hugeFileIsCappedAtWholeLines()
{
    TestFolder t;
    QByteArray bytes = "1\r\n906\r\n";
    while (bytes.size() < 3 * SettingsFile::kMaxReadBytes)
        bytes += QByteArray(1000, 'x') + "\r\n";
    t.writeBytes("x.ini", bytes);
    const auto read = SettingsFile(t.data("x.ini")).read();
    QVERIFY(read.ok());
    QVERIFY(read.truncated);
    QCOMPARE(read.lines.at(0), QString("1"));
    QCOMPARE(read.lines.at(1), QString("906"));
    qint64 total = 0;
    for (const QString& line : read.lines) {
        total += line.size() + 2;
        QVERIFY(line.size() == 1000 || line.size() <= 3);  // no cut-off line
    }
    QVERIFY(total <= SettingsFile::kMaxReadBytes);
}

void SettingsFileTest::unreadableFileIsReportedNotReplaced()
{
    TestFolder t;
    // A pipe where the file belongs: reading must neither hang nor succeed.
    QVERIFY(mkfifo(QFile::encodeName(t.data("x.ini")).constData(), 0600) == 0);
    const auto read = SettingsFile(t.data("x.ini")).read();
    QCOMPARE(read.status, SettingsFile::Status::Unreadable);
    QVERIFY(!read.error.isEmpty());
    if (geteuid() != 0) {
        t.writeBytes("y.ini", "7\r\n");
        QFile::setPermissions(t.data("y.ini"), QFileDevice::WriteOwner);
        QCOMPARE(SettingsFile(t.data("y.ini")).read().status, SettingsFile::Status::Unreadable);
    }
}

void SettingsFileTest::folderInsteadOfFile()
{
    TestFolder t;
    QDir().mkpath(t.data("x.ini"));
    const auto read = SettingsFile(t.data("x.ini")).read();
    QCOMPARE(read.status, SettingsFile::Status::Unreadable);
    QString error;
    QVERIFY(!SettingsFile(t.data("x.ini")).write({"1"}, &error));
    QVERIFY(!error.isEmpty());
    QVERIFY(QFileInfo(t.data("x.ini")).isDir());
}

void SettingsFileTest::missingFile()
{
    TestFolder t;
    const auto read = SettingsFile(t.data("none.ini")).read();
    QCOMPARE(read.status, SettingsFile::Status::Missing);
    QVERIFY(read.lines.isEmpty());
    // Writing creates the Data folder when it is missing.
    QDir(t.folder().dataFolder()).removeRecursively();
    QVERIFY(SettingsFile(t.data("new.ini")).write({"1"}));
    QCOMPARE(t.readBytes("new.ini"), QByteArray("1\r\n"));
}

void SettingsFileTest::readsUtf8FromAnotherEditor()
{
    TestFolder t;
    // Bytes that are no GBK (nor GB18030) are read as UTF-8, without the
    // byte order mark an editor may have put first.
    t.writeBytes("bom.ini",
                 "\xEF\xBB\xBF"
                 "1\r\n");
    QCOMPARE(SettingsFile(t.data("bom.ini")).read().lines, QStringList{QStringLiteral("1")});
    t.writeBytes("utf8.ini", QStringLiteral("€5").toUtf8());
    QCOMPARE(SettingsFile(t.data("utf8.ini")).read().lines, QStringList{QStringLiteral("€5")});
}

void SettingsFileTest::bytesLikeAByteOrderMarkAreGbk_data()
{
    // GBK text whose first bytes are EF BB BF, as a UTF-8 byte order mark.
    QTest::addColumn<QString>("text");
    QTest::newRow("锘俊abc") << QStringLiteral("锘俊abc");
    QTest::newRow("锘垮") << QStringLiteral("锘垮");
    QTest::newRow("锘縜, ASCII after") << QStringLiteral("锘縜1");
}

void SettingsFileTest::bytesLikeAByteOrderMarkAreGbk()
{
    QFETCH(QString, text);
    TestFolder t;
    QVERIFY(SettingsFile(t.data("x.ini")).write({text, "-1"}));
    QVERIFY(t.readBytes("x.ini").startsWith("\xEF\xBB\xBF"));
    QCOMPARE(SettingsFile(t.data("x.ini")).read().lines, (QStringList{text, "-1"}));
}

void SettingsFileTest::readOrCreateWritesOnlyAMissingFile()
{
    TestFolder t;
    const SettingsFile file(t.data("x.ini"));
    auto read = file.readOrCreate({"1", "默认"});
    QCOMPARE(read.status, SettingsFile::Status::Created);
    QVERIFY(read.ok());
    QVERIFY(read.error.isEmpty());
    QCOMPARE(read.lines, (QStringList{"1", "默认"}));
    QCOMPARE(t.readBytes("x.ini"), QByteArray("1\r\n\xc4\xac\xc8\xcf\r\n"));
    QVERIFY(IsOwnerOnly(t.data("x.ini")));
    // An existing file, even an empty one, is read and never replaced.
    t.writeBytes("x.ini", "");
    read = file.readOrCreate({"1"});
    QCOMPARE(read.status, SettingsFile::Status::Ok);
    QVERIFY(read.lines.isEmpty());
    QCOMPARE(t.readBytes("x.ini"), QByteArray());
    // Defaults that cannot be written are still handed back, with the reason.
    QDir().mkpath(t.data("ro"));
    QFile::setPermissions(t.data("ro"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (geteuid() != 0) {
        read = SettingsFile(t.data("ro/y.ini")).readOrCreate({"7"});
        QCOMPARE(read.status, SettingsFile::Status::Created);
        QCOMPARE(read.lines, QStringList{"7"});
        QVERIFY(read.error.contains(QStringLiteral("没有权限")));
    }
    QFile::setPermissions(t.data("ro"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void SettingsFileTest::writesThroughALinkToItsTarget()
{
    // A settings file kept elsewhere through a link stays there.
    TestFolder t;
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("kept.ini");
    QVERIFY(QFile::link(target, t.data("x.ini")));
    QVERIFY(SettingsFile(t.data("x.ini")).write({"0"}));
    QVERIFY(QFileInfo(t.data("x.ini")).isSymLink());
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("0\r\n"));
    QVERIFY(IsOwnerOnly(target));
}

void SettingsFileTest::failedWriteKeepsTheOldFile()
{
    TestFolder t;
    t.writeBytes("x.ini", "1\r\n906\r\n");
    SetWriteFailureForTests(ENOSPC);
    QString error;
    const bool written = SettingsFile(t.data("x.ini")).write({"2", "1000"}, &error);
    SetWriteFailureForTests(0);
    QVERIFY(!written);
    QCOMPARE(t.readBytes("x.ini"), QByteArray("1\r\n906\r\n"));
    QVERIFY2(error.startsWith(QStringLiteral("无法保存文件“%1”：磁盘已满。").arg(t.data("x.ini"))), qPrintable(error));
    QCOMPARE(QDir(t.folder().dataFolder()).entryList(QDir::Files | QDir::Hidden), QStringList{"x.ini"});
}

void SettingsFileTest::wholeNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "906" << true << 906;
    QTest::newRow("negative") << "-1200" << true << -1200;
    QTest::newRow("plus") << "+5" << true << 5;
    QTest::newRow("blanks") << " 99 " << true << 99;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("too big") << "2147483648" << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("letters") << "abc" << false << 0;
    QTest::newRow("decimal") << "1.5" << false << 0;
    QTest::newRow("trailing text") << "12px" << false << 0;
    QTest::newRow("hex") << "0x10" << false << 0;
}

void SettingsFileTest::wholeNumbers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    const auto parsed = ParseWholeNumber(text);
    QCOMPARE(parsed.has_value(), valid);
    if (valid)
        QCOMPARE(*parsed, value);
}

QTEST_GUILESS_MAIN(SettingsFileTest)
#include "SettingsFile_test.moc"
