#pragma once
// TChnCalendar: the month calendar control. It shows one Gregorian month as a
// grid of day cells with the lunar day (or festival, solar term, lunar month
// name) under every day number, a title with month, year and two selectors,
// and an info line with the selected date. It holds exactly one selected
// date-time (DateTime) and reports every change of it with OnChange.
//
// Colours are 0x00BBGGRR values (TColor). "Today" comes from the NowSource
// given at construction. The statutory holidays (a small 休 or 班 in the
// corner of a day) come from the table given with SetHolidays.

#include "calendar/Clock.h"
#include "calendar_control/CalendarCellLines.h"
#include "calendar_control/CalendarColors.h"
#include "calendar_control/CalendarHolidayMark.h"
#include "calendar_control/CalendarModel.h"
#include "calendar_control/CalendarPainting.h"

#include <QFont>
#include <QImage>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QHelpEvent;
class QKeyEvent;
class QMenu;
class TCalendarGrid;
class TCalendarLabel;
class TCalendarUpDown;

// A cell font with the colour it carries (the lines themselves are drawn in
// the cell's DayColor / CnColor).
struct TCalendarFont {
    QFont Font;
    TColor Color = 0;
};

class TChnCalendar;

// Called before a line of a day cell is drawn. `text` may be changed; setting
// `defaultDraw` to false makes the control draw nothing for that line (and,
// for the lower line, no selection frame).
using TDrawDateCellEvent = std::function<void(TChnCalendar* sender, int day, QPainter& canvas, const QRect& r,
                                              bool selected, QString& text, bool& defaultDraw)>;

