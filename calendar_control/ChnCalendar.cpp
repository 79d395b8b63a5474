#include "calendar_control/ChnCalendar.h"

#include "calendar/DateValue.h"
#include "calendar_control/CalendarFonts.h"
#include "calendar_control/CalendarGrid.h"
#include "calendar_control/CalendarInfoLine.h"
#include "calendar_control/CalendarMenus.h"
#include "calendar_control/CalendarPainting.h"
#include "calendar_control/CalendarTitleParts.h"

#include <QCursor>
#include <QEvent>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QToolTip>

#include <exception>

namespace {

QFont ArialBlackFont(int points)
{
    QFont font = PointFont(QStringLiteral("Arial Black"), points);
    // Arial Black's regular face is already black; asking for the weight keeps
    // the heavy look where a lighter family stands in for it.
    font.setWeight(QFont::Black);
    return ShownFont(font);
}

// Sets a flag for the lifetime of the guard.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : FFlag(flag) { FFlag = true; }
    ~FlagGuard() { FFlag = false; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& FFlag;
};

}  // namespace

TChnCalendar::TChnCalendar(QWidget* parent, qn::NowSource now)
    : QWidget(parent), FNow(now ? std::move(now) : qn::NowSource(qn::SystemNow))
{
    // The control's own font: the weekday header is drawn with it.
    setFont(FShownSongTi);

    FGrid = new TCalendarGrid(this);
    FGrid->SetSelectCellHandler([this](int col, int row) { return GridSelectCell(col, row); });
    FGrid->SetDrawCellHandler([this](QPainter& painter, int col, int row, const QRect& rect, bool selected,
                                     bool focused) { DrawGridCell(painter, col, row, rect, selected, focused); });
    connect(FGrid, &TCalendarGrid::MouseDown, this, [this] { FPressed = true; });
    connect(FGrid, &TCalendarGrid::Clicked, this, &TChnCalendar::GridClick);

    FMonthUpDown = new TCalendarUpDown(0, 13, this);
    FMonthUpDown->move(60, 10);
    FMonthUpDown->hide();
    connect(FMonthUpDown, &TCalendarUpDown::Click, this, [this] { MonthUpDownClick(); });
    FYearUpDown = new TCalendarUpDown(TCalendarModel::kMinYear, TCalendarModel::kMaxYear, this);
    FYearUpDown->move(220, 10);
    FYearUpDown->hide();
    connect(FYearUpDown, &TCalendarUpDown::Click, this, [this] { YearUpDownClick(); });

    FMonthMenu = new QMenu(this);
    FYearMenu = new QMenu(this);

    const auto makeLabel = [this](const QString& text, const QFont& font, TColor color, QPoint pos, bool clickable) {
        auto* label = new TCalendarLabel(this);
        label->setFont(font);
        SetLabelColor(label, color);
        label->setText(text);
        label->adjustSize();
        label->move(pos);
        if (clickable)
            label->setCursor(Qt::PointingHandCursor);
        return label;
    };
    const QFont& songTi = FShownSongTi;
    FTodayLabel = makeLabel(QStringLiteral("今天"), ShownFont(PointFont(QStringLiteral("宋体"), 9, false, true)),
                            calcolor::Blue, {272, 18}, true);
    const QFont monthFont = ShownFont(PointFont(QStringLiteral("Arial"), 24, true));
    FMonthLabel = makeLabel(QString(), monthFont, 12615808, {34, 3}, true);
    // Right-justified: the number grows to the left of where an empty label would end.
    FMonthLabelRight = 34 + QFontMetrics(monthFont).horizontalAdvance(QLatin1Char(' '));
    FMonthCaption = makeLabel(QStringLiteral("月"), songTi, calcolor::Black, {45, 20}, true);
    FYearLabel = makeLabel(QString(), ArialBlackFont(22), calcolor::Blue, {120, 0}, true);
    FYearCaption = makeLabel(QStringLiteral("年"), songTi, calcolor::Black, {205, 18}, true);
    FInfoLabel = makeLabel(QString(), songTi, calcolor::Grey, {10, 236}, false);

    connect(FTodayLabel, &TCalendarLabel::Clicked, this, &TChnCalendar::GoToday);
    for (TCalendarLabel* label : {FMonthLabel, FMonthCaption}) {
        connect(label, &TCalendarLabel::Clicked, this, &TChnCalendar::ShowMonthMenu);
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QWidget::customContextMenuRequested, this,
                [this, label](const QPoint& pos) { FMonthMenu->popup(label->mapToGlobal(pos)); });
    }
    for (TCalendarLabel* label : {FYearLabel, FYearCaption}) {
        connect(label, &TCalendarLabel::Clicked, this, &TChnCalendar::ShowYearMenu);
        label->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(label, &QWidget::customContextMenuRequested, this,
                [this, label](const QPoint& pos) { FYearMenu->popup(label->mapToGlobal(pos)); });
    }

    // Leaving the control or any of its parts ends the press of the grid.
    for (QWidget* part : std::initializer_list<QWidget*>{FGrid, FMonthUpDown, FYearUpDown, FTodayLabel, FMonthLabel,
                                                         FMonthCaption, FYearLabel, FYearCaption, FInfoLabel})
        part->installEventFilter(this);

    FFontDate = {PointFont(QStringLiteral("黑体"), 9, true), BgrFromColor(palette().color(QPalette::WindowText))};
    FFontCnDate = {PointFont(QStringLiteral("宋体"), 9), 15658734};
    FShownFontDate = ShownFont(FFontDate.Font);
    FShownFontCnDate = ShownFont(FFontCnDate.Font);

    resize(kInitialWidth, kInitialHeight);
}

