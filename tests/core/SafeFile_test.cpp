// The one writer of every file the notebook writes, and the wording of file
// failures.

#include "core/Messages.h"
#include "core/SafeFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>

#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace qn;

Q_DECLARE_METATYPE(qn::LinkHandling)

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

mode_t ModeOf(const QString& path)
{
    struct stat st { };
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Everything in the folder, hidden files too.
QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

}  // namespace

class SafeFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesTheBytesOwnerOnlyEveryTime();
    void symbolicLinks_data();
    void symbolicLinks();
    void failuresKeepTheOldFile_data();
    void failuresKeepTheOldFile();
    void readingIsBoundedAndNeverWaits();
    void wordingOfTheCommonCauses_data();
    void wordingOfTheCommonCauses();
    void questionsGoToTheSink();
};

void SafeFileTest::writesTheBytesOwnerOnlyEveryTime()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.txt");
    const mode_t oldMask = ::umask(0);  // a careless umask changes nothing
    QVERIFY(!WriteFileSafely(path, "first"));
    ::umask(oldMask);
    QCOMPARE(ReadAll(path), QByteArray("first"));
    QCOMPARE(ModeOf(path), mode_t(0600));
    QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
    QVERIFY(!WriteFileSafely(path, QByteArray()));
    QCOMPARE(ReadAll(path), QByteArray());
    QCOMPARE(ModeOf(path), mode_t(0600));
    QCOMPARE(Entries(dir.path()), QStringList{"a.txt"});
}

void SafeFileTest::symbolicLinks_data()
{
    QTest::addColumn<LinkHandling>("handling");
    QTest::addColumn<bool>("dangling");
    QTest::addColumn<bool>("linkStays");
    QTest::newRow("settings: write the target") << LinkHandling::WriteTarget << false << true;
    QTest::newRow("settings: dangling link creates the target") << LinkHandling::WriteTarget << true << true;
    QTest::newRow("export: replace the link") << LinkHandling::ReplaceLink << false << false;
    QTest::newRow("export: replace a dangling link") << LinkHandling::ReplaceLink << true << false;
}

void SafeFileTest::symbolicLinks()
{
    QFETCH(LinkHandling, handling);
    QFETCH(bool, dangling);
    QFETCH(bool, linkStays);
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    const QString target = elsewhere.filePath("precious");
    if (!dangling) {
        WriteAll(target, "do not touch");
        QVERIFY(::chmod(QFile::encodeName(target).constData(), 0644) == 0);
    }
    const QString link = dir.filePath("week.txt");
    QVERIFY(QFile::link(target, link));

    QVERIFY(!WriteFileSafely(link, "new", handling));

    QCOMPARE(QFileInfo(link).isSymLink(), linkStays);
    QCOMPARE(ReadAll(link), QByteArray("new"));
    QCOMPARE(ModeOf(link), mode_t(0600));
    if (linkStays) {
        QCOMPARE(ReadAll(target), QByteArray("new"));
    } else {
        QCOMPARE(ReadAll(target), dangling ? QByteArray("<missing>") : QByteArray("do not touch"));
        if (!dangling)
            QCOMPARE(ModeOf(target), mode_t(0644));
    }
    QCOMPARE(Entries(dir.path()), QStringList{"week.txt"});
}

void SafeFileTest::failuresKeepTheOldFile_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("reason");
    QTest::newRow("disk full") << "full" << QStringLiteral("磁盘已满");
    QTest::newRow("no such folder") << "nofolder" << QStringLiteral("文件夹不存在");
    QTest::newRow("a folder in the way") << "folder" << QStringLiteral("这是一个文件夹，不是文件");
    QTest::newRow("a pipe in the way") << "pipe" << QStringLiteral("这不是普通文件");
    QTest::newRow("no permission") << "readonly" << QStringLiteral("没有权限");
    QTest::newRow("read-only disk") << "rodisk" << QStringLiteral("磁盘是只读的");
}

