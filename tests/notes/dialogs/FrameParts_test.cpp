// Skin buttons and the moving and resizing of windows without a frame.

#include "notes/frame/BorderlessMove.h"
#include "notes/frame/MainSkin.h"
#include "notes/frame/SkinButton.h"
#include "notes/frame/SkinPictures.h"

#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>

using namespace qn;

Q_DECLARE_METATYPE(qn::SkinEvent)
Q_DECLARE_METATYPE(qn::SkinState)

namespace {

// Mouse events as the window system delivers them, with global positions.
void SendMouse(QWidget* target, QEvent::Type type, const QPoint& local, Qt::MouseButtons buttons)
{
    const QPointF global = target->mapToGlobal(QPointF(local));
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(local), global, button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

void SendGlobalMove(QWidget* target, const QPoint& global)
{
    QMouseEvent event(QEvent::MouseMove, target->mapFromGlobal(QPointF(global)), QPointF(global), Qt::NoButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &event);
}

int VisibleCount(const TSkinButton* button)
{
    int n = 0;
    for (SkinState s : {SkinState::Normal, SkinState::Highlight, SkinState::Down})
        n += button->picture(s)->isVisibleTo(const_cast<TSkinButton*>(button)) ? 1 : 0;
    return n;
}

}  // namespace

class FramePartsTest : public QObject {
    Q_OBJECT
private slots:
    void switchingTable_data();
    void switchingTable();
    void buttonsFollowTheMouse();
    void releaseOutsideDoesNotClick();
    void picturesHaveTheirSizes();
    void dragMovesTheWindowByHand();
    void captionButtonsStayAboveTheGrips();
    void buttonsTurnNormalWhenThePointerLeaves();
    void aClickOrDoubleClickStartsNoMove();
    void edgesResizeByHand_data();
    void edgesResizeByHand();
};

void FramePartsTest::switchingTable_data()
{
    QTest::addColumn<SkinEvent>("event");
    QTest::addColumn<SkinState>("close");
    QTest::addColumn<SkinState>("mini");
    using S = SkinState;
    QTest::newRow("over close normal") << SkinEvent::MoveOverCloseNormal << S::Highlight << S::Normal;
    QTest::newRow("press close highlight") << SkinEvent::PressCloseHighlight << S::Down << S::Normal;
    QTest::newRow("over mini normal") << SkinEvent::MoveOverMiniNormal << S::Normal << S::Highlight;
    QTest::newRow("press mini highlight") << SkinEvent::PressMiniHighlight << S::Normal << S::Down;
    QTest::newRow("over background") << SkinEvent::MoveOverBackground << S::Normal << S::Normal;
    QTest::newRow("minimise done") << SkinEvent::MinimiseDone << S::Normal << S::Normal;
}

void FramePartsTest::switchingTable()
{
    QFETCH(SkinEvent, event);
    QFETCH(SkinState, close);
    QFETCH(SkinState, mini);
    QCOMPARE(SkinStatesAfter(event), (CaptionSkinStates{close, mini}));

    // Applied to real buttons, from every starting state, exactly one picture
    // of each shows: the one the table names.
    for (SkinEvent before :
         {SkinEvent::PressCloseHighlight, SkinEvent::PressMiniHighlight, SkinEvent::MoveOverBackground}) {
        QWidget window;
        window.resize(906, 540);
        TCaptionButtons buttons(&window, TCaptionButtons::Buttons::CloseAndMinimise);
        buttons.apply(before);
        buttons.apply(event);
        QCOMPARE(buttons.closeButton()->state(), close);
        QCOMPARE(buttons.minimiseButton()->state(), mini);
        QCOMPARE(VisibleCount(buttons.closeButton()), 1);
        QCOMPARE(VisibleCount(buttons.minimiseButton()), 1);
        QVERIFY(buttons.closeButton()->picture(close)->isVisibleTo(buttons.closeButton()));
    }
}

void FramePartsTest::buttonsFollowTheMouse()
{
    QWidget window;
    window.resize(906, 540);
    auto* background = new QLabel(&window);
    background->setGeometry(window.rect());
    TCaptionButtons buttons(&window, TCaptionButtons::Buttons::CloseAndMinimise);
    buttons.watchBackground(background);
    QSignalSpy closeSpy(&buttons, &TCaptionButtons::closeClicked);
    QSignalSpy miniSpy(&buttons, &TCaptionButtons::minimiseClicked);
    window.show();

    TSkinButton* close = buttons.closeButton();
    TSkinButton* mini = buttons.minimiseButton();
    QCOMPARE(close->state(), SkinState::Normal);
    QCOMPARE(close->objectName(), QString("img_close"));
    QVERIFY(close->findChild<QLabel*>("img_close_highlight"));
    QVERIFY(mini->findChild<QLabel*>("img_mini_down"));
    // Anchored top right, the minimise button left of the close button.
    QCOMPARE(close->geometry().right(), window.width() - 2);
    QCOMPARE(mini->geometry().right() + 1, close->x());

    SendMouse(close, QEvent::MouseMove, {5, 5}, Qt::NoButton);
    QCOMPARE(close->state(), SkinState::Highlight);
    SendMouse(mini, QEvent::MouseMove, {5, 5}, Qt::NoButton);
    QCOMPARE(close->state(), SkinState::Normal);
    QCOMPARE(mini->state(), SkinState::Highlight);
    SendMouse(mini, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    QCOMPARE(mini->state(), SkinState::Down);
    SendMouse(mini, QEvent::MouseButtonRelease, {5, 5}, Qt::NoButton);
    QCOMPARE(miniSpy.size(), 1);
    SendMouse(background, QEvent::MouseMove, {400, 300}, Qt::NoButton);
    QCOMPARE(mini->state(), SkinState::Normal);

    QTest::mouseClick(close, Qt::LeftButton, {}, {10, 10});
    QCOMPARE(closeSpy.size(), 1);
    QCOMPARE(close->state(), SkinState::Down);

    window.resize(1200, 700);  // the buttons stay at the corner
    QCOMPARE(close->geometry().right(), 1200 - 2);
}

void FramePartsTest::releaseOutsideDoesNotClick()
{
    QWidget window;
    window.resize(400, 300);
    TCaptionButtons buttons(&window, TCaptionButtons::Buttons::CloseOnly);
    QVERIFY(!buttons.minimiseButton());
    QSignalSpy closeSpy(&buttons, &TCaptionButtons::closeClicked);
    window.show();
    SendMouse(buttons.closeButton(), QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
    SendMouse(buttons.closeButton(), QEvent::MouseButtonRelease, {-50, 40}, Qt::NoButton);
    QCOMPARE(closeSpy.size(), 0);
}

void FramePartsTest::picturesHaveTheirSizes()
{
    using skin::ButtonKind;
    for (SkinState s : {SkinState::Normal, SkinState::Highlight, SkinState::Down}) {
        QCOMPARE(skin::CaptionButton(ButtonKind::Close, s).size(), QSize(39, 20));
        QCOMPARE(skin::CaptionButton(ButtonKind::Minimise, s).size(), QSize(28, 20));
    }
    // The three looks of a button differ from each other.
    QVERIFY(skin::CaptionButton(ButtonKind::Close, SkinState::Normal).toImage()
            != skin::CaptionButton(ButtonKind::Close, SkinState::Highlight).toImage());
    QVERIFY(skin::CaptionButton(ButtonKind::Close, SkinState::Highlight).toImage()
            != skin::CaptionButton(ButtonKind::Close, SkinState::Down).toImage());
    QCOMPARE(skin::FloatingBadge().size(), QSize(50, 50));
    QCOMPARE(skin::AppToDesk().size(), QSize(84, 29));
    QCOMPARE(skin::LoginSide().size(), QSize(99, 120));
    QCOMPARE(skin::LoginHeader().size(), QSize(140, 35));
    // The lettered pictures come from the library's resources, which a
    // static library only carries when they are linked in right.
    QCOMPARE(skin::MainLogo().size(), QSize(210, 56));
    QCOMPARE(skin::FontIcon().size(), QSize(20, 17));
    QCOMPARE(skin::TimeIcon().size(), QSize(37, 21));
}

void FramePartsTest::dragMovesTheWindowByHand()
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 300, 200);
    auto* background = new QLabel(&window);
    background->setGeometry(window.rect());
    TBorderlessMover mover(&window);
    mover.addHandle(background);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    SendMouse(background, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton);
    // The offscreen platform has no window manager to do it.
    QVERIFY(!mover.lastPressUsedSystemMove());
    SendGlobalMove(background, QPoint(150 + 30, 150 + 40));
    QCOMPARE(window.pos(), QPoint(130, 140));
    SendGlobalMove(background, QPoint(150 - 60, 150 + 5));
    QCOMPARE(window.pos(), QPoint(40, 105));
    SendMouse(background, QEvent::MouseButtonRelease, background->mapFromGlobal(QPoint(90, 155)), Qt::NoButton);
    // After the release, moving the mouse no longer drags.
    SendGlobalMove(background, QPoint(500, 500));
    QCOMPARE(window.pos(), QPoint(40, 105));
}

void FramePartsTest::captionButtonsStayAboveTheGrips()
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.resize(906, 540);
    TCaptionButtons buttons(&window, TCaptionButtons::Buttons::CloseAndMinimise);
    TBorderlessResizer resizer(&window);
    window.show();
    window.resize(1000, 600);
    for (TSkinButton* button : {buttons.closeButton(), buttons.minimiseButton()}) {
        const QPoint topEdge = button->geometry().topLeft() + QPoint(button->width() / 2, 1);
        QCOMPARE(window.childAt(topEdge), button);
    }
    // Elsewhere along the top edge the grip is on top.
    QCOMPARE(window.childAt(QPoint(300, 1)), resizer.grip(Qt::TopEdge));
}