TChnCalendar::~TChnCalendar() = default;

// ---------------------------------------------------------------------------
// Window creation

void TChnCalendar::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!FWindowCreated) {
        FWindowCreated = true;
        CreateWnd();
    }
}

void TChnCalendar::CreateWnd()
{
    BuildMenus();
    SetDateTime(FNow());
    SetShowTitle(true);
}

void TChnCalendar::BuildMenus()
{
    if (!FMenusBuilt) {
        FMenusBuilt = true;
        const TCalendarMenuActions monthActions{[this] { GoToday(); }, [this](QAction* item) { MonthMenuClick(item); }};
        FillMonthMenu(*FMonthMenu, CalendarLocale(), monthActions);
        // The year menu's four hundred entries are made when it first opens
        // (or is asked for), not before the first painting.
        connect(FYearMenu, &QMenu::aboutToShow, this, &TChnCalendar::FillYearMenuOnce);
    }
    FGrid->SetRowHeight(0, kHeaderRowHeight);
    // Keep a week-number column that was switched on before the window existed.
    FGrid->SetColWidth(0, FShowWeekNum ? kWeekNumColWidth : kNarrowColWidth);
    LayoutCells();
}

void TChnCalendar::FillYearMenuOnce()
{
    if (!FMenusBuilt || FYearMenuFilled)
        return;
    FYearMenuFilled = true;
    const TCalendarMenuActions yearActions{[this] { GoToday(); }, [this](QAction* item) { YearMenuClick(item); }};
    FillYearMenu(*FYearMenu, yearActions);
}

QMenu* TChnCalendar::YearMenu()
{
    FillYearMenuOnce();
    return FYearMenu;
}

void TChnCalendar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (FWindowCreated) {
        SetShowTitle(FShowTitle);
        update();
    }
}

void TChnCalendar::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange && FWindowCreated) {
        ComposeBackground();
        RepaintGrid();
    }
}

void TChnCalendar::leaveEvent(QEvent* event)
{
    FPressed = false;
    QWidget::leaveEvent(event);
}

