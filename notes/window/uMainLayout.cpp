// The main window's pieces and their places: the top bar with the toolbar,
// the left panel with the calendar and the web panel, the week board's place
// on every resize, and the settings menu.

#include "calendar/DateValue.h"
#include "calendar_control/CalendarColors.h"
#include "calendar_control/ChnCalendar.h"
#include "core/uGlobal.h"
#include "notes/frame/ClickLabel.h"
#include "notes/frame/MainSkin.h"
#include "notes/frame/WebPanel.h"
#include "notes/frame/WidgetParts.h"
#include "notes/window/uMain.h"

#include <QApplication>
#include <QFrame>
#include <QMenu>
#include <QResizeEvent>
#include <QTextEdit>
#include <QToolButton>

namespace {

using qn::ControlFont;
using qn::PixelFont;

constexpr TColor kFrameBlue = 0xF3E3D8;  // the window's frame and the left panel's ground

}  // namespace

void TMainFrm::BuildTopBar()
{
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    shpBG = new QFrame(this);
    shpBG->setObjectName(QStringLiteral("shpBG"));
    shpBG->setStyleSheet(QStringLiteral("QFrame#shpBG { border: 1px solid %1; background: white; }")
                             .arg(ColorFromBgr(kFrameBlue).name()));

    imgBG = new QLabel(this);
    imgBG->setObjectName(QStringLiteral("imgBG"));
    // The band at the top, as wide as the window (PlaceAnchored); the label
    // covers the whole window, where dragging moves it.
    imgBG->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    imgLogo = new QLabel(this);
    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setPixmap(qn::skin::MainLogo());
    imgLogo->setGeometry(55, 11, 210, 56);

    lblDateTime = new QLabel(this);
    lblDateTime->setObjectName(QStringLiteral("lblDateTime"));
    lblDateTime->setFont(ControlFont(QStringLiteral("微软雅黑"), 12, true));
    lblDateTime->setStyleSheet(
        QStringLiteral("color: %1; background: transparent;").arg(ColorFromBgr(0x000080).name()));
    lblDateTime->move(343, 19);

    lblSet = new TClickLabel(QStringLiteral("|  选项"), this);
    lblSet->setObjectName(QStringLiteral("lblSet"));
    lblSet->setFont(ControlFont(QStringLiteral("宋体"), 12));
    lblSet->setCursor(Qt::PointingHandCursor);
    lblSet->adjustSize();
    connect(lblSet, &TClickLabel::clicked, this, &TMainFrm::lblSetClick);

    // The toolbar never takes the focus, so its commands reach the focused box.
    auto picture = [this](const char* name, const QPixmap& pixmap, const QPoint& at, const QString& hint) {
        auto* label = new TClickLabel(this);
        label->setObjectName(QLatin1String(name));
        label->setPixmap(pixmap);
        label->setGeometry(QRect(at, pixmap.size()));
        label->setCursor(Qt::PointingHandCursor);
        label->setToolTip(hint);
        label->setFocusPolicy(Qt::NoFocus);
        return label;
    };
    imgFont = picture("imgFont", qn::skin::FontIcon(), {317, 58}, QStringLiteral("字体大小设置"));
    imgDate = picture("imgDate", qn::skin::TimeIcon(), {395, 54}, QStringLiteral("插入时间"));
    imgRedColor = picture("imgRedColor", qn::skin::ColorIcon(), {441, 61}, QStringLiteral("字体颜色"));
    connect(imgFont, &TClickLabel::clicked, this, &TMainFrm::imgFontClick);
    connect(imgDate, &TClickLabel::clicked, this, &TMainFrm::imgDateClick);
    connect(imgRedColor, &TClickLabel::clicked, this, &TMainFrm::imgRedColorClick);

    auto flatButton = [this](const char* name, const QString& caption, int pixels, const QPoint& at) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(caption);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setFont(ControlFont(QStringLiteral("Arial Black"), pixels, true));
        button->setGeometry(QRect(at, QSize(23, 22)));
        return button;
    };
    btnGou = flatButton("btnGou", QStringLiteral("√"), 14, {341, 55});
    btnX = flatButton("btnX", QStringLiteral("X"), 12, {365, 55});
    connect(btnGou, &QToolButton::clicked, this, &TMainFrm::btnGouClick);
    connect(btnX, &QToolButton::clicked, this, &TMainFrm::btnXClick);
}

void TMainFrm::BuildLeftPanel()
{
    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setGeometry(2, 80, 311, 441);

    shpLeft = new QFrame(pnlLeft);
    shpLeft->setObjectName(QStringLiteral("shpLeft"));
    shpLeft->setStyleSheet(QStringLiteral("QFrame#shpLeft { background: %1; border: 1px solid %1; }")
                               .arg(ColorFromBgr(kFrameBlue).name()));
    shpLeft->setGeometry(0, 253 + 70, 311, 441 - 253 - 70);

    chnRili = new TChnCalendar(pnlLeft, m_now);
    chnRili->setObjectName(QStringLiteral("chnRili"));
    chnRili->setGeometry(0, 0, 311, 253);
    ConfigureCalendar();
    connect(chnRili, &TChnCalendar::OnChange, this, &TMainFrm::chnRiliChange);

    webLink = new qn::TWebPanel(m_folder, pnlLeft);
    webLink->move(2, 253);
}

