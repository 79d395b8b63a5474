#include "notes/frame/PageViewer.h"
#include "notes/frame/WebPanel.h"
#include "tests/support/BoardFixture.h"

#include <QAction>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QMenu>

namespace {

class BoardTest : public BoardFixture { };

struct Arrangement {
    int windowWidth, windowHeight;
    int line1, line2, title2Y, narrowWidth, upperH, lowerH;
};

TEST_F(BoardTest, ArrangeBoxesSplitsThePanelIntoThreeColumnsAndTwoRows)
{
    Open(qn::EncodeDate(2010, 6, 1));
    // pnlRight is the window less 319 × 85; lines at (W-4)/3+1 and 2((W-4)/3)+2,
    // the lower header at (H-50)/2+18, boxes (W-5)/3 wide, the third 4 less.
    const Arrangement cases[] = {
        {913, 540, 197, 394, 220, 196, 194, 204},
        {906, 540, 195, 390, 220, 194, 194, 204},
        {1200, 800, 293, 586, 350, 292, 324, 334},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.windowWidth);
        window->resize(c.windowWidth, c.windowHeight);
        QApplication::processEvents();
        auto* panel = Find<QWidget>("pnlRight");
        ASSERT_EQ(panel->size(), QSize(c.windowWidth - 319, c.windowHeight - 85));
        const int line0 = Find<QFrame>("pnl_yearLine0")->x();
        EXPECT_EQ(line0, 2);
        EXPECT_EQ(Find<QFrame>("pnl_yearLine1")->x(), c.line1);
        EXPECT_EQ(Find<QFrame>("pnl_yearLine2")->x(), c.line2);
        EXPECT_EQ(Find<QLabel>("imgtitle_year2")->y(), c.title2Y);
        const int lefts[3] = {line0, c.line1, c.line2};
        for (int n = 1; n <= 6; ++n) {
            const int column = (n - 1) % 3;
            const QRect r = Box(n)->geometry();
            EXPECT_EQ(r.x(), lefts[column] + 1) << n;
            EXPECT_EQ(r.width(), column < 2 ? c.narrowWidth : c.narrowWidth - 4) << n;
            EXPECT_EQ(r.y(), n <= 3 ? 26 : c.title2Y + 26) << n;
            EXPECT_EQ(r.height(), n <= 3 ? c.upperH : c.lowerH) << n;
        }
        EXPECT_EQ(Find<QLabel>("lblweek5")->pos(), QPoint(c.line1 + 10, c.title2Y + 8));
        EXPECT_EQ(Find<QLabel>("lblweek1")->pos(), QPoint(12, 7));
    }
}

TEST_F(BoardTest, TheStripMarksTheSelectedDaysBoxAndFollowsResizes)
{
    Open(qn::EncodeDate(2010, 6, 1));  // a Tuesday
    auto* strip = Find<QLabel>("imgSelColor");
    const auto line = [this](const char* name) { return Find<QFrame>(name)->x(); };
    ASSERT_TRUE(strip->isVisible());
    EXPECT_EQ(strip->geometry(),
              QRect(line("pnl_yearLine1") + 1, 0, line("pnl_yearLine2") - line("pnl_yearLine1") - 2, 26));

    // Saturday and Sunday mark the same box.
    for (int day : {5, 6}) {
        window->calendar()->SetDateTime(qn::EncodeDate(2010, 6, day));
        const int title2 = Find<QLabel>("imgtitle_year2")->y();
        EXPECT_EQ(strip->geometry(),
                  QRect(line("pnl_yearLine2") + 1, title2, line("pnl_yearLineREdge") - line("pnl_yearLine2") - 2, 26))
            << day;
    }
    window->resize(1200, 800);
    QApplication::processEvents();
    EXPECT_EQ(strip->y(), Find<QLabel>("imgtitle_year2")->y());
    EXPECT_EQ(strip->x(), line("pnl_yearLine2") + 1);
    EXPECT_EQ(strip->width(), line("pnl_yearLineREdge") - line("pnl_yearLine2") - 2);
}