void FramePartsTest::buttonsTurnNormalWhenThePointerLeaves()
{
    QWidget window;
    window.resize(906, 540);
    TCaptionButtons buttons(&window, TCaptionButtons::Buttons::CloseAndMinimise);
    window.show();
    for (TSkinButton* button : {buttons.closeButton(), buttons.minimiseButton()}) {
        SendMouse(button, QEvent::MouseMove, {5, 5}, Qt::NoButton);
        QCOMPARE(button->state(), SkinState::Highlight);
        // The pointer leaves the window over the button: no move over the
        // background follows.
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(button, &leave);
        QCOMPARE(button->state(), SkinState::Normal);

        // Pressed, then released away from it: no click, normal again.
        SendMouse(button, QEvent::MouseButtonPress, {5, 5}, Qt::LeftButton);
        QCOMPARE(button->state(), SkinState::Down);
        QCoreApplication::sendEvent(button, &leave);  // held: stays down
        QCOMPARE(button->state(), SkinState::Down);
        SendMouse(button, QEvent::MouseButtonRelease, {-50, 40}, Qt::NoButton);
        QCOMPARE(button->state(), SkinState::Normal);
    }
}

void FramePartsTest::aClickOrDoubleClickStartsNoMove()
{
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setGeometry(100, 100, 300, 200);
    auto* background = new QLabel(&window);
    background->setGeometry(window.rect());
    TBorderlessMover mover(&window);
    mover.addHandle(background);
    int doubleClicks = 0;
    struct DoubleClickCounter : QObject {
        int* count;
        explicit DoubleClickCounter(int* c) : count(c) { }
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::MouseButtonDblClick)
                ++*count;
            return false;
        }
    } counter(&doubleClicks);
    background->installEventFilter(&counter);  // after the mover: runs first
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // A hand that shakes a little while clicking moves nothing.
    SendMouse(background, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton);
    QVERIFY(!mover.moving());
    SendGlobalMove(background, QPoint(150 + 2, 150 + 1));
    QVERIFY(!mover.moving());
    QCOMPARE(window.pos(), QPoint(100, 100));
    SendMouse(background, QEvent::MouseButtonRelease, {52, 51}, Qt::NoButton);
    QTest::mouseDClick(background, Qt::LeftButton, {}, {52, 51});
    QCOMPARE(doubleClicks, 1);
    QCOMPARE(window.pos(), QPoint(100, 100));

    // Past the drag distance the move starts, from where the press was.
    SendMouse(background, QEvent::MouseButtonPress, {50, 50}, Qt::LeftButton);
    SendGlobalMove(background, QPoint(150 + 20, 150));
    QVERIFY(mover.moving());
    QCOMPARE(window.pos(), QPoint(120, 100));
    SendMouse(background, QEvent::MouseButtonRelease, background->mapFromGlobal(QPoint(170, 150)), Qt::NoButton);
    QVERIFY(!mover.moving());
}