class TChnCalendar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kInitialWidth = 313;
    static constexpr int kInitialHeight = 253;
    static constexpr int kHeaderRowHeight = 18;
    static constexpr int kWeekNumColWidth = 18;
    static constexpr int kNarrowColWidth = 6;
    static constexpr int kGradientBands = 256;
    // The info line keeps this far from the control's right edge.
    static constexpr int kInfoRightMargin = 4;

    explicit TChnCalendar(QWidget* parent = nullptr, qn::NowSource now = qn::SystemNow);
    ~TChnCalendar() override;

    // --- date state -------------------------------------------------------
    double DateTime() const { return FModel.DateTime; }
    // Selects a date and lays out its month; raises OnChange at the end.
    // Returns false (and does nothing) for the date already held and for years
    // outside 1..2100.
    bool SetDateTime(double value);

    QString CnMonth() const { return FModel.CnMonth; }
    QString CnDay() const { return FModel.CnDay; }
    QString CnDate() const { return FModel.CnDate; }
    void SetCnMonth(const QString& text) { FModel.CnMonth = text; }
    void SetCnDay(const QString& text) { FModel.CnDay = text; }
    void SetCnDate(const QString& text) { FModel.CnDate = text; }

    const std::array<TcnDateInf, TCalendarModel::kCellCount + 1>& FDays() const { return FModel.FDays; }
    const std::array<QString, 7>& FWeekNums() const { return FModel.FWeekNums; }

    // --- switches -----------------------------------------------------------
    bool ShowTitle() const { return FShowTitle; }
    void SetShowTitle(bool value);
    bool ShowWeekNum() const { return FShowWeekNum; }
    void SetShowWeekNum(bool value);
    bool ShowFrame() const { return FShowFrame; }
    void SetShowFrame(bool value);
    bool ShowBackYearMonth() const { return FShowBackYearMonth; }
    void SetShowBackYearMonth(bool value);
    bool ShowWeekNumLine() const { return FShowWeekNumLine; }
    void SetShowWeekNumLine(bool value);
    bool HideSelection() const { return FHideSelection; }
    void SetHideSelection(bool value) { FHideSelection = value; }
    // The statutory holiday layer: the 休 / 班 marks and the holiday line of
    // the tooltips. On by default; it shows only what a table set with
    // SetHolidays names.
    bool ShowHolidays() const { return FModel.ShowHolidays(); }
    void SetShowHolidays(bool value);

    // --- statutory holidays ---------------------------------------------------
    // The table the marks come from; nullptr (the start) shows none. A year
    // the table has no notice for shows none either. Set it again whenever
    // the table changes (a reloaded table is a new object): the marks and
    // tooltips of the shown month follow at once, without OnChange.
    void SetHolidays(std::shared_ptr<const qn::HolidayCalendar> holidays);
    const std::shared_ptr<const qn::HolidayCalendar>& Holidays() const { return FModel.Holidays(); }

    // --- fonts --------------------------------------------------------------
    const TCalendarFont& FontDate() const { return FFontDate; }
    void SetFontDate(const TCalendarFont& font);
    const TCalendarFont& FontCnDate() const { return FFontCnDate; }
    void SetFontCnDate(const TCalendarFont& font);

    // --- colours of the grid (repaint) ----------------------------------------
    TColor ColorTitleWeekLine() const { return FColorTitleWeekLine; }
    void SetColorTitleWeekLine(TColor value);
    TColor ColorTitleWeekEnd() const { return FColorTitleWeekEnd; }
    void SetColorTitleWeekEnd(TColor value);
    TColor ColorTitleWeek() const { return FColorTitleWeek; }
    void SetColorTitleWeek(TColor value);
    TColor ColorSelectedStart() const { return FColorSelectedStart; }
    void SetColorSelectedStart(TColor value);
    TColor ColorSelectedEnd() const { return FColorSelectedEnd; }
    void SetColorSelectedEnd(TColor value);
    TColor ColorSelectedFrame() const { return FColorSelectedFrame; }
    void SetColorSelectedFrame(TColor value);
    TColor ColorWeekNum() const { return FColorWeekNum; }
    void SetColorWeekNum(TColor value);
    // The 休 mark of a day off and the 班 mark of an adjusted working day.
    TColor ColorHolidayOff() const { return FColorHolidayOff; }
    void SetColorHolidayOff(TColor value);
    TColor ColorHolidayWork() const { return FColorHolidayWork; }
    void SetColorHolidayWork(TColor value);

    // --- colours of the month layout (take effect at the next layout) ---------
    TColor ColorCnDate() const { return FModel.Colors.ColorCnDate; }
    void SetColorCnDate(TColor value);
    TColor ColorDate() const { return FModel.Colors.ColorDate; }
    void SetColorDate(TColor value);
    TColor ColorHoliday() const { return FModel.Colors.ColorHoliday; }
    void SetColorHoliday(TColor value);
    TColor ColorLunarHolDay() const { return FModel.Colors.ColorLunarHolDay; }
    void SetColorLunarHolDay(TColor value);
    TColor ColorCnHolDay() const { return FModel.Colors.ColorCnHolDay; }
    void SetColorCnHolDay(TColor value);

    // --- colours of the background (recompose) --------------------------------
    TColor ColorShowFrame() const { return FColorShowFrame; }
    void SetColorShowFrame(TColor value);
    TColor ColorBackYear() const { return FColorBackYear; }
    void SetColorBackYear(TColor value);
    TColor ColorBackMonth() const { return FColorBackMonth; }
    void SetColorBackMonth(TColor value);

    // --- colours of the title labels (held by the labels) ---------------------
    TColor ColorTitleToday() const;
    void SetColorTitleToday(TColor value);
    TColor ColorTitleMonth() const;
    void SetColorTitleMonth(TColor value);
    TColor ColorTitleYear() const;
    void SetColorTitleYear(TColor value);
    TColor ColorTitleSelected() const;
    void SetColorTitleSelected(TColor value);

    // --- colours of the title cells (used at the next drawing) ----------------
    TColor ColorTitleConstellation() const { return FColorTitleConstellation; }
    void SetColorTitleConstellation(TColor value) { FColorTitleConstellation = value; }
    TColor ColorTitleAnimalsYear() const { return FColorTitleAnimalsYear; }
    void SetColorTitleAnimalsYear(TColor value) { FColorTitleAnimalsYear = value; }

    // --- background picture ---------------------------------------------------
    const QImage& BackGround() const { return FBackGround; }
    void SetBackGround(const QImage& picture);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    std::uint8_t AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(std::uint8_t value);

    // --- draw events ------------------------------------------------------------
    void SetOnDrawDateCell(TDrawDateCellEvent handler) { FOnDrawDateCell = std::move(handler); }
    void SetOnDrawCnDateCell(TDrawDateCellEvent handler) { FOnDrawCnDateCell = std::move(handler); }

    // --- geometry and painting --------------------------------------------------
    void LayoutCells();
    void ComposeBackground();
    // Both bitmaps are kept at the device pixel ratio of the last painting
    // (the screen's, or an image's the control was rendered into).
    const QImage& FBackBitmap() const { return FBackBitmapImage; }
    const QImage& FPictureBitmap() const { return FPictureBitmapImage; }
    // Paints one grid cell straight onto the grid's painter (`rect` in grid
    // coordinates), at whatever resolution that painter has.
    void DrawGridCell(QPainter& gridPainter, int col, int row, const QRect& rect, bool selected, bool focused);
    // Baselines of the day number and the lunar text in a day cell of the
    // given height, placed by the ink of the two cell fonts.
    TDayCellBaselines DayCellBaselines(int cellHeight);

    // --- interaction --------------------------------------------------------------
    void GoToday();
    void ShowMonthMenu();
    void ShowYearMenu();
    void MonthMenuClick(QAction* item);
    void YearMenuClick(QAction* item);
    void MonthUpDownClick();
    void YearUpDownClick();
    bool GridSelectCell(int col, int row);
    void GridClick(const QPoint& gridPos);
    bool Pressed() const { return FPressed; }
    // Page Up / Page Down step a month as the month selector does; Home / End
    // go to the first / last day of the month. The events are those of an
    // arrow key: OnChange, and OnDateClick while the grid is pressed.
    bool StepMonthByKey(int delta);
    bool GoToMonthEdgeByKey(bool last);

    // Tooltip of a day cell: every text of that day, one per line, its
    // statutory holiday last; empty for cells without a day or days without
    // texts.
    QString CellToolTip(int cell) const;

    // --- owned parts (read access for the owner and for checks) -------------------
    TCalendarGrid* Grid() const { return FGrid; }
    TCalendarUpDown* MonthUpDown() const { return FMonthUpDown; }
    TCalendarUpDown* YearUpDown() const { return FYearUpDown; }
    TCalendarLabel* TodayLabel() const { return FTodayLabel; }
    TCalendarLabel* MonthLabel() const { return FMonthLabel; }
    TCalendarLabel* MonthCaption() const { return FMonthCaption; }
    TCalendarLabel* YearLabel() const { return FYearLabel; }
    TCalendarLabel* YearCaption() const { return FYearCaption; }
    TCalendarLabel* InfoLabel() const { return FInfoLabel; }
    QMenu* MonthMenu() const { return FMonthMenu; }
    QMenu* YearMenu();  // filled on the first asking once the window exists