TEST_F(BoardTest, MenusHoldTheirEntriesInOrder)
{
    Open(qn::EncodeDate(2010, 6, 1));
    QStringList names, captions;
    for (QAction* a : window->settingsMenu()->actions()) {
        names << a->objectName();
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    // The entries on all of the notes follow the week's own export.
    EXPECT_EQ(
        names,
        (QStringList{"N_DataOut", "N_Search", "N_ExportNotes", "N_Restore", "N_BgTransparent", "N8", "N7", "N_help",
                     "N_Submit", "N_HolidaySeparator", "N_UpdateHolidays", "N_AutoUpdateHolidays", "N4", "N_ExitPrj"}));
    EXPECT_EQ(captions,
              (QStringList{"内   容   导   出", "搜索笔记", "导出笔记", "恢复备份", "背景透明度调节", "-", "登陆密码",
                           "帮助说明", "意见反馈", "-", "更新法定节假日", "每周自动更新节假日", "-", "退出程序"}));

    names.clear();
    for (QAction* a : window->boxMenu()->actions())
        names << a->objectName();
    EXPECT_EQ(names, (QStringList{"N1", "N2", "N9", "N3", "N6", "V1", "X1", "N5", "CtrlZ1", "N10"}));
    EXPECT_EQ(Find<QLabel>("lblSet")->text(), QStringLiteral("|  选项"));
}

TEST_F(BoardTest, ExitFromTheMenuEndsWithoutStoringTheGeometry)
{
    Open(qn::EncodeDate(2010, 6, 1));
    int terminations = 0;
    window->requestTermination = [&] { ++terminations; };
    const QString ini = folder.dataFile(QStringLiteral("FormSize.ini"));
    QFile f(ini);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray before = f.readAll();
    f.close();
    window->move(window->x() + 40, window->y() + 30);
    window->resize(1000, 600);
    window->findChild<QAction*>(QStringLiteral("N_ExitPrj"))->trigger();
    EXPECT_EQ(terminations, 1);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
    f.close();

    // The close button stores it.
    window->img_close_highlightClick();
    EXPECT_EQ(terminations, 2);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[1].trimmed(), "1000");
    EXPECT_EQ(lines[2].trimmed(), "600");
}

}  // namespace

namespace {

QStringList& ShownMessages()
{
    static QStringList messages;
    return messages;
}

TEST_F(BoardTest, HelpShowsInsideAndFeedbackIsNamedWhenNoProgramOpensThem)
{
    Open(qn::EncodeDate(2010, 6, 1));
    ShownMessages().clear();
    qn::SetMessageSink([](const QString&, const QString& text) { ShownMessages().append(text); });
    QList<QUrl> tried;
    qn::SetUrlOpener([&](const QUrl& url, std::function<void()> failed) {
        tried.append(url);
        failed();
    });
    window->findChild<QAction*>(QStringLiteral("N_help"))->trigger();
    window->findChild<QAction*>(QStringLiteral("N_Submit"))->trigger();
    qn::SetUrlOpener({});

    ASSERT_EQ(tried.size(), 2);
    auto* viewer = window->findChild<qn::TPageViewer*>();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->view()->currentUrl(), tried[0]);
    EXPECT_TRUE(tried[0].path().endsWith(QStringLiteral("/help4/qn1.htm")));
    ASSERT_EQ(ShownMessages().size(), 1);
    EXPECT_TRUE(ShownMessages()[0].contains(QStringLiteral("help4") + QDir::separator() + QStringLiteral("qn2.htm")))
        << ShownMessages()[0].toStdString();

    // A desktop that opens the pages: no window and no message of ours.
    viewer->hide();
    qn::SetUrlOpener([](const QUrl&, std::function<void()>) {});
    window->findChild<QAction*>(QStringLiteral("N_help"))->trigger();
    window->findChild<QAction*>(QStringLiteral("N_Submit"))->trigger();
    qn::SetUrlOpener({});
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(ShownMessages().size(), 1);
}

}  // namespace