bool TChnCalendar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Leave)
        FPressed = false;
    if (watched == FGrid && event->type() == QEvent::ToolTip)
        return ShowCellToolTip(static_cast<QHelpEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

void TChnCalendar::keyPressEvent(QKeyEvent* event)
{
    // The grid passes on the keys it does not move by.
    switch (event->key()) {
    case Qt::Key_PageUp: StepMonthByKey(-1); break;
    case Qt::Key_PageDown: StepMonthByKey(1); break;
    case Qt::Key_Home: GoToMonthEdgeByKey(false); break;
    case Qt::Key_End: GoToMonthEdgeByKey(true); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

// ---------------------------------------------------------------------------
// Date state

bool TChnCalendar::SetDateTime(double value)
{
    if (!FModel.Accepts(value))
        return false;
    const bool hadDate = FModel.HasDate();
    const qn::CivilDate before = qn::DecodeDate(FModel.DateTime);
    const auto cellsBefore = FModel.FDays;
    const auto weekNumsBefore = FModel.FWeekNums;
    FModel.SelectDate(value);
    const qn::CivilDate date = qn::DecodeDate(value);
    FYearUpDown->SetPosition(date.year);
    FMonthUpDown->SetPosition(date.month);

    FYearLabel->setText(QString::number(date.year));
    FYearLabel->adjustSize();
    FMonthLabel->setText(QString::number(date.month));
    PlaceMonthLabel();
    PlaceInfoLabel();

    try {
        MoveSelectionToCell(FModel.LayoutMonth());
        // Another day of the month shown: the background stays, and only
        // the cells that changed are painted again (the selection's old and
        // new cells, the title cells of the day); with cells drawn by the
        // owner, all of them.
        const bool sameMonth = hadDate && before.year == date.year && before.month == date.month
            && !FBackBitmapImage.isNull() && !FOnDrawDateCell && !FOnDrawCnDateCell;
        if (sameMonth) {
            RepaintChangedCells(cellsBefore, weekNumsBefore);
        } else {
            ComposeBackground();
            update();
            RepaintGrid();
        }
    } catch (const std::exception&) {
        // The month shows whatever was laid out; the date itself has changed.
    }
    // The owner must learn of every new date, even after a failed layout.
    emit OnChange();
    return true;
}

void TChnCalendar::MoveSelectionToCell(int cell)
{
    if (cell < 1 || cell > TCalendarModel::kCellCount)
        return;
    FlagGuard moving(FMovingSelection);
    FGrid->FocusCell(TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell));
}

void TChnCalendar::PlaceMonthLabel()
{
    FMonthLabel->adjustSize();
    FMonthLabel->move(FMonthLabelRight - FMonthLabel->width(), 3);
}

void TChnCalendar::PlaceInfoLabel()
{
    if (!FModel.HasDate())
        return;
    const QString full = FModel.InfoText();
    const int room = std::max(0, width() - FInfoLabel->x() - kInfoRightMargin);
    FInfoLabel->setText(
        FitInfoLine(FModel.InfoDatePart(), FModel.InfoLunarPart(), QFontMetrics(FInfoLabel->font()), room));
    FInfoLabel->adjustSize();
    if (FInfoLabel->width() > room)
        FInfoLabel->resize(room, FInfoLabel->height());
    // The whole line, then every text of the day, which the line has no room for.
    FInfoLabel->setToolTip((QStringList{full} + FModel.SelectedDayTips()).join(QLatin1Char('\n')));
}

// ---------------------------------------------------------------------------
// Property setters

void TChnCalendar::RepaintGrid() { FGrid->update(); }

void TChnCalendar::RepaintChangedCells(const std::array<TcnDateInf, TCalendarModel::kCellCount + 1>& cellsBefore,
                                       const std::array<QString, 7>& weekNumsBefore)
{
    for (int cell = 1; cell <= TCalendarModel::kCellCount; ++cell) {
        if (!(FModel.FDays.at(cell) == cellsBefore.at(cell)))
            FGrid->update(FGrid->CellRect(TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell)));
    }
    for (int row = 1; row < static_cast<int>(weekNumsBefore.size()); ++row) {
        if (FModel.FWeekNums.at(row) != weekNumsBefore.at(row))
            FGrid->update(FGrid->CellRect(0, row));
    }
}

void TChnCalendar::Recompose()
{
    ComposeBackground();
    update();
    RepaintGrid();
}

void TChnCalendar::SetShowTitle(bool value)
{
    FShowTitle = value;
    FMonthUpDown->setVisible(value);
    FYearUpDown->setVisible(value);
    if (value) {
        FGrid->setGeometry(8, 40, std::max(0, width() - 15), std::max(0, height() - 67));
        FGrid->SetPopupMenu(nullptr);
        FGrid->lower();
    } else {
        // The grid covers title and info line and offers the year menu instead.
        FGrid->setGeometry(2, 2, std::max(0, width() - 4), std::max(0, height() - 4));
        FGrid->SetPopupMenu(FYearMenu);
        FGrid->raise();
    }
    LayoutCells();
    PlaceInfoLabel();
    ComposeBackground();
    update();
    RepaintGrid();
}

void TChnCalendar::SetShowWeekNum(bool value)
{
    if (value == FShowWeekNum)
        return;
    FShowWeekNum = value;
    FGrid->SetColWidth(0, value ? kWeekNumColWidth : kNarrowColWidth);
    RepaintGrid();
}

void TChnCalendar::SetShowFrame(bool value)
{
    FShowFrame = value;
    Recompose();
}

void TChnCalendar::SetShowBackYearMonth(bool value)
{
    FShowBackYearMonth = value;
    Recompose();
}

void TChnCalendar::SetShowWeekNumLine(bool value)
{
    FShowWeekNumLine = value;
    RepaintGrid();
}

void TChnCalendar::SetShowHolidays(bool value)
{
    FModel.SetShowHolidays(value);
    HolidaysChanged();
}

void TChnCalendar::SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays)
{
    FModel.SetHolidays(std::move(holidays));
    HolidaysChanged();
}

