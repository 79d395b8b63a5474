#include "app/CommandLine.h"
#include "core/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

TEST(ProgramFolder, ChoosesTheExecutablesFolderOnlyWhenNotesCanBeKeptThere)
{
    struct Case {
        const char* executable;
        bool writable;
        const char* userData;
        const char* expected;
    };
    const Case cases[] = {
        {"/home/ann/qn", true, "/home/ann/.local/share/qnweeknote", "/home/ann/qn/"},
        {"/usr/bin", false, "/home/ann/.local/share/qnweeknote", "/home/ann/.local/share/qnweeknote/"},
        // No home to fall back to: the executable's folder, which then fails loudly.
        {"/usr/bin", false, "", "/usr/bin/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.executable);
        const qn::ProgramFolder folder =
            qn::ProgramFolder::Choose(QString::fromUtf8(c.executable), c.writable, QString::fromUtf8(c.userData));
        EXPECT_EQ(folder.root(), QString::fromUtf8(c.expected));
        EXPECT_EQ(folder.dataFolder(), QString::fromUtf8(c.expected) + QStringLiteral("Data/"));
    }
}

TEST(ProgramFolder, NotesCanBeKeptInAWritableFolderButNeverUnderUsr)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_TRUE(qn::ProgramFolder::CanKeepNotesIn(dir.path()));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Data")));
    EXPECT_TRUE(qn::ProgramFolder::CanKeepNotesIn(dir.path()));

    // Even for the administrator, who may write there.
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(QStringLiteral("/usr/bin")));
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(QStringLiteral("/usr/local/bin/../bin")));
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(dir.path() + QStringLiteral("/missing")));
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(QString()));
}

TEST(ProgramFolder, ADataEntryThatIsNoFolderKeepsNotesAway)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile data(dir.filePath(QStringLiteral("Data")));
    ASSERT_TRUE(data.open(QIODevice::WriteOnly));
    data.close();
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(dir.path()));
}

TEST(ProgramFolder, AReadOnlyDataFolderKeepsNotesAway)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the administrator writes read-only folders; checked as another user end to end";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString data = dir.filePath(QStringLiteral("Data"));
    ASSERT_TRUE(QDir().mkdir(data));
    ASSERT_TRUE(QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    EXPECT_FALSE(qn::ProgramFolder::CanKeepNotesIn(dir.path()));
    QFile::setPermissions(data, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(ProgramFolder, HelpTellsTheFolderInUse)
{
    const QString help = qn::HelpText(QStringLiteral("/home/ann/.local/share/qnweeknote/"));
    EXPECT_TRUE(help.contains(QStringLiteral("(program folder in use): /home/ann/.local/share/qnweeknote/\n")));
    EXPECT_TRUE(help.contains(QStringLiteral("(notes are kept in): /home/ann/.local/share/qnweeknote/Data/\n")));
    EXPECT_FALSE(qn::HelpText().contains(QStringLiteral("in use")));
}

}  // namespace