signals:
    void OnChange();
    void OnDateSelect();
    void OnDateClick();

protected:
    // Runs once, when the control is first shown: menus, today, title.
    void CreateWnd();
    void BuildMenus();
    void FillYearMenuOnce();

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RepaintGrid();
    // The grid cells whose day, texts or colours differ from before.
    void RepaintChangedCells(const std::array<TcnDateInf, TCalendarModel::kCellCount + 1>& cellsBefore,
                             const std::array<QString, 7>& weekNumsBefore);
    void Recompose();
    void MoveSelectionToCell(int cell);
    void PlaceMonthLabel();
    void PlaceInfoLabel();
    void EnsureBackgroundRatio(qreal ratio);
    bool ShowCellToolTip(QHelpEvent* event);
    void SyncSelectors();
    bool StepToDate(int year, int month, int day, bool fallBackToToday);
    void DrawHeaderCell(QPainter& painter, int col, const QRect& r);
    void DrawWeekNumCell(QPainter& painter, int row, const QRect& r);
    void DrawDayCell(QPainter& painter, int cell, const QRect& r, bool selected, bool showSelection);
    void DrawTitleCell(QPainter& painter, int cell, const QRect& r);
    void DrawHolidayMarkOf(QPainter& painter, const TcnDateInf& inf, const QRect& r, int dayBaseline,
                           bool showSelection);
    void HolidaysChanged();
    static TColor LabelColor(const TCalendarLabel* label);
    static void SetLabelColor(TCalendarLabel* label, TColor value);

    qn::NowSource FNow;
    TCalendarModel FModel;

    TCalendarGrid* FGrid = nullptr;
    TCalendarUpDown* FMonthUpDown = nullptr;
    TCalendarUpDown* FYearUpDown = nullptr;
    TCalendarLabel* FTodayLabel = nullptr;
    TCalendarLabel* FMonthLabel = nullptr;
    TCalendarLabel* FMonthCaption = nullptr;
    TCalendarLabel* FYearLabel = nullptr;
    TCalendarLabel* FYearCaption = nullptr;
    TCalendarLabel* FInfoLabel = nullptr;
    QMenu* FMonthMenu = nullptr;
    QMenu* FYearMenu = nullptr;
    QImage FBackBitmapImage;
    QImage FPictureBitmapImage;
    TTextLayerCache FWatermarks;
    qreal FPaintRatio = 0;                        // device pixels per pixel of the last painting; 0 before it
    std::optional<TDayCellInk> FCellInk;          // measured at the first need after a font change
    std::optional<THolidayMarkStyle> FMarkStyle;  // likewise

    bool FWindowCreated = false;
    bool FMenusBuilt = false;
    bool FYearMenuFilled = false;
    bool FPressed = false;
    bool FMovingSelection = false;
    int FMonthLabelRight = 0;  // the month number keeps its right edge here

    bool FShowTitle = false;
    bool FShowWeekNum = false;
    bool FShowFrame = true;
    bool FShowBackYearMonth = true;
    bool FShowWeekNumLine = true;
    bool FHideSelection = false;
    TCalendarFont FFontDate;
    TCalendarFont FFontCnDate;
    // The two fonts as drawn (ShownFont): measured and drawn with these.
    QFont FShownFontDate;
    QFont FShownFontCnDate;
    // The small text's font, made once: a font made anew for every cell
    // is looked up anew in Qt's font cache.
    const QFont FShownSongTi = SongTiFont();
    TColor FColorTitleWeekLine = 12961221;
    TColor FColorTitleWeekEnd = calcolor::Red;
    TColor FColorTitleWeek = 5197647;
    TColor FColorSelectedStart = 5484032;
    TColor FColorSelectedEnd = 6673664;
    TColor FColorSelectedFrame = 4625152;
    TColor FColorWeekNum = calcolor::Grey;
    TColor FColorHolidayOff = calcolor::Red;
    TColor FColorHolidayWork = 0x303030;
    TColor FColorShowFrame = calcolor::Grey;
    TColor FColorBackYear = 14543103;
    TColor FColorBackMonth = 15461355;
    TColor FColorTitleConstellation = calcolor::Black;
    TColor FColorTitleAnimalsYear = calcolor::Black;
    QImage FBackGround;
    bool FCenter = false;
    bool FStretch = false;
    bool FTransparent = false;
    std::uint8_t FAlphaBlend = 50;
    TDrawDateCellEvent FOnDrawDateCell;
    TDrawDateCellEvent FOnDrawCnDateCell;
};