void TChnCalendar::HolidaysChanged()
{
    PlaceInfoLabel();  // its tooltip names the selected day's holiday
    RepaintGrid();
}

void TChnCalendar::SetFontDate(const TCalendarFont& font)
{
    FFontDate = font;
    FShownFontDate = ShownFont(font.Font);
    FCellInk.reset();
    FMarkStyle.reset();
    RepaintGrid();
}

void TChnCalendar::SetFontCnDate(const TCalendarFont& font)
{
    FFontCnDate = font;
    FShownFontCnDate = ShownFont(font.Font);
    FCellInk.reset();
    FMarkStyle.reset();
    RepaintGrid();
}

void TChnCalendar::SetColorTitleWeekLine(TColor value)
{
    FColorTitleWeekLine = value;
    RepaintGrid();
}

void TChnCalendar::SetColorTitleWeekEnd(TColor value)
{
    FColorTitleWeekEnd = value;
    RepaintGrid();
}

void TChnCalendar::SetColorTitleWeek(TColor value)
{
    FColorTitleWeek = value;
    RepaintGrid();
}

void TChnCalendar::SetColorSelectedStart(TColor value)
{
    FColorSelectedStart = value;
    RepaintGrid();
}

void TChnCalendar::SetColorSelectedEnd(TColor value)
{
    FColorSelectedEnd = value;
    RepaintGrid();
}

void TChnCalendar::SetColorSelectedFrame(TColor value)
{
    FColorSelectedFrame = value;
    RepaintGrid();
}

void TChnCalendar::SetColorWeekNum(TColor value)
{
    FColorWeekNum = value;
    if (FShowWeekNum)
        RepaintGrid();
}

void TChnCalendar::SetColorHolidayOff(TColor value)
{
    FColorHolidayOff = value;
    RepaintGrid();
}

void TChnCalendar::SetColorHolidayWork(TColor value)
{
    FColorHolidayWork = value;
    RepaintGrid();
}

// The layout colours are written into the cells when a month is laid out;
// the month shown keeps its colours until the next new date.
void TChnCalendar::SetColorCnDate(TColor value) { FModel.Colors.ColorCnDate = value; }

void TChnCalendar::SetColorDate(TColor value) { FModel.Colors.ColorDate = value; }

void TChnCalendar::SetColorHoliday(TColor value) { FModel.Colors.ColorHoliday = value; }

void TChnCalendar::SetColorLunarHolDay(TColor value) { FModel.Colors.ColorLunarHolDay = value; }

void TChnCalendar::SetColorCnHolDay(TColor value) { FModel.Colors.ColorCnHolDay = value; }

void TChnCalendar::SetColorShowFrame(TColor value)
{
    FColorShowFrame = value;
    if (FShowFrame)
        Recompose();
}

void TChnCalendar::SetColorBackYear(TColor value)
{
    FColorBackYear = value;
    Recompose();
}

void TChnCalendar::SetColorBackMonth(TColor value)
{
    FColorBackMonth = value;
    Recompose();
}

TColor TChnCalendar::LabelColor(const TCalendarLabel* label)
{
    return BgrFromColor(label->palette().color(QPalette::WindowText));
}

void TChnCalendar::SetLabelColor(TCalendarLabel* label, TColor value)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColorFromBgr(value));
    label->setPalette(palette);
}

TColor TChnCalendar::ColorTitleToday() const { return LabelColor(FTodayLabel); }

void TChnCalendar::SetColorTitleToday(TColor value) { SetLabelColor(FTodayLabel, value); }

TColor TChnCalendar::ColorTitleMonth() const { return LabelColor(FMonthLabel); }

