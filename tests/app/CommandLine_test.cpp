#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, UnderstoodArguments)
{
    struct Case {
        QStringList args;
        QString folder;
        bool demo, help;
    };
    const Case cases[] = {
        {{}, {}, false, false},
        {{QStringLiteral("--folder"), QStringLiteral("/tmp/x")}, QStringLiteral("/tmp/x"), false, false},
        {{QStringLiteral("--folder=/tmp/y z")}, QStringLiteral("/tmp/y z"), false, false},
        {{QStringLiteral("--calendar-demo")}, {}, true, false},
        {{QStringLiteral("-h")}, {}, false, true},
        {{QStringLiteral("--folder"), QStringLiteral("a"), QStringLiteral("--help")}, QStringLiteral("a"), false, true},
    };
    for (const auto& c : cases) {
        const qn::CommandLine r = qn::ParseCommandLine(c.args);
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        EXPECT_TRUE(r.error.isEmpty());
        EXPECT_EQ(r.folder, c.folder);
        EXPECT_EQ(r.calendarDemo, c.demo);
        EXPECT_EQ(r.help, c.help);
    }
}

TEST(CommandLine, RefusedArguments)
{
    const QStringList cases[] = {
        {QStringLiteral("--folder")}, {QStringLiteral("--folder=")}, {QStringLiteral("--folder"), QString()},
        {QStringLiteral("--colour")}, {QStringLiteral("notes.txt")},
    };
    for (const auto& args : cases)
        EXPECT_FALSE(qn::ParseCommandLine(args).error.isEmpty()) << args.join(QLatin1Char(' ')).toStdString();
}

TEST(CommandLine, HelpNamesTheFolderOptionAndTheVirtualDisplay)
{
    EXPECT_TRUE(qn::HelpText().contains(QStringLiteral("--folder DIR")));
    EXPECT_TRUE(qn::NoDisplayText().contains(QStringLiteral("QT_QPA_PLATFORM=offscreen")));
    EXPECT_TRUE(qn::NoDisplayText().contains(QStringLiteral("xvfb-run")));
}

}  // namespace