void SafeFileTest::failuresKeepTheOldFile()
{
    QFETCH(QString, situation);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QString path = dir.filePath("a.txt");
    QString mounted;
    WriteAll(path, "old");
    if (situation == "full") {
        SetWriteFailureForTests(ENOSPC);
    } else if (situation == "nofolder") {
        path = dir.filePath("missing/a.txt");
    } else if (situation == "folder") {
        path = dir.filePath("sub");
        QVERIFY(QDir().mkpath(path));
    } else if (situation == "pipe") {
        path = dir.filePath("fifo");
        QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    } else if (situation == "readonly") {
        if (::geteuid() == 0)
            QSKIP("the administrator may write anywhere");
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0500) == 0);
    } else if (situation == "rodisk") {
        mounted = dir.filePath("ro");
        QVERIFY(QDir().mkpath(mounted));
        if (::mount("tmpfs", QFile::encodeName(mounted).constData(), "tmpfs", MS_RDONLY, "size=16k") != 0)
            QSKIP("mounting a read-only disk is not allowed here");
        path = mounted + "/a.txt";
    }
    const QStringList before = Entries(dir.path());

    const std::optional<FileError> error = WriteFileSafely(path, QByteArray(10000, 'n'));
    SetWriteFailureForTests(0);
    if (!mounted.isEmpty())
        ::umount2(QFile::encodeName(mounted).constData(), MNT_DETACH);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0700);

    QVERIFY(error.has_value());
    QCOMPARE(error->action, FileAction::Write);
    QCOMPARE(error->reason, reason);
    const QString message = error->message();
    const QString firstLine = message.section('\n', 0, 0);
    QCOMPARE(firstLine, QStringLiteral("无法保存文件“%1”：%2。").arg(QDir::toNativeSeparators(path), reason));
    // The system's own text comes only as a detail, on its own line.
    if (error->systemError != 0)
        QVERIFY2(message.section('\n', 1).startsWith(QStringLiteral("（系统信息：")), qPrintable(message));
    QCOMPARE(ReadAll(dir.filePath("a.txt")), QByteArray("old"));
    QCOMPARE(Entries(dir.path()), before);
}

void SafeFileTest::readingIsBoundedAndNeverWaits()
{
    QTemporaryDir dir;
    WriteAll(dir.filePath("big"), QByteArray(5000, 'b'));
    FileRead read = ReadFileBounded(dir.filePath("big"), 4096);
    QVERIFY(read.ok());
    QVERIFY(read.truncated);
    QCOMPARE(read.bytes.size(), 4096);
    read = ReadFileBounded(dir.filePath("big"), 5000);
    QVERIFY(!read.truncated);
    QCOMPARE(read.bytes, QByteArray(5000, 'b'));

    QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600) == 0);
    read = ReadFileBounded(dir.filePath("fifo"), 100);
    QVERIFY(!read.ok());
    QCOMPARE(read.error->reason, QStringLiteral("这不是普通文件"));
    read = ReadFileBounded(dir.path(), 100);
    QCOMPARE(read.error->reason, QStringLiteral("这是一个文件夹，不是文件"));
    read = ReadFileBounded(dir.filePath("none"), 100);
    QCOMPARE(read.error->reason, QStringLiteral("文件夹不存在"));
    QVERIFY(read.error->message().startsWith(QStringLiteral("无法读取文件")));
}

void SafeFileTest::wordingOfTheCommonCauses_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("reason");
    QTest::newRow("EACCES") << EACCES << QStringLiteral("没有权限");
    QTest::newRow("EPERM") << EPERM << QStringLiteral("没有权限");
    QTest::newRow("EROFS") << EROFS << QStringLiteral("磁盘是只读的");
    QTest::newRow("ENOENT") << ENOENT << QStringLiteral("文件夹不存在");
    QTest::newRow("ENOTDIR") << ENOTDIR << QStringLiteral("文件夹不存在");
    QTest::newRow("ENOSPC") << ENOSPC << QStringLiteral("磁盘已满");
    QTest::newRow("EDQUOT") << EDQUOT << QStringLiteral("磁盘已满");
    QTest::newRow("EISDIR") << EISDIR << QStringLiteral("这是一个文件夹，不是文件");
    QTest::newRow("ENAMETOOLONG") << ENAMETOOLONG << QStringLiteral("文件名太长");
    QTest::newRow("EIO") << EIO << QStringLiteral("系统错误");
}

void SafeFileTest::wordingOfTheCommonCauses()
{
    QFETCH(int, code);
    QFETCH(QString, reason);
    QCOMPARE(FileErrorReason(code), reason);
    const FileError error = FileError::FromSystem(FileAction::Read, "/x/y.ini", code);
    QCOMPARE(error.message().section('\n', 0, 0), QStringLiteral("无法读取文件“/x/y.ini”：%1。").arg(reason));
}

void SafeFileTest::questionsGoToTheSink()
{
    static QStringList asked;
    asked.clear();
    SetMessageSink([](const QString& caption, const QString& text) { asked << caption + "|" + text; });
    QVERIFY(!AskYesNo(nullptr, "标题", "替换吗？"));  // no answer set: No
    SetQuestionSink([](const QString&, const QString&) { return true; });
    QVERIFY(AskYesNo(nullptr, "标题", "再问"));
    SetQuestionSink(nullptr);
    SetMessageSink(nullptr);
    QCOMPARE(asked, (QStringList{"标题|替换吗？", "标题|再问"}));
}

QTEST_GUILESS_MAIN(SafeFileTest)
#include "SafeFile_test.moc"