void TChnCalendar::SetColorTitleMonth(TColor value) { SetLabelColor(FMonthLabel, value); }

TColor TChnCalendar::ColorTitleYear() const { return LabelColor(FYearLabel); }

void TChnCalendar::SetColorTitleYear(TColor value) { SetLabelColor(FYearLabel, value); }

TColor TChnCalendar::ColorTitleSelected() const { return LabelColor(FInfoLabel); }

void TChnCalendar::SetColorTitleSelected(TColor value) { SetLabelColor(FInfoLabel, value); }

void TChnCalendar::SetBackGround(const QImage& picture)
{
    FBackGround = picture;
    Recompose();
}

void TChnCalendar::SetCenter(bool value)
{
    FCenter = value;
    Recompose();
}

void TChnCalendar::SetStretch(bool value)
{
    FStretch = value;
    Recompose();
}

void TChnCalendar::SetTransparent(bool value)
{
    FTransparent = value;
    Recompose();
}

void TChnCalendar::SetAlphaBlend(std::uint8_t value)
{
    FAlphaBlend = value;
    Recompose();
}

// ---------------------------------------------------------------------------
// Geometry and painting

void TChnCalendar::LayoutCells()
{
    const int clientHeight = FGrid->height();
    const int clientWidth = FGrid->width();
    const int headerHeight = FGrid->RowHeight(0);
    const int h = (clientHeight - headerHeight) / 6;
    for (int row = 1; row <= 5; ++row)
        FGrid->SetRowHeight(row, h - 1);
    FGrid->SetRowHeight(6, clientHeight - headerHeight - 5 * (h - 1));

    const int firstColWidth = FGrid->ColWidth(0);
    const int w = (clientWidth - firstColWidth) / 7;
    for (int col = 1; col <= 7; ++col)
        FGrid->SetColWidth(col, w - 1);
    FGrid->SetColWidth(8, clientWidth - firstColWidth - 7 * (w - 1));
}

void TChnCalendar::ComposeBackground()
{
    const QSize controlSize = size();
    const qreal ratio = FPaintRatio > 0 ? FPaintRatio : devicePixelRatioF();
    if (FBackBitmapImage.isNull() || FBackBitmapImage.devicePixelRatio() != ratio
        || FBackBitmapImage.deviceIndependentSize() != QSizeF(controlSize))
        FBackBitmapImage = DeviceImage(controlSize, ratio, QImage::Format_RGB32);
    if (controlSize.isEmpty())
        return;
    FBackBitmapImage.fill(Qt::white);
    {
        QPainter painter(&FBackBitmapImage);
        painter.setFont(font());
        if (FShowFrame) {
            // Four one-pixel strips rather than a pen, so the frame stays sharp at any scale.
            const QColor frame = ColorFromBgr(FColorShowFrame);
            const int w = width();
            const int h = height();
            painter.fillRect(0, 0, w, 1, frame);
            painter.fillRect(0, h - 1, w, 1, frame);
            painter.fillRect(0, 0, 1, h, frame);
            painter.fillRect(w - 1, 0, 1, h, frame);
        }
        if (FShowBackYearMonth) {
            const QRect g = FGrid->geometry();
            const int gridBottom = g.top() + g.height();  // exclusive, as the grid's bounds give it
            const int middle = gridBottom / 2;
            const QRect yearRect(g.left(), g.top() + 6, g.width(), middle - g.top());
            const QRect monthRect(g.left(), middle, g.width(), gridBottom - middle);
            const qn::CivilDate date = qn::DecodeDate(FModel.DateTime);
            FWatermarks.Draw(painter, yearRect, QString::number(date.year), ArialBlackFont(48), FColorBackYear,
                             Qt::AlignCenter);
            FWatermarks.Draw(painter, monthRect, QString::number(date.month), ArialBlackFont(90), FColorBackMonth,
                             Qt::AlignCenter);
        }
    }

    if (FBackGround.isNull()) {
        FPictureBitmapImage = QImage();
        return;
    }
    FPictureBitmapImage = DeviceImage(controlSize, ratio, QImage::Format_RGB32);
    FPictureBitmapImage.fill(Qt::white);
    {
        QPainter painter(&FPictureBitmapImage);
        const int pw = FBackGround.width();
        const int ph = FBackGround.height();
        const int bw = controlSize.width();
        const int bh = controlSize.height();
        if (FStretch) {
            QRect target;
            FitPictureRect(pw, ph, bw, bh, FCenter, target);
            if (!target.isEmpty())
                painter.drawImage(target, FBackGround);
        } else if (FCenter) {
            painter.drawImage((bw - pw) / 2, (bh - ph) / 2, FBackGround);
        } else {
            painter.drawImage(0, 0, FBackGround);
        }
    }
    // Both bitmaps have the same device pixels, so the blend works pixel by pixel.
    BlendBitmap(FBackBitmapImage, FPictureBitmapImage, 0, 0, kKeyFromSource, FAlphaBlend);
}

