#include "app/SingleInstance.h"
#include "core/ProgramFolder.h"

#include <QCoreApplication>
#include <QFile>
#include <QLockFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

TEST(SingleInstance, SecondStartIsRefusedAndWakesTheFirst)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    ASSERT_TRUE(folder.ensureDataFolder());

    qn::SingleInstance first(folder);
    ASSERT_TRUE(first.acquire());
    QSignalSpy activations(&first, &qn::SingleInstance::activationRequested);

    qn::SingleInstance second(folder);
    EXPECT_FALSE(second.acquire());
    EXPECT_TRUE(second.alreadyRunningReached());
    EXPECT_TRUE(activations.wait(3000));
}

TEST(SingleInstance, OtherFoldersAreIndependent)
{
    QTemporaryDir a, b;
    const qn::ProgramFolder fa(a.path()), fb(b.path());
    ASSERT_TRUE(fa.ensureDataFolder());
    ASSERT_TRUE(fb.ensureDataFolder());
    qn::SingleInstance first(fa), second(fb);
    EXPECT_TRUE(first.acquire());
    EXPECT_TRUE(second.acquire());
    EXPECT_NE(qn::SingleInstance::ServerName(fa), qn::SingleInstance::ServerName(fb));
}

TEST(SingleInstance, LockOfAProcessThatDiedDoesNotBlock)
{
    QTemporaryDir dir;
    const qn::ProgramFolder folder(dir.path());
    ASSERT_TRUE(folder.ensureDataFolder());

    // A notebook that took the folder and was killed: its lock file stays.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        QLockFile lock(folder.dataFile(QStringLiteral(".qnweeknote.lock")));
        lock.setStaleLockTime(0);
        // _exit runs no destructor: the lock file is left behind, as by a kill.
        _exit(lock.tryLock(0) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    ASSERT_TRUE(QFile::exists(folder.dataFile(QStringLiteral(".qnweeknote.lock"))));

    qn::SingleInstance instance(folder);
    EXPECT_TRUE(instance.acquire());
}

}  // namespace
