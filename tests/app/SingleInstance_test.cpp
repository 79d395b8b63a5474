#include "ProgramFolder.h"
#include "SingleInstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>

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

    // A lock file left behind by a process that no longer runs.
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"));
    ASSERT_TRUE(gone.waitForFinished());
    QFile lock(folder.dataFile(QStringLiteral(".qnweeknote.lock")));
    ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
    lock.write(QByteArray::number(gone.processId()) + "\n" + QCoreApplication::applicationName().toUtf8() + "\n" +
               QSysInfo::machineHostName().toUtf8() + "\n");
    lock.close();

    qn::SingleInstance instance(folder);
    EXPECT_TRUE(instance.acquire());
}

}  // namespace