void TChnCalendar::EnsureBackgroundRatio(qreal ratio)
{
    if (ratio == FPaintRatio && !FBackBitmapImage.isNull())
        return;
    FPaintRatio = ratio;
    ComposeBackground();
}

void TChnCalendar::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    // Drawn for the device in hand: a screen of another scale, or an image
    // rendered at a higher ratio, gets a background composed at its ratio.
    EnsureBackgroundRatio(DeviceScale(painter));
    if (FBackBitmapImage.isNull())
        return;
    painter.drawImage(0, 0, FBackBitmapImage);
}

void TChnCalendar::DrawGridCell(QPainter& gridPainter, int col, int row, const QRect& rect, bool selected, bool focused)
{
    if (rect.isEmpty())
        return;
    EnsureBackgroundRatio(DeviceScale(gridPainter));
    QPainter& painter = gridPainter;
    painter.save();
    painter.setClipRect(rect, Qt::IntersectClip);
    // The part of the composed background under the cell, so the grid looks transparent.
    const QRect under = rect.translated(FGrid->pos()) & QRect(QPoint(0, 0), size());
    if (!under.isEmpty() && !FBackBitmapImage.isNull()) {
        const qreal ratio = FBackBitmapImage.devicePixelRatio();
        const QRectF source(under.left() * ratio, under.top() * ratio, under.width() * ratio, under.height() * ratio);
        painter.drawImage(QRectF(under.translated(-FGrid->pos())), FBackBitmapImage, source);
    }
    painter.translate(rect.topLeft());
    painter.setFont(font());
    const QRect r(0, 0, rect.width(), rect.height());
    if (row == 0)
        DrawHeaderCell(painter, col, r);
    else if (col == 0)
        DrawWeekNumCell(painter, row, r);
    else if (col <= 7)
        DrawDayCell(painter, (row - 1) * 7 + col, r, selected, selected && (!FHideSelection || focused));
    // Column 8 is a margin: background only.
    painter.restore();
}

void TChnCalendar::DrawHeaderCell(QPainter& painter, int col, const QRect& r)
{
    const QRect textRect = r.adjusted(0, 0, -2, 0);
    QString text;
    if (col == 0)
        text = FShowWeekNum ? QStringLiteral("W") : QString();
    else
        text = WeekDayCaption(col, textRect.width() > 36);

    TColor color = FColorTitleWeek;
    if (col == 0)
        color = FColorWeekNum;
    else if (col == 1 || col == 7)
        color = FColorTitleWeekEnd;
    painter.setPen(ColorFromBgr(color));
    DrawTextLine(painter, textRect, text, Qt::AlignHCenter | Qt::AlignTop);

    const QColor line = ColorFromBgr(FColorTitleWeekLine);
    painter.fillRect(0, r.height() - 4, r.width(), 1, line);
    if (col == 0 && FShowWeekNum && FShowWeekNumLine)
        painter.fillRect(r.width() - 1, 0, 1, r.height(), line);
}

void TChnCalendar::DrawWeekNumCell(QPainter& painter, int row, const QRect& r)
{
    const QString& text = FModel.FWeekNums.at(row);
    if (!FShowWeekNum || text.isEmpty())
        return;
    painter.setFont(FShownSongTi);
    painter.setPen(ColorFromBgr(FColorWeekNum));
    DrawTextLine(painter, r, text, Qt::AlignCenter);
    if (FShowWeekNumLine)
        painter.fillRect(r.width() - 1, 0, 1, r.height(), ColorFromBgr(FColorTitleWeekLine));
}

TDayCellBaselines TChnCalendar::DayCellBaselines(int cellHeight)
{
    if (!FCellInk)
        FCellInk = MeasureDayCellInk(FShownFontDate, FShownFontCnDate);
    return PlaceDayCellLines(*FCellInk, cellHeight);
}