void TMainFrm::ConfigureCalendar()
{
    TChnCalendar& c = *chnRili;
    c.SetShowTitle(true);
    c.SetShowWeekNum(false);
    c.SetShowFrame(true);
    c.SetShowWeekNumLine(true);
    c.SetHideSelection(false);
    c.SetFontDate({PixelFont(QStringLiteral("黑体"), 12, true), BgrFromColor(palette().color(QPalette::WindowText))});
    QFont cnFont = PixelFont(QStringLiteral("宋体"), 12);
    c.SetFontCnDate({cnFont, 0xEEEEEE});
    c.SetColorTitleWeekLine(0xC5C5C5);
    c.SetColorTitleWeekEnd(0x0000FF);
    c.SetColorTitleWeek(0x4F4F4F);
    c.SetColorCnDate(0x008000);
    c.SetColorDate(0x4F4F4F);
    c.SetColorHoliday(0x0080FF);
    c.SetColorLunarHolDay(0xFF5353);
    c.SetColorCnHolDay(0x0080FF);
    c.SetColorSelectedStart(0x53AE00);
    c.SetColorSelectedEnd(0x65D500);
    c.SetColorSelectedFrame(0x469300);
    c.SetColorWeekNum(0x808080);
    c.SetColorShowFrame(0x808080);
    c.SetColorBackYear(0xDDE8FF);
    c.SetColorBackMonth(0xEBEBEB);
    c.SetColorTitleToday(0xFF0000);
    c.SetColorTitleMonth(0xC08080);
    c.SetColorTitleYear(0xFF0000);
    c.SetColorTitleSelected(0x808080);
    c.SetColorTitleConstellation(0);
    c.SetColorTitleAnimalsYear(0);
    c.SetCenter(false);
    c.SetStretch(true);
    c.SetAlphaBlend(50);
}

void TMainFrm::BuildSettingsMenu()
{
    popSysset = new QMenu(this);
    popSysset->setObjectName(QStringLiteral("popSysset"));
    auto item = [this](const char* name, const char* caption) {
        QAction* action = popSysset->addAction(QString::fromUtf8(caption));
        action->setObjectName(QLatin1String(name));
        return action;
    };
    auto separator = [this](const char* name) { popSysset->addSeparator()->setObjectName(QLatin1String(name)); };
    connect(item("N_DataOut", "内   容   导   出"), &QAction::triggered, this, &TMainFrm::N_DataOutClick);
    AddNotesEntries();
    connect(item("N_BgTransparent", "背景透明度调节"), &QAction::triggered, this, &TMainFrm::N_BgTransparentClick);
    separator("N8");
    connect(item("N7", "登陆密码"), &QAction::triggered, this, &TMainFrm::N7Click);
    connect(item("N_help", "帮助说明"), &QAction::triggered, this, &TMainFrm::N_helpClick);
    connect(item("N_Submit", "意见反馈"), &QAction::triggered, this, &TMainFrm::N_SubmitClick);
    separator("N_HolidaySeparator");
    N_UpdateHolidays = item("N_UpdateHolidays", "更新法定节假日");
    connect(N_UpdateHolidays, &QAction::triggered, this, &TMainFrm::N_UpdateHolidaysClick);
    N_AutoUpdateHolidays = item("N_AutoUpdateHolidays", "每周自动更新节假日");
    N_AutoUpdateHolidays->setCheckable(true);
    connect(N_AutoUpdateHolidays, &QAction::triggered, this, &TMainFrm::N_AutoUpdateHolidaysClick);
    separator("N4");
    connect(item("N_ExitPrj", "退出程序"), &QAction::triggered, this, &TMainFrm::N_ExitPrjClick);
    // The update entry's tooltip tells where from and how the last check went.
    popSysset->setToolTipsVisible(true);
    connect(popSysset, &QMenu::aboutToShow, this, &TMainFrm::ShowHolidaySettings);
    ShowHolidaySettings();
}

void TMainFrm::lblSetClick() { popSysset->popup(lblSet->mapToGlobal(QPoint(0, lblSet->height()))); }

void TMainFrm::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    PlaceAnchored();
    // A hidden board gets its resize event only when shown.
    m_board->ArrangeBoxes();
}

// What the design anchors to the right or bottom edge follows the window.
void TMainFrm::PlaceAnchored()
{
    const int w = width();
    const int h = height();
    shpBG->setGeometry(0, 0, w, h);
    imgBG->setGeometry(0, 0, w, h);
    if (imgBG->pixmap().width() != w)
        imgBG->setPixmap(qn::skin::MainBackground(w));
    lblSet->move(w - (kDesignWidth - 761), 60);
    imgAppToDesk->move(w - (kDesignWidth - 825), 49);
    m_board->setGeometry(317, 80, w - (kDesignWidth - 594), h - (kDesignHeight - 445));
}