void FramePartsTest::edgesResizeByHand_data()
{
    QTest::addColumn<int>("edges");
    QTest::addColumn<QPoint>("delta");
    QTest::addColumn<QRect>("expected");
    const QRect start(100, 100, 950, 600);
    QTest::newRow("right wider") << int(Qt::RightEdge) << QPoint(50, 0) << QRect(100, 100, 1000, 600);
    QTest::newRow("bottom taller") << int(Qt::BottomEdge) << QPoint(0, 30) << QRect(100, 100, 950, 630);
    QTest::newRow("left narrower keeps the right edge")
        << int(Qt::LeftEdge) << QPoint(20, 0) << QRect(120, 100, 930, 600);
    QTest::newRow("left stops at the minimum") << int(Qt::LeftEdge) << QPoint(200, 0) << QRect(144, 100, 906, 600);
    QTest::newRow("top stops at the minimum") << int(Qt::TopEdge) << QPoint(0, 500) << QRect(100, 160, 950, 540);
    QTest::newRow("corner") << int(Qt::LeftEdge | Qt::TopEdge) << QPoint(-10, -20) << QRect(90, 80, 960, 620);
}

void FramePartsTest::edgesResizeByHand()
{
    QFETCH(int, edges);
    QFETCH(QPoint, delta);
    QFETCH(QRect, expected);
    const QRect start(100, 100, 950, 600);
    QCOMPARE(TBorderlessResizer::Resized(start, Qt::Edges(edges), delta, QSize(906, 540),
                                         QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)),
             expected);

    // The same through the grips of a real window.
    QWidget window(nullptr, Qt::FramelessWindowHint);
    window.setMinimumSize(906, 540);
    window.setGeometry(start);
    TBorderlessResizer resizer(&window);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QWidget* grip = resizer.grip(Qt::Edges(edges));
    QVERIFY(grip);
    const QPoint pressGlobal = grip->mapToGlobal(QPoint(1, 1));
    SendMouse(grip, QEvent::MouseButtonPress, {1, 1}, Qt::LeftButton);
    SendGlobalMove(grip, pressGlobal + delta);
    SendMouse(grip, QEvent::MouseButtonRelease, grip->mapFromGlobal(pressGlobal + delta), Qt::NoButton);
    QCOMPARE(window.geometry(), expected);
}

QTEST_MAIN(FramePartsTest)
#include "FrameParts_test.moc"