void TChnCalendar::DrawDayCell(QPainter& painter, int cell, const QRect& r, bool selected, bool showSelection)
{
    if (showSelection)
        FillGradient(painter, r, kGradientBands, 0, FColorSelectedEnd, FColorSelectedStart);
    const TcnDateInf& inf = FModel.FDays.at(cell);
    if (!inf.InUse)
        return;
    if (cell >= TCalendarModel::kConstellationCell) {
        DrawTitleCell(painter, cell, r);
        return;
    }

    const QRect textRect = r.adjusted(2, 0, -2, 0);
    const TDayCellBaselines baselines = DayCellBaselines(r.height());

    QString text = inf.DayText;
    bool defaultDraw = true;
    painter.setFont(FShownFontDate);
    painter.setPen(ColorFromBgr(inf.DayColor));
    if (FOnDrawDateCell)
        FOnDrawDateCell(this, inf.DayText.toInt(), painter, r, selected, text, defaultDraw);
    if (defaultDraw)
        DrawCentredOnBaseline(painter, textRect, baselines.Day, text);

    text = inf.CnText;
    defaultDraw = true;
    painter.setFont(FShownFontCnDate);
    painter.setPen(ColorFromBgr(inf.CnColor));
    if (FOnDrawCnDateCell)
        FOnDrawCnDateCell(this, inf.DayText.toInt(), painter, r, selected, text, defaultDraw);
    if (defaultDraw) {
        DrawCentredOnBaseline(painter, textRect, baselines.Cn, text);
        if (showSelection) {
            const QColor frame = ColorFromBgr(FColorSelectedFrame);
            painter.fillRect(0, 0, r.width(), 1, frame);
            painter.fillRect(0, r.height() - 1, r.width(), 1, frame);
            painter.fillRect(0, 0, 1, r.height(), frame);
            painter.fillRect(r.width() - 1, 0, 1, r.height(), frame);
        }
    }
    DrawHolidayMarkOf(painter, inf, r, baselines.Day, showSelection);
}

void TChnCalendar::DrawHolidayMarkOf(QPainter& painter, const TcnDateInf& inf, const QRect& r, int dayBaseline,
                                     bool showSelection)
{
    if (inf.HolidayMark.isEmpty())
        return;
    if (!FCellInk)
        FCellInk = MeasureDayCellInk(FShownFontDate, FShownFontCnDate);
    if (!FMarkStyle)
        FMarkStyle = MeasureHolidayMark(FShownFontDate, FCellInk->Day.Height());
    const bool off = inf.Holiday.kind == qn::HolidayKind::Off;
    DrawHolidayMark(painter, r, dayBaseline + FCellInk->Day.Top, *FMarkStyle, inf.HolidayMark,
                    ColorFromBgr(off ? FColorHolidayOff : FColorHolidayWork), showSelection);
}

void TChnCalendar::DrawTitleCell(QPainter& painter, int cell, const QRect& r)
{
    const TcnDateInf& inf = FModel.FDays.at(cell);
    if (inf.DayText.isEmpty())
        return;
    QRect textRect = r;
    textRect.setTop(r.top() + 8);
    painter.setFont(FShownSongTi);
    int alignment = Qt::AlignHCenter;
    TColor color = FColorTitleAnimalsYear;
    if (cell == TCalendarModel::kConstellationCell)
        color = FColorTitleConstellation;
    else if (cell == TCalendarModel::kYearNameCell)
        alignment = Qt::AlignRight;  // reads on into the animal year of the next cell
    else
        alignment = Qt::AlignLeft;
    painter.setPen(ColorFromBgr(color));
    DrawTextLine(painter, textRect, inf.DayText, alignment | Qt::AlignTop);
}

QString TChnCalendar::CellToolTip(int cell) const { return FModel.CellDayTips(cell).join(QLatin1Char('\n')); }

bool TChnCalendar::ShowCellToolTip(QHelpEvent* event)
{
    int col = 0;
    int row = 0;
    QString text;
    QRect cellRect;
    if (FGrid->CellAt(event->pos(), col, row) && row >= 1 && col >= 1 && col <= 7) {
        text = CellToolTip((row - 1) * 7 + col);
        cellRect = FGrid->CellRect(col, row);
    }
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(event->globalPos(), text, FGrid, cellRect);
    return true;
}

// ---------------------------------------------------------------------------
// Interaction

void TChnCalendar::GoToday() { SetDateTime(FNow()); }

void TChnCalendar::ShowMonthMenu() { FMonthMenu->popup(QCursor::pos()); }

void TChnCalendar::ShowYearMenu() { FYearMenu->popup(QCursor::pos()); }

void TChnCalendar::MonthMenuClick(QAction* item)
{
    FMonthUpDown->SetPosition(MenuItemTag(item));
    MonthUpDownClick();
}

void TChnCalendar::YearMenuClick(QAction* item)
{
    FYearUpDown->SetPosition(MenuItemTag(item));
    YearUpDownClick();
}

void TChnCalendar::SyncSelectors()
{
    const qn::CivilDate date = qn::DecodeDate(FModel.DateTime);
    FYearUpDown->SetPosition(date.year);
    FMonthUpDown->SetPosition(date.month);
}

bool TChnCalendar::StepToDate(int year, int month, int day, bool fallBackToToday)
{
    // 31 March stepped to April becomes 30 April; 29 February to a common year 28 February.
    while (day > 0 && !qn::IsValidDate(year, month, day))
        --day;
    bool accepted = false;
    if (day > 0)
        accepted = SetDateTime(qn::EncodeDate(year, month, day));
    else if (fallBackToToday)
        accepted = SetDateTime(FNow());
    // A refused step (year 0 or 2101) must not leave the selectors on a
    // position the next arrow click would step from.
    if (!accepted)
        SyncSelectors();
    return accepted;
}

void TChnCalendar::MonthUpDownClick()
{
    const qn::CivilDate current = qn::DecodeDate(FModel.DateTime);
    int year = current.year;
    if (FMonthUpDown->Position() == 13) {
        ++year;
        FYearUpDown->SetPosition(year);
        FMonthUpDown->SetPosition(1);
    } else if (FMonthUpDown->Position() == 0) {
        --year;
        FYearUpDown->SetPosition(year);
        FMonthUpDown->SetPosition(12);
    }
    StepToDate(year, FMonthUpDown->Position(), current.day, false);
}

bool TChnCalendar::StepMonthByKey(int delta)
{
    const qn::CivilDate current = qn::DecodeDate(FModel.DateTime);
    const int months = current.year * 12 + (current.month - 1) + delta;
    const int year = months / 12;
    const int month = months % 12 + 1;
    if (year < TCalendarModel::kMinYear || year > TCalendarModel::kMaxYear)
        return false;
    if (!StepToDate(year, month, current.day, false))
        return false;
    // A keyboard move reports a click while the grid is pressed, as the arrow keys do.
    if (FPressed)
        emit OnDateClick();
    return true;
}

bool TChnCalendar::GoToMonthEdgeByKey(bool last)
{
    const qn::CivilDate current = qn::DecodeDate(FModel.DateTime);
    const int day = last ? qn::DaysInGregorianMonth(current.year, current.month) : 1;
    for (int cell = 1; cell <= TCalendarModel::kLastDayCell; ++cell) {
        const TcnDateInf& inf = FModel.FDays[cell];
        if (inf.InUse && inf.Day == day)
            // Through the grid's own move, exactly as an arrow key goes.
            return FGrid->FocusCell(TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell));
    }
    return false;
}

void TChnCalendar::YearUpDownClick()
{
    const qn::CivilDate current = qn::DecodeDate(FModel.DateTime);
    StepToDate(FYearUpDown->Position(), current.month, current.day, true);
}

bool TChnCalendar::GridSelectCell(int col, int row)
{
    if (FMovingSelection)
        return true;
    if (col == 0 || col == 8 || row == 0)
        return false;
    const int cell = (row - 1) * 7 + col;
    if (cell < 1 || cell > TCalendarModel::kLastDayCell || !FModel.FDays[cell].InUse)
        return false;
    const qn::CivilDate current = qn::DecodeDate(FModel.DateTime);
    SetDateTime(qn::EncodeDate(current.year, current.month, FModel.FDays[cell].Day));
    if (FPressed)
        emit OnDateClick();
    return true;
}

void TChnCalendar::GridClick(const QPoint& gridPos)
{
    int col = 0;
    int row = 0;
    if (FGrid->CellAt(gridPos, col, row) && col == FGrid->Col() && row == FGrid->Row())
        emit OnDateSelect();
}
