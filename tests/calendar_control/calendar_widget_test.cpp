// TChnCalendar as a widget on the offscreen platform: creation and geometry,
// SetDateTime, setters, pixels of the grabbed control, selectors, menus,
// mouse and keyboard choice with the order of the events, the statutory
// holiday marks and tooltips, and the demo.

#include "calendar_control/CalendarDemo.h"
#include "calendar_control/CalendarFonts.h"
#include "calendar_control/CalendarGrid.h"
#include "calendar_control/CalendarPainting.h"
#include "calendar_control/CalendarTitleParts.h"
#include "calendar_control/ChnCalendar.h"
#include "holidays/HolidayData.h"
#include "tests/support/CalendarTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDate>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include <map>
#include <memory>

namespace {

// Monday 6 May 2024, 10:30 — May 2024 fills cells 4..34.
const double kNow = qn::EncodeDateTime(2024, 5, 6, 10, 30, 0);

std::unique_ptr<TChnCalendar> ShownCalendar(double now = kNow)
{
    auto calendar = std::make_unique<TChnCalendar>(nullptr, qn::FixedClock(now));
    calendar->show();
    return calendar;
}

// Records the control's notifications in order.
struct EventLog {
    explicit EventLog(TChnCalendar& calendar)
    {
        QObject::connect(&calendar, &TChnCalendar::OnChange, [this] { events << "Change"; });
        QObject::connect(&calendar, &TChnCalendar::OnDateClick, [this] { events << "DateClick"; });
        QObject::connect(&calendar, &TChnCalendar::OnDateSelect, [this] { events << "DateSelect"; });
    }
    QStringList events;
};

QPoint CellCentre(const TChnCalendar& calendar, int cell)
{
    return calendar.Grid()->CellRect(TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell)).center();
}

// Cell rectangle in control coordinates.
QRect CellOnControl(const TChnCalendar& calendar, int col, int row)
{
    return calendar.Grid()->CellRect(col, row).translated(calendar.Grid()->pos());
}

int CountPixels(const QImage& image, QColor color)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += QColor(image.pixel(x, y)) == color ? 1 : 0;
    return count;
}

QList<int> Widths(const TCalendarGrid& grid)
{
    QList<int> widths;
    for (int col = 0; col < TCalendarGrid::kColCount; ++col)
        widths << grid.ColWidth(col);
    return widths;
}

QList<int> Heights(const TCalendarGrid& grid)
{
    QList<int> heights;
    for (int row = 0; row < TCalendarGrid::kRowCount; ++row)
        heights << grid.RowHeight(row);
    return heights;
}

QAction* ActionByTag(QMenu& menu, int tag, const QString& name)
{
    for (QAction* action : menu.findChildren<QAction*>()) {
        if (action->data().toInt() == tag && action->objectName() == name && !action->menu())
            return action;
    }
    return nullptr;
}

enum class Step { MonthUp, MonthDown, YearUp, YearDown };

// First and last row (control coordinates) inside `area` where `image`
// differs from the composed background: the ink drawn there. {-1, -1} if none.
std::pair<int, int> InkRows(const QImage& image, const QImage& ground, const QRect& area)
{
    int first = -1;
    int last = -1;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFF) != (ground.pixel(x, y) & 0xFFFFFF)) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
        }
    }
    return {first, last};
}

std::shared_ptr<const qn::HolidayCalendar> BuiltInHolidays()
{
    return std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows());
}

// The control drawn into an image of `ratio` device pixels per pixel.
QImage RenderAt(TChnCalendar& calendar, qreal ratio)
{
    QImage image(DeviceRect(calendar.rect(), ratio).size(), QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    calendar.render(&image);
    return image;
}

// Pixels of `box` in `image` of the mark colours.
struct MarkInk {
    int red = 0;    // clearly red: the 休 of a day off
    int dark = 0;   // near black: the 班 of a working day
    int white = 0;  // the plate under a mark on the selection
};

MarkInk InkIn(const QImage& image, const QRect& box)
{
    MarkInk ink;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c(image.pixel(x, y));
            ink.red += c.red() >= 200 && c.green() <= 80 && c.blue() <= 80 ? 1 : 0;
            ink.dark += std::max({c.red(), c.green(), c.blue()}) <= 80 ? 1 : 0;
            ink.white += c == QColor(Qt::white) ? 1 : 0;
        }
    }
    return ink;
}

// February 2024 after the State Council's notice.
const std::map<int, QString> kFebruary2024Marks{
    {4, "班"},  {10, "休"}, {11, "休"}, {12, "休"}, {13, "休"},
    {14, "休"}, {15, "休"}, {16, "休"}, {17, "休"}, {18, "班"},
};

}  // namespace

Q_DECLARE_METATYPE(Step)

class CalendarWidgetTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void creation();
    void windowCreationSelectsNowAndShowsTitle();
    void geometry_data();
    void geometry();
    void showWeekNumWidensOnlyColumnZero();
    void setDateTimeLaysOutMonth();
    void refusalsRaiseNothing_data();
    void refusalsRaiseNothing();
    void layoutColoursWaitForNextMonth();
    void selectionGradientAndFrame();
    void drawHandlerSuppressesFrame();
    void drawHandlersSeeEveryDay();
    void hiddenSelectionWithoutFocus();
    void watermark();
    void otherDayOfTheMonthLeavesNothingStale();
    void backgroundPicture();
    void selectors_data();
    void selectors();
    void selectorArrowClick();
    void monthMenu();
    void monthMenuSteps_data();
    void monthMenuSteps();
    void yearMenu();
    void yearMenuIsFilledWhenItFirstOpens();
    void yearMenuSelectsYears();
    void todayActions();
    void gridContextMenuOnlyWithoutTitle();
    void labelMenus();
    void mouseChoiceEventOrder_data();
    void mouseChoiceEventOrder();
    void selectCellRefusals();
    void keyboardMovesAndPressFlag();
    void keyboardPagesAndMonthEnds_data();
    void keyboardPagesAndMonthEnds();
    void pagingAfterPressReportsClick();
    void dayAndLunarTextReadAsPairs_data();
    void dayAndLunarTextReadAsPairs();
    void renderedAtRatioTwoIsSharp();
    void infoLineStaysInside_data();
    void infoLineStaysInside();
    void infoLineFitsEveryYear();
    void tooltipsListEveryTextOfTheDay();
    void holidayMarksInTheirCorners_data();
    void holidayMarksInTheirCorners();
    void holidayMarkOnTheSelection_data();
    void holidayMarkOnTheSelection();
    void noMarksWithoutData();
    void holidayTooltips();
    void demoShowsToday();
};

void CalendarWidgetTest::initTestCase() { InstallWindowsFontSubstitutes(); }

void CalendarWidgetTest::creation()
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    QCOMPARE(calendar.size(), QSize(313, 253));
    QCOMPARE(calendar.DateTime(), 0.0);
    QVERIFY(!calendar.ShowTitle());
    for (int cell = 1; cell <= 42; ++cell)
        QVERIFY(!calendar.FDays()[cell].InUse);

    QVERIFY(!calendar.ShowWeekNum());
    QVERIFY(calendar.ShowFrame());
    QVERIFY(calendar.ShowBackYearMonth());
    QVERIFY(calendar.ShowWeekNumLine());
    QVERIFY(!calendar.HideSelection());
    QVERIFY(!calendar.Center());
    QVERIFY(!calendar.Stretch());
    QVERIFY(!calendar.Transparent());
    QCOMPARE(calendar.AlphaBlend(), std::uint8_t{50});
    QVERIFY(calendar.BackGround().isNull());

    const QList<std::pair<TColor, TColor>> colours{
        {calendar.ColorTitleWeekLine(), 12961221}, {calendar.ColorTitleWeekEnd(), 255},
        {calendar.ColorTitleWeek(), 5197647},      {calendar.ColorCnDate(), 32768},
        {calendar.ColorDate(), 5197647},           {calendar.ColorHoliday(), 33023},
        {calendar.ColorLunarHolDay(), 16733011},   {calendar.ColorCnHolDay(), 33023},
        {calendar.ColorSelectedStart(), 5484032},  {calendar.ColorSelectedEnd(), 6673664},
        {calendar.ColorSelectedFrame(), 4625152},  {calendar.ColorWeekNum(), 8421504},
        {calendar.ColorShowFrame(), 8421504},      {calendar.ColorBackYear(), 14543103},
        {calendar.ColorBackMonth(), 15461355},     {calendar.ColorTitleToday(), 16711680},
        {calendar.ColorTitleMonth(), 12615808},    {calendar.ColorTitleYear(), 16711680},
        {calendar.ColorTitleSelected(), 8421504},  {calendar.ColorTitleConstellation(), 0},
        {calendar.ColorTitleAnimalsYear(), 0},     {calendar.FontCnDate().Color, 15658734}};
    for (int i = 0; i < colours.size(); ++i)
        QVERIFY2(colours[i].first == colours[i].second, qPrintable(QStringLiteral("colour %1").arg(i)));

    QCOMPARE(calendar.FontDate().Font.family(), QStringLiteral("黑体"));
    QVERIFY(calendar.FontDate().Font.bold());
    QCOMPARE(calendar.FontDate().Font.pixelSize(), 12);
    QCOMPARE(calendar.FontCnDate().Font.family(), QStringLiteral("宋体"));
    QVERIFY(!calendar.FontCnDate().Font.bold());

    QCOMPARE(calendar.TodayLabel()->text(), QStringLiteral("今天"));
    QCOMPARE(calendar.TodayLabel()->pos(), QPoint(272, 18));
    QVERIFY(calendar.TodayLabel()->font().underline());
    QCOMPARE(calendar.MonthCaption()->pos(), QPoint(45, 20));
    QCOMPARE(calendar.YearLabel()->pos(), QPoint(120, 0));
    QCOMPARE(calendar.YearCaption()->pos(), QPoint(205, 18));
    QCOMPARE(calendar.InfoLabel()->pos(), QPoint(10, 236));
    QCOMPARE(calendar.MonthUpDown()->pos(), QPoint(60, 10));
    QCOMPARE(calendar.YearUpDown()->pos(), QPoint(220, 10));
    QCOMPARE(calendar.MonthUpDown()->Min(), 0);
    QCOMPARE(calendar.MonthUpDown()->Max(), 13);
    QCOMPARE(calendar.YearUpDown()->Min(), 1);
    QCOMPARE(calendar.YearUpDown()->Max(), 2100);
    QCOMPARE(calendar.TodayLabel()->cursor().shape(), Qt::PointingHandCursor);
    QCOMPARE(calendar.YearCaption()->cursor().shape(), Qt::PointingHandCursor);
    QVERIFY(calendar.MonthMenu()->actions().isEmpty());  // menus are filled when the window is created
}

void CalendarWidgetTest::windowCreationSelectsNowAndShowsTitle()
{
    auto calendar = std::make_unique<TChnCalendar>(nullptr, qn::FixedClock(kNow));
    EventLog log(*calendar);
    // The owner may set a date before the window exists; creation selects now again.
    QVERIFY(calendar->SetDateTime(Date(2000, 1, 1)));
    calendar->show();
    QCOMPARE(log.events, (QStringList{"Change", "Change"}));
    QCOMPARE(calendar->DateTime(), kNow);
    QVERIFY(calendar->ShowTitle());
    QVERIFY(calendar->MonthUpDown()->isVisible());
    QVERIFY(calendar->YearUpDown()->isVisible());
    QCOMPARE(calendar->MonthMenu()->actions().size(), 14);
}

void CalendarWidgetTest::geometry_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("showTitle");
    QTest::addColumn<QRect>("grid");
    QTest::addColumn<QList<int>>("widths");
    QTest::addColumn<QList<int>>("heights");
    QTest::newRow("313 x 253 with title")
        << QSize(313, 253) << true << QRect(8, 40, 298, 186) << QList<int>{6, 40, 40, 40, 40, 40, 40, 40, 12}
        << QList<int>{18, 27, 27, 27, 27, 27, 33};
    QTest::newRow("the main window's 311 x 253")
        << QSize(311, 253) << true << QRect(8, 40, 296, 186) << QList<int>{6, 40, 40, 40, 40, 40, 40, 40, 10}
        << QList<int>{18, 27, 27, 27, 27, 27, 33};
    QTest::newRow("313 x 253 without title")
        << QSize(313, 253) << false << QRect(2, 2, 309, 249) << QList<int>{6, 42, 42, 42, 42, 42, 42, 42, 9}
        << QList<int>{18, 37, 37, 37, 37, 37, 46};
}

void CalendarWidgetTest::geometry()
{
    QFETCH(QSize, size);
    QFETCH(bool, showTitle);
    QFETCH(QRect, grid);
    QFETCH(QList<int>, widths);
    QFETCH(QList<int>, heights);
    auto calendar = ShownCalendar();
    calendar->resize(size);
    calendar->SetShowTitle(showTitle);
    QCOMPARE(calendar->Grid()->geometry(), grid);
    QCOMPARE(Widths(*calendar->Grid()), widths);
    QCOMPARE(Heights(*calendar->Grid()), heights);
    QCOMPARE(calendar->MonthUpDown()->isVisible(), showTitle);
    QCOMPARE(calendar->Grid()->PopupMenu(), showTitle ? nullptr : calendar->YearMenu());
    QCOMPARE(calendar->FBackBitmap().size(), size);
}

void CalendarWidgetTest::showWeekNumWidensOnlyColumnZero()
{
    auto calendar = ShownCalendar();
    calendar->SetShowWeekNum(true);
    QCOMPARE(Widths(*calendar->Grid()), (QList<int>{18, 40, 40, 40, 40, 40, 40, 40, 12}));
    calendar->SetShowWeekNum(false);
    QCOMPARE(Widths(*calendar->Grid()), (QList<int>{6, 40, 40, 40, 40, 40, 40, 40, 12}));

    // Switched on before the window exists, the column is wide from the start.
    TChnCalendar early(nullptr, qn::FixedClock(kNow));
    early.SetShowWeekNum(true);
    early.show();
    QCOMPARE(early.Grid()->ColWidth(0), 18);
    QCOMPARE(early.Grid()->ColWidth(1), 39);  // (298 - 18) / 7 - 1
}

void CalendarWidgetTest::setDateTimeLaysOutMonth()
{
    auto calendar = ShownCalendar();
    EventLog log(*calendar);
    QVERIFY(calendar->SetDateTime(Date(2010, 6, 1) + 0.25));
    QCOMPARE(log.events, QStringList{"Change"});
    QCOMPARE(calendar->DateTime(), Date(2010, 6, 1) + 0.25);  // keeps its time of day
    QCOMPARE(calendar->CnDate(), QStringLiteral("四月十九"));
    QCOMPARE(calendar->InfoLabel()->text(), QStringLiteral("2010-06-01 农历四月十九"));
    QCOMPARE(calendar->YearLabel()->text(), QStringLiteral("2010"));
    QCOMPARE(calendar->MonthLabel()->text(), QStringLiteral("6"));
    QCOMPARE(calendar->YearUpDown()->Position(), 2010);
    QCOMPARE(calendar->MonthUpDown()->Position(), 6);
    // 1 June 2010 was a Tuesday: cell 3, row 1, column 3.
    QCOMPARE(calendar->Grid()->Col(), 3);
    QCOMPARE(calendar->Grid()->Row(), 1);
    QCOMPARE(calendar->FDays()[40].DayText, QStringLiteral("双子"));
    QVERIFY(calendar->FDays()[32].InUse);  // 30 June
    QVERIFY(!calendar->FDays()[33].InUse);

    // The month number keeps its right edge; the "月" stays after it.
    const int right = calendar->MonthLabel()->geometry().right();
    calendar->SetDateTime(Date(2010, 12, 1));
    QCOMPARE(calendar->MonthLabel()->geometry().right(), right);
    QVERIFY(right < calendar->MonthCaption()->x());

    calendar->SetDateTime(Date(1900, 2, 10));
    QVERIFY(calendar->InfoLabel()->text().startsWith(QStringLiteral("[清]")));
    QVERIFY(calendar->InfoLabel()->text().endsWith(QStringLiteral(" 农历正月十一")));
}

void CalendarWidgetTest::refusalsRaiseNothing_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("the date held") << kNow;
    QTest::newRow("year 0") << Date(0, 6, 1);
    QTest::newRow("year 2101") << Date(2101, 1, 1);
    QTest::newRow("not a number") << std::nan("");
}

void CalendarWidgetTest::refusalsRaiseNothing()
{
    QFETCH(double, value);
    auto calendar = ShownCalendar();
    EventLog log(*calendar);
    const QString info = calendar->InfoLabel()->text();
    const QImage before = calendar->grab().toImage();
    QVERIFY(!calendar->SetDateTime(value));
    QVERIFY(log.events.isEmpty());
    QCOMPARE(calendar->DateTime(), kNow);
    QCOMPARE(calendar->YearUpDown()->Position(), 2024);
    QCOMPARE(calendar->InfoLabel()->text(), info);
    QCOMPARE(calendar->grab().toImage(), before);
}

void CalendarWidgetTest::layoutColoursWaitForNextMonth()
{
    auto calendar = ShownCalendar();
    EventLog log(*calendar);
    calendar->SetColorDate(0x123456);
    calendar->SetColorCnDate(0x654321);
    QVERIFY(!calendar->SetDateTime(calendar->DateTime()));
    QVERIFY(log.events.isEmpty());
    QCOMPARE(calendar->FDays()[5].DayColor, TColor{5197647});  // Thursday 2 May
    QCOMPARE(calendar->FDays()[5].CnColor, TColor{32768});
    calendar->SetDateTime(Date(2024, 5, 7));
    QCOMPARE(calendar->FDays()[5].DayColor, TColor{0x123456});
    QCOMPARE(calendar->FDays()[5].CnColor, TColor{0x654321});
    QCOMPARE(calendar->FDays()[4].DayColor, TColor{0x123456});  // Wednesday 1 May: 劳动节, date colour
    QCOMPARE(calendar->FDays()[7].DayColor, TColor{255});       // Saturday
}

void CalendarWidgetTest::selectionGradientAndFrame()
{
    auto calendar = ShownCalendar();
    const QImage image = calendar->grab().toImage();
    const QRect cell = CellOnControl(*calendar, calendar->Grid()->Col(), calendar->Grid()->Row());
    QCOMPARE(cell.height(), 27);
    const QColor start = ColorFromBgr(calendar->ColorSelectedStart());
    const QColor end = ColorFromBgr(calendar->ColorSelectedEnd());
    for (int y : {1, 2, 13, cell.height() - 2}) {
        QCOMPARE(QColor(image.pixel(cell.left() + 1, cell.top() + y)),
                 GradientRowColor(y, cell.height(), 256, start, end));
    }
    const QColor frame = ColorFromBgr(calendar->ColorSelectedFrame());
    QCOMPARE(QColor(image.pixel(cell.left(), cell.top() + 13)), frame);
    QCOMPARE(QColor(image.pixel(cell.right(), cell.top() + 13)), frame);
    QCOMPARE(QColor(image.pixel(cell.left() + 5, cell.top())), frame);
    QCOMPARE(QColor(image.pixel(cell.left() + 5, cell.bottom())), frame);
    // The neighbouring day has no gradient.
    const QRect next = cell.translated(cell.width(), 0);
    QCOMPARE(QColor(image.pixel(next.left() + 1, next.top() + 1)),
             QColor(calendar->FBackBitmap().pixel(next.left() + 1, next.top() + 1)));
}

void CalendarWidgetTest::drawHandlerSuppressesFrame()
{
    auto calendar = ShownCalendar();
    calendar->SetOnDrawCnDateCell(
        [](TChnCalendar*, int, QPainter&, const QRect&, bool selected, QString&, bool& defaultDraw) {
            if (selected)
                defaultDraw = false;
        });
    const QImage image = calendar->grab().toImage();
    const QRect cell = CellOnControl(*calendar, calendar->Grid()->Col(), calendar->Grid()->Row());
    const QColor gradient = GradientRowColor(13, cell.height(), 256, ColorFromBgr(calendar->ColorSelectedStart()),
                                             ColorFromBgr(calendar->ColorSelectedEnd()));
    QCOMPARE(QColor(image.pixel(cell.left(), cell.top() + 13)), gradient);
}

void CalendarWidgetTest::drawHandlersSeeEveryDay()
{
    auto calendar = ShownCalendar();
    QList<int> days;
    QList<int> selectedDays;
    calendar->SetOnDrawDateCell(
        [&](TChnCalendar* sender, int day, QPainter&, const QRect& r, bool selected, QString& text, bool& defaultDraw) {
            QCOMPARE(sender, calendar.get());
            QCOMPARE(r.topLeft(), QPoint(0, 0));
            QVERIFY(defaultDraw);
            QCOMPARE(text, QString::number(day));
            days << day;
            if (selected)
                selectedDays << day;
            text = QStringLiteral("X");
        });
    calendar->grab();
    std::sort(days.begin(), days.end());
    days.erase(std::unique(days.begin(), days.end()), days.end());
    selectedDays.erase(std::unique(selectedDays.begin(), selectedDays.end()), selectedDays.end());
    QCOMPARE(days.size(), 31);
    QCOMPARE(days.front(), 1);
    QCOMPARE(days.back(), 31);
    QCOMPARE(selectedDays, QList<int>{6});
}

void CalendarWidgetTest::hiddenSelectionWithoutFocus()
{
    auto calendar = ShownCalendar();
    calendar->SetHideSelection(true);
    calendar->Grid()->clearFocus();
    QVERIFY(!calendar->Grid()->hasFocus());
    const QImage image = calendar->grab().toImage();
    const QRect cell = CellOnControl(*calendar, calendar->Grid()->Col(), calendar->Grid()->Row());
    for (QPoint p : {QPoint(1, 1), QPoint(0, 13), QPoint(1, 25)}) {
        const QPoint at = cell.topLeft() + p;
        QCOMPARE(QColor(image.pixel(at)), QColor(calendar->FBackBitmap().pixel(at)));
    }
}

// Another day of the month shown repaints only the cells that changed: what
// is on the screen then equals a painting of the whole control, for days in
// other rows, on the title cells' row, with and without week numbers, a
// holiday and the month's last day.
void CalendarWidgetTest::otherDayOfTheMonthLeavesNothingStale()
{
    auto calendar = ShownCalendar(Date(2024, 2, 6));
    calendar->SetHolidays(BuiltInHolidays());
    QVERIFY(QTest::qWaitForWindowExposed(calendar.get()));
    const auto onScreen = [&] {
        QCoreApplication::processEvents();
        return calendar->screen()->grabWindow(calendar->winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto painted = [&] { return calendar->grab().toImage().convertToFormat(QImage::Format_RGB32); };
    for (const bool weekNumbers : {false, true}) {
        calendar->SetShowWeekNum(weekNumbers);
        for (const int day : {10, 29, 1, 12, 28, 6}) {
            QVERIFY(calendar->SetDateTime(Date(2024, 2, day)));
            const QImage screen = onScreen();
            QVERIFY2(screen == painted(), qPrintable(QStringLiteral("2024-02-%1").arg(day)));
        }
    }
}

void CalendarWidgetTest::watermark()
{
    auto calendar = ShownCalendar();
    const QColor year = ColorFromBgr(calendar->ColorBackYear());
    const QColor month = ColorFromBgr(calendar->ColorBackMonth());
    QVERIFY(CountPixels(calendar->grab().toImage(), year) > 100);
    QVERIFY(CountPixels(calendar->grab().toImage(), month) > 100);
    // The year sits in the upper half of the grid, the month in the lower.
    const QImage back = calendar->FBackBitmap();
    QVERIFY(CountPixels(back.copy(0, 0, 313, 119), year) > 100);
    QCOMPARE(CountPixels(back.copy(0, 119, 313, 134), year), 0);
    QCOMPARE(CountPixels(back.copy(0, 0, 313, 113), month), 0);
    // The frame is grey all round.
    const QColor grey = ColorFromBgr(calendar->ColorShowFrame());
    for (QPoint p : {QPoint(0, 0), QPoint(312, 100), QPoint(150, 252), QPoint(0, 200)})
        QCOMPARE(QColor(back.pixel(p)), grey);

    calendar->SetShowBackYearMonth(false);
    calendar->SetShowFrame(false);
    QCOMPARE(CountPixels(calendar->FBackBitmap(), year), 0);
    QCOMPARE(CountPixels(calendar->FBackBitmap(), month), 0);
    QCOMPARE(CountPixels(calendar->FBackBitmap(), Qt::white), 313 * 253);
}

void CalendarWidgetTest::backgroundPicture()
{
    auto calendar = ShownCalendar();
    calendar->SetShowBackYearMonth(false);
    const QImage plain = calendar->FBackBitmap();

    QImage keyOnly(313, 253, QImage::Format_RGB32);
    keyOnly.fill(QColor(10, 200, 30));
    calendar->SetBackGround(keyOnly);
    QCOMPARE(calendar->FBackBitmap(), plain);
    QCOMPARE(calendar->FPictureBitmap().size(), QSize(313, 253));

    QImage red(313, 253, QImage::Format_RGB32);
    red.fill(Qt::red);
    red.setPixel(0, 0, qRgb(255, 255, 255));
    calendar->SetBackGround(red);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 100)), QColor(255, 127, 127));
    calendar->SetAlphaBlend(100);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 100)), QColor(255, 255, 255));
    calendar->SetAlphaBlend(150);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 100)), QColor(255, 127, 127));
    calendar->SetAlphaBlend(80);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 100)), QColor(255, 51, 51));

    // A wide picture stretched and centred: rows 48..203 (FitPictureRect 313 x 156).
    QImage wide(100, 50, QImage::Format_RGB32);
    wide.fill(Qt::red);
    calendar->SetAlphaBlend(50);
    calendar->SetStretch(true);
    calendar->SetCenter(true);
    calendar->SetBackGround(wide);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 47)), QColor(Qt::white));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 48)), QColor(255, 127, 127));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 203)), QColor(255, 127, 127));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(150, 204)), QColor(Qt::white));

    // Centred at its own size.
    calendar->SetStretch(false);
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(105, 101)), QColor(Qt::white));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(106, 101)), QColor(255, 127, 127));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(205, 150)), QColor(255, 127, 127));
    QCOMPARE(QColor(calendar->FBackBitmap().pixel(206, 150)), QColor(Qt::white));

    calendar->SetBackGround(QImage());
    QVERIFY(calendar->FPictureBitmap().isNull());
    QCOMPARE(calendar->FBackBitmap(), plain);
}

void CalendarWidgetTest::selectors_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<Step>("step");
    QTest::addColumn<double>("expected");
    QTest::newRow("31 January up, leap year") << Date(2024, 1, 31) << Step::MonthUp << Date(2024, 2, 29);
    QTest::newRow("31 January up, common year") << Date(2023, 1, 31) << Step::MonthUp << Date(2023, 2, 28);
    QTest::newRow("31 March up") << Date(2024, 3, 31) << Step::MonthUp << Date(2024, 4, 30);
    QTest::newRow("December up") << Date(2024, 12, 15) << Step::MonthUp << Date(2025, 1, 15);
    QTest::newRow("January down") << Date(2024, 1, 15) << Step::MonthDown << Date(2023, 12, 15);
    QTest::newRow("29 February 2008, year up") << Date(2008, 2, 29) << Step::YearUp << Date(2009, 2, 28);
    QTest::newRow("29 February 2008, year down") << Date(2008, 2, 29) << Step::YearDown << Date(2007, 2, 28);
    QTest::newRow("time of day dropped") << Date(2024, 5, 6) + 0.4 << Step::MonthUp << Date(2024, 6, 6);
    QTest::newRow("December 2100 up is refused") << Date(2100, 12, 31) << Step::MonthUp << Date(2100, 12, 31);
    QTest::newRow("January of year 1 down is refused") << Date(1, 1, 5) << Step::MonthDown << Date(1, 1, 5);
    QTest::newRow("year 2100 up stays") << Date(2100, 6, 1) << Step::YearUp << Date(2100, 6, 1);
    QTest::newRow("year 1 down stays") << Date(1, 6, 1) << Step::YearDown << Date(1, 6, 1);
}

void CalendarWidgetTest::selectors()
{
    QFETCH(double, start);
    QFETCH(Step, step);
    QFETCH(double, expected);
    auto calendar = ShownCalendar();
    QVERIFY(calendar->SetDateTime(start));
    EventLog log(*calendar);
    switch (step) {
    case Step::MonthUp: calendar->MonthUpDown()->StepUp(); break;
    case Step::MonthDown: calendar->MonthUpDown()->StepDown(); break;
    case Step::YearUp: calendar->YearUpDown()->StepUp(); break;
    case Step::YearDown: calendar->YearUpDown()->StepDown(); break;
    }
    QCOMPARE(DateText(calendar->DateTime()), DateText(expected));
    QCOMPARE(calendar->DateTime(), expected);
    QCOMPARE(log.events, start == expected ? QStringList{} : QStringList{"Change"});
    // The selectors follow the date, also after a refused step.
    const qn::CivilDate d = qn::DecodeDate(calendar->DateTime());
    QCOMPARE(calendar->YearUpDown()->Position(), d.year);
    QCOMPARE(calendar->MonthUpDown()->Position(), d.month);
}

void CalendarWidgetTest::selectorArrowClick()
{
    auto calendar = ShownCalendar();
    TCalendarUpDown* month = calendar->MonthUpDown();
    QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(month->width() / 2, 2));
    QCOMPARE(calendar->DateTime(), Date(2024, 6, 6));
    QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(month->width() / 2, month->height() - 2));
    QTest::mouseClick(month, Qt::LeftButton, {}, QPoint(month->width() / 2, month->height() - 2));
    QCOMPARE(calendar->DateTime(), Date(2024, 4, 6));
    TCalendarUpDown* year = calendar->YearUpDown();
    QTest::mouseClick(year, Qt::LeftButton, {}, QPoint(year->width() / 2, 2));
    QCOMPARE(calendar->DateTime(), Date(2025, 4, 6));
}

void CalendarWidgetTest::monthMenu()
{
    auto calendar = ShownCalendar();
    const QList<QAction*> items = calendar->MonthMenu()->actions();
    QCOMPARE(items.size(), 14);
    QCOMPARE(items[0]->text(), QStringLiteral("今日"));
    QCOMPARE(items[0]->objectName(), QStringLiteral("MenuMonth_ToDay"));
    QCOMPARE(items[0]->data().toInt(), 0);
    QCOMPARE(calendar->MonthMenu()->defaultAction(), items[0]);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[1]->objectName(), QStringLiteral("MenuMonth_ToDay_"));
    const QLocale locale = CalendarLocale();
    for (int month = 1; month <= 12; ++month) {
        QAction* item = items[month + 1];
        QCOMPARE(item->objectName(), QStringLiteral("MenuMonth_%1").arg(month - 1));
        QCOMPARE(item->data().toInt(), month);
        QCOMPARE(item->text(), locale.toString(QDate(2004, month, 1), QStringLiteral("MMMM")));
    }
    if (locale.name() == QStringLiteral("zh_CN")) {
        QCOMPARE(items[2]->text(), QStringLiteral("一月"));
        QCOMPARE(items[13]->text(), QStringLiteral("十二月"));
    }
}

void CalendarWidgetTest::monthMenuSteps_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("tag");
    QTest::addColumn<double>("expected");
    QTest::newRow("31 March to February") << Date(2024, 3, 31) << 2 << Date(2024, 2, 29);
    QTest::newRow("to December keeps the day") << Date(2023, 7, 30) << 12 << Date(2023, 12, 30);
    QTest::newRow("same month drops the time") << Date(2024, 5, 6) + 0.5 << 5 << Date(2024, 5, 6);
}

void CalendarWidgetTest::monthMenuSteps()
{
    QFETCH(double, start);
    QFETCH(int, tag);
    QFETCH(double, expected);
    auto calendar = ShownCalendar();
    calendar->SetDateTime(start);
    calendar->MonthMenu()->actions().at(tag + 1)->trigger();
    QCOMPARE(DateText(calendar->DateTime()), DateText(expected));
    QCOMPARE(calendar->DateTime(), expected);
}

// The year menu's entries are made when it first opens: the grid's own
// popup (title hidden) shows them without anyone asking for the menu first.
void CalendarWidgetTest::yearMenuIsFilledWhenItFirstOpens()
{
    auto calendar = ShownCalendar();
    calendar->SetShowTitle(false);
    QMenu* menu = calendar->Grid()->PopupMenu();
    QVERIFY(menu != nullptr);
    QVERIFY(menu->actions().isEmpty());
    menu->popup(calendar->mapToGlobal(QPoint(10, 10)));
    QCOMPARE(menu->actions().size(), 24);
    QCOMPARE(menu->actions().at(0)->objectName(), QStringLiteral("MenuYear_ToDay"));
    menu->hide();
    QCOMPARE(calendar->YearMenu(), menu);
    QCOMPARE(menu->actions().size(), 24);  // made once
}

void CalendarWidgetTest::yearMenu()
{
    auto calendar = ShownCalendar();
    const QList<QAction*> items = calendar->YearMenu()->actions();
    QCOMPARE(items.size(), 24);
    QCOMPARE(items[0]->text(), QStringLiteral("今日"));
    QCOMPARE(items[0]->objectName(), QStringLiteral("MenuYear_ToDay"));
    QCOMPARE(calendar->YearMenu()->defaultAction(), items[0]);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[1]->objectName(), QStringLiteral("MenuYear_ToDay_1"));
    QCOMPARE(items[2]->text(), QStringLiteral("历史日期"));
    QCOMPARE(items[2]->objectName(), QStringLiteral("MenuYear_History"));
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[3]->objectName(), QStringLiteral("MenuYear_ToDay_2"));

    const QList<QAction*> centuries = items[2]->menu()->actions();
    QCOMPARE(centuries.size(), 19);
    for (int k = 0; k <= 18; ++k) {
        QCOMPARE(centuries[k]->text(), QString::number(100 * k));
        QCOMPARE(centuries[k]->objectName(), QStringLiteral("MenuYear_History_%1").arg(100 * k + 10));
        const QList<QAction*> years = centuries[k]->menu()->actions();
        QCOMPARE(years.size(), 10);
        for (int j = 0; j < 10; ++j) {
            const int year = 100 * k + 10 * (j + 1);
            QCOMPARE(years[j]->text(), QString::number(year));
            QCOMPARE(years[j]->objectName(), QStringLiteral("MenuYear_History_%1").arg(year));
            QCOMPARE(years[j]->data().toInt(), year);
        }
    }
    for (int i = 0; i < 20; ++i) {
        const int decade = 1900 + 10 * i;
        QAction* item = items[4 + i];
        QCOMPARE(item->text(), QString::number(decade));
        QCOMPARE(item->objectName(), QStringLiteral("MenuYear_%1").arg(decade));
        const QList<QAction*> years = item->menu()->actions();
        QCOMPARE(years.size(), 10);
        for (int j = 0; j < 10; ++j) {
            QCOMPARE(years[j]->text(), QString::number(decade + j));
            QCOMPARE(years[j]->objectName(), QStringLiteral("MenuYear_%1").arg(decade + j));
            QCOMPARE(years[j]->data().toInt(), decade + j);
        }
    }
}

void CalendarWidgetTest::yearMenuSelectsYears()
{
    auto calendar = ShownCalendar();
    struct Case {
        double start;
        QString name;
        int tag;
        double expected;
    } cases[] = {
        {Date(2024, 5, 6), "MenuYear_History_1900", 1900, Date(1900, 5, 6)},
        {Date(2024, 5, 6), "MenuYear_1900", 1900, Date(1900, 5, 6)},
        {Date(2024, 2, 29), "MenuYear_History_10", 10, Date(10, 2, 28)},
        {Date(2008, 2, 29), "MenuYear_2099", 2099, Date(2099, 2, 28)},
    };
    for (const Case& c : cases) {
        calendar->SetDateTime(c.start);
        QAction* item = ActionByTag(*calendar->YearMenu(), c.tag, c.name);
        QVERIFY2(item, qPrintable(c.name));
        item->trigger();
        QCOMPARE(DateText(calendar->DateTime()), DateText(c.expected));
        QCOMPARE(calendar->YearUpDown()->Position(), qn::DecodeDate(c.expected).year);
    }
}

void CalendarWidgetTest::todayActions()
{
    auto calendar = ShownCalendar();
    EventLog log(*calendar);
    calendar->SetDateTime(Date(1999, 9, 9));
    calendar->MonthMenu()->actions().at(0)->trigger();
    QCOMPARE(calendar->DateTime(), kNow);
    calendar->SetDateTime(Date(1999, 9, 9));
    calendar->YearMenu()->actions().at(0)->trigger();
    QCOMPARE(calendar->DateTime(), kNow);
    calendar->SetDateTime(Date(1999, 9, 9));
    QTest::mouseClick(calendar->TodayLabel(), Qt::LeftButton);
    QCOMPARE(calendar->DateTime(), kNow);
    QCOMPARE(log.events.size(), 6);
}

void CalendarWidgetTest::gridContextMenuOnlyWithoutTitle()
{
    auto calendar = ShownCalendar();
    TCalendarGrid* grid = calendar->Grid();
    const QPoint pos = grid->CellRect(3, 3).center();
    QContextMenuEvent withTitle(QContextMenuEvent::Mouse, pos, grid->mapToGlobal(pos));
    QApplication::sendEvent(grid, &withTitle);
    QVERIFY(!calendar->YearMenu()->isVisible());

    calendar->SetShowTitle(false);
    QContextMenuEvent withoutTitle(QContextMenuEvent::Mouse, pos, grid->mapToGlobal(pos));
    QApplication::sendEvent(grid, &withoutTitle);
    QVERIFY(calendar->YearMenu()->isVisible());
    calendar->YearMenu()->hide();
}

void CalendarWidgetTest::labelMenus()
{
    auto calendar = ShownCalendar();
    const struct {
        QWidget* label;
        QMenu* menu;
    } cases[] = {{calendar->MonthLabel(), calendar->MonthMenu()},
                 {calendar->MonthCaption(), calendar->MonthMenu()},
                 {calendar->YearLabel(), calendar->YearMenu()},
                 {calendar->YearCaption(), calendar->YearMenu()}};
    for (const auto& c : cases) {
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, QPoint(2, 2), c.label->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(c.label, &rightClick);
        QVERIFY(c.menu->isVisible());
        c.menu->hide();
        QTest::mouseClick(c.label, Qt::LeftButton, {}, QPoint(2, 2));
        QVERIFY(c.menu->isVisible());
        c.menu->hide();
    }
    QVERIFY(!calendar->MonthMenu()->isVisible());
}

void CalendarWidgetTest::mouseChoiceEventOrder_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<int>("cell");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<double>("expected");
    QTest::newRow("another day") << kNow << 18 << QStringList{"Change", "DateClick", "DateSelect"} << Date(2024, 5, 15);
    QTest::newRow("today's cell drops the time")
        << kNow << 9 << QStringList{"Change", "DateClick", "DateSelect"} << Date(2024, 5, 6);
    QTest::newRow("the day already held")
        << Date(2024, 5, 6) << 9 << QStringList{"DateClick", "DateSelect"} << Date(2024, 5, 6);
    QTest::newRow("empty cell before the 1st") << kNow << 1 << QStringList{} << kNow;
    QTest::newRow("empty cell after the last") << kNow << 35 << QStringList{} << kNow;
    QTest::newRow("title cell") << kNow << 41 << QStringList{} << kNow;
}

void CalendarWidgetTest::mouseChoiceEventOrder()
{
    QFETCH(double, start);
    QFETCH(int, cell);
    QFETCH(QStringList, events);
    QFETCH(double, expected);
    auto calendar = ShownCalendar();
    calendar->SetDateTime(start);
    EventLog log(*calendar);
    QTest::mouseClick(calendar->Grid(), Qt::LeftButton, {}, CellCentre(*calendar, cell));
    QCOMPARE(log.events, events);
    QCOMPARE(calendar->DateTime(), expected);
}

void CalendarWidgetTest::selectCellRefusals()
{
    auto calendar = ShownCalendar();
    EventLog log(*calendar);
    const QList<QPoint> refused{{0, 1}, {8, 2}, {3, 0}, {1, 1}, {3, 1}, {7, 5}, {3, 6}, {4, 6}, {5, 6}, {6, 6}, {7, 6}};
    for (QPoint p : refused)
        QVERIFY2(!calendar->GridSelectCell(p.x(), p.y()), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    QVERIFY(log.events.isEmpty());
    QCOMPARE(calendar->DateTime(), kNow);
    QVERIFY(calendar->GridSelectCell(4, 1));  // Wednesday 1 May
    QCOMPARE(calendar->DateTime(), Date(2024, 5, 1));
    QCOMPARE(log.events, QStringList{"Change"});  // no press, no OnDateClick
}

void CalendarWidgetTest::keyboardMovesAndPressFlag()
{
    auto calendar = ShownCalendar();
    TCalendarGrid* grid = calendar->Grid();
    EventLog log(*calendar);
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(calendar->DateTime(), Date(2024, 5, 7));
    QCOMPARE(log.events, QStringList{"Change"});

    log.events.clear();
    QTest::keyClick(grid, Qt::Key_Up);  // would be 30 April: refused
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(calendar->DateTime(), Date(2024, 5, 7));
    QCOMPARE(grid->Row(), 2);
    QVERIFY(log.events.isEmpty());

    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(calendar->DateTime(), Date(2024, 5, 14));

    // After a press on the grid, keyboard moves report a click too.
    QTest::mouseClick(grid, Qt::LeftButton, {}, CellCentre(*calendar, 30));  // 27 May
    QVERIFY(calendar->Pressed());
    log.events.clear();
    QTest::keyClick(grid, Qt::Key_Left);
    QCOMPARE(calendar->DateTime(), Date(2024, 5, 26));
    QCOMPARE(log.events, (QStringList{"Change", "DateClick"}));

    // Leaving the grid ends the press.
    QEvent leaveGrid(QEvent::Leave);
    QApplication::sendEvent(grid, &leaveGrid);
    QVERIFY(!calendar->Pressed());
    log.events.clear();
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(log.events, QStringList{"Change"});

    // Leaving the control ends it as well.
    QTest::mousePress(grid, Qt::RightButton, {}, CellCentre(*calendar, 20));
    QVERIFY(calendar->Pressed());
    QTest::mouseRelease(grid, Qt::RightButton, {}, CellCentre(*calendar, 20));
    QEvent leaveControl(QEvent::Leave);
    QApplication::sendEvent(calendar.get(), &leaveControl);
    QVERIFY(!calendar->Pressed());
}

void CalendarWidgetTest::keyboardPagesAndMonthEnds_data()
{
    QTest::addColumn<double>("start");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<double>("expected");
    QTest::addColumn<int>("changes");
    const QList<int> down{Qt::Key_PageDown};
    const QList<int> up{Qt::Key_PageUp};
    QTest::newRow("page down") << kNow << down << Date(2024, 6, 6) << 1;
    QTest::newRow("page up twice") << kNow << QList<int>{Qt::Key_PageUp, Qt::Key_PageUp} << Date(2024, 3, 6) << 2;
    QTest::newRow("31 January, page down") << Date(2024, 1, 31) << down << Date(2024, 2, 29) << 1;
    QTest::newRow("31 March, page up") << Date(2023, 3, 31) << up << Date(2023, 2, 28) << 1;
    QTest::newRow("December, page down") << Date(2024, 12, 15) << down << Date(2025, 1, 15) << 1;
    QTest::newRow("January, page up") << Date(2024, 1, 15) << up << Date(2023, 12, 15) << 1;
    QTest::newRow("December 2100, page down is refused") << Date(2100, 12, 31) << down << Date(2100, 12, 31) << 0;
    QTest::newRow("January of year 1, page up is refused") << Date(1, 1, 5) << up << Date(1, 1, 5) << 0;
    QTest::newRow("home") << kNow << QList<int>{Qt::Key_Home} << Date(2024, 5, 1) << 1;
    QTest::newRow("end") << kNow << QList<int>{Qt::Key_End} << Date(2024, 5, 31) << 1;
    QTest::newRow("end of a leap February") << Date(2024, 2, 3) << QList<int>{Qt::Key_End} << Date(2024, 2, 29) << 1;
    QTest::newRow("home on the first") << Date(2024, 5, 1) << QList<int>{Qt::Key_Home} << Date(2024, 5, 1) << 0;
    QTest::newRow("page down, then end") << Date(2024, 1, 10) << QList<int>{Qt::Key_PageDown, Qt::Key_End}
                                         << Date(2024, 2, 29) << 2;
}

void CalendarWidgetTest::keyboardPagesAndMonthEnds()
{
    QFETCH(double, start);
    QFETCH(QList<int>, keys);
    QFETCH(double, expected);
    QFETCH(int, changes);
    auto calendar = ShownCalendar();
    calendar->SetDateTime(start);
    EventLog log(*calendar);
    for (int key : keys)
        QTest::keyClick(calendar->Grid(), static_cast<Qt::Key>(key));
    QCOMPARE(DateText(calendar->DateTime()), DateText(expected));
    QCOMPARE(calendar->DateTime(), expected);
    // Without a press on the grid a keyboard move raises OnChange alone, as the arrow keys do.
    QCOMPARE(log.events, QStringList(changes, QStringLiteral("Change")));
    // The selection and the selectors follow the date.
    const qn::CivilDate d = qn::DecodeDate(expected);
    const int cell = qn::SundayFirstWeekday(Date(d.year, d.month, 1)) + d.day - 1;
    QCOMPARE(calendar->Grid()->Col(), TCalendarModel::CellColumn(cell));
    QCOMPARE(calendar->Grid()->Row(), TCalendarModel::CellRow(cell));
    QCOMPARE(calendar->MonthUpDown()->Position(), d.month);
    QCOMPARE(calendar->YearUpDown()->Position(), d.year);
}

void CalendarWidgetTest::pagingAfterPressReportsClick()
{
    auto calendar = ShownCalendar();
    TCalendarGrid* grid = calendar->Grid();
    QTest::mouseClick(grid, Qt::LeftButton, {}, CellCentre(*calendar, 18));  // 15 May
    QVERIFY(calendar->Pressed());
    EventLog log(*calendar);
    const QList<std::pair<Qt::Key, double>> moves{{Qt::Key_Right, Date(2024, 5, 16)},
                                                  {Qt::Key_PageDown, Date(2024, 6, 16)},
                                                  {Qt::Key_End, Date(2024, 6, 30)},
                                                  {Qt::Key_PageUp, Date(2024, 5, 30)},
                                                  {Qt::Key_Home, Date(2024, 5, 1)}};
    for (const auto& [key, date] : moves) {
        log.events.clear();
        QTest::keyClick(grid, key);
        QCOMPARE(DateText(calendar->DateTime()), DateText(date));
        QCOMPARE(log.events, (QStringList{"Change", "DateClick"}));
    }
    // A refused page raises nothing.
    calendar->SetDateTime(Date(2100, 12, 1));
    log.events.clear();
    QTest::keyClick(grid, Qt::Key_PageDown);
    QVERIFY(log.events.isEmpty());
}

void CalendarWidgetTest::dayAndLunarTextReadAsPairs_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("showTitle");
    QTest::newRow("the main window's 311 x 253") << QSize(311, 253) << true;
    QTest::newRow("the demo's 313 x 253") << QSize(313, 253) << true;
    QTest::newRow("313 x 253 without title") << QSize(313, 253) << false;
}

// Measured on the drawn pixels: each lunar text lies nearer to its own day
// number above it than to the number of the next row below it.
void CalendarWidgetTest::dayAndLunarTextReadAsPairs()
{
    QFETCH(QSize, size);
    QFETCH(bool, showTitle);
    auto calendar = ShownCalendar();
    calendar->resize(size);
    calendar->SetShowTitle(showTitle);
    calendar->SetHideSelection(true);
    calendar->Grid()->clearFocus();
    // One line at a time, so the ink of each is known.
    bool numbersOnly = true;
    calendar->SetOnDrawDateCell([&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) {
        defaultDraw = numbersOnly;
    });
    calendar->SetOnDrawCnDateCell([&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) {
        defaultDraw = !numbersOnly;
    });
    const QImage numbers = calendar->grab().toImage();
    numbersOnly = false;
    const QImage lunar = calendar->grab().toImage();
    const QImage ground = calendar->FBackBitmap();

    int pairs = 0;
    // May 2024: days in cells 4..34; a day with another day under it.
    for (int cell = 4; cell + 7 <= 34; ++cell) {
        const QRect here = CellOnControl(*calendar, TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell));
        const QRect below = here.translated(0, here.height());
        const auto [numberTop, numberBottom] = InkRows(numbers, ground, here);
        const auto [lunarTop, lunarBottom] = InkRows(lunar, ground, here);
        const auto [nextNumberTop, nextNumberBottom] = InkRows(numbers, ground, below);
        const QString where = QStringLiteral("cell %1: number %2..%3, lunar %4..%5, next number from %6")
                                  .arg(cell)
                                  .arg(numberTop)
                                  .arg(numberBottom)
                                  .arg(lunarTop)
                                  .arg(lunarBottom)
                                  .arg(nextNumberTop);
        QVERIFY2(numberTop >= 0 && lunarTop >= 0 && nextNumberTop >= 0, qPrintable(where));
        const int ownGap = lunarTop - numberBottom - 1;
        const int nextGap = nextNumberTop - lunarBottom - 1;
        QVERIFY2(ownGap >= 1, qPrintable(where));
        QVERIFY2(ownGap < nextGap, qPrintable(where));
        // Both lines stay inside their cell.
        QVERIFY2(numberTop > here.top() && lunarBottom < here.bottom(), qPrintable(where));
        ++pairs;
    }
    QCOMPARE(pairs, 24);
}

void CalendarWidgetTest::renderedAtRatioTwoIsSharp()
{
    auto calendar = ShownCalendar();
    const QImage before = calendar->grab().toImage();

    QImage sharp(calendar->size() * 2, QImage::Format_RGB32);
    sharp.setDevicePixelRatio(2);
    calendar->render(&sharp);
    QCOMPARE(calendar->FBackBitmap().devicePixelRatio(), 2.0);
    QCOMPARE(calendar->FBackBitmap().size(), calendar->size() * 2);
    // Digits, lunar texts and watermarks carry detail finer than a logical
    // pixel; a picture drawn at 1 and scaled up would have none.
    const QRect days = CellOnControl(*calendar, 1, 1).united(CellOnControl(*calendar, 7, 5));
    QVERIFY2(DetailedBlocks(sharp, days, 2) > 500, qPrintable(QString::number(DetailedBlocks(sharp, days, 2))));
    QVERIFY(DetailedBlocks(sharp, calendar->Grid()->geometry(), 2) > 1000);
    // The line under the weekdays is two device rows of its own colour, with
    // no blended rows beside it (in the margin column, where no text is near).
    const QRect header = CellOnControl(*calendar, 8, 0);
    const int lineY = header.bottom() - 3;
    const QColor line = ColorFromBgr(calendar->ColorTitleWeekLine());
    const int x = header.center().x() * 2;
    QCOMPARE(QColor(sharp.pixel(x, lineY * 2)), line);
    QCOMPARE(QColor(sharp.pixel(x, lineY * 2 + 1)), line);
    QCOMPARE(QColor(sharp.pixel(x, lineY * 2 - 1)), QColor(calendar->FBackBitmap().pixel(x, lineY * 2 - 1)));
    QCOMPARE(QColor(sharp.pixel(x, lineY * 2 + 2)), QColor(calendar->FBackBitmap().pixel(x, lineY * 2 + 2)));

    // Back on the screen the control paints at 1 again, as before.
    QCOMPARE(calendar->grab().toImage(), before);
    QCOMPARE(calendar->FBackBitmap().devicePixelRatio(), 1.0);
}

void CalendarWidgetTest::infoLineStaysInside_data()
{
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("date");
    QTest::addColumn<bool>("shortened");
    QTest::newRow("1314-02-14 in the main window") << QSize(311, 253) << Date(1314, 2, 14) << true;
    QTest::newRow("1314-02-14 in the demo") << QSize(313, 253) << Date(1314, 2, 14) << true;
    QTest::newRow("1312-05-01") << QSize(311, 253) << Date(1312, 5, 1) << true;
    QTest::newRow("1320-11-11") << QSize(311, 253) << Date(1320, 11, 11) << true;
    QTest::newRow("a narrow control") << QSize(200, 253) << Date(1900, 2, 10) << true;
    QTest::newRow("1900-02-10 fits") << QSize(311, 253) << Date(1900, 2, 10) << false;
    QTest::newRow("2010-06-01 fits") << QSize(311, 253) << Date(2010, 6, 1) << false;
    QTest::newRow("day 0, 1899-12-30") << QSize(311, 253) << 0.0 << false;
}

void CalendarWidgetTest::infoLineStaysInside()
{
    QFETCH(QSize, size);
    QFETCH(double, date);
    QFETCH(bool, shortened);
    auto calendar = ShownCalendar();
    calendar->resize(size);
    QVERIFY(calendar->SetDateTime(date));
    TCalendarModel model;
    model.SelectDate(date);
    const QString full = model.InfoText();
    const QString lunar = QStringLiteral(" 农历") + calendar->CnDate();

    const TCalendarLabel* info = calendar->InfoLabel();
    QVERIFY2(info->geometry().right() < calendar->width() - 1, qPrintable(info->text()));  // inside the frame
    QVERIFY(QFontMetrics(info->font()).horizontalAdvance(info->text()) <= info->width());
    QCOMPARE(info->text() != full, shortened);
    QVERIFY2(info->text().endsWith(lunar), qPrintable(info->text()));  // the lunar date is never cut
    QCOMPARE(info->text().left(3), full.left(3));
    // The whole line is the tooltip's first line.
    QCOMPARE(info->toolTip().split(QLatin1Char('\n')).first(), full);
}

void CalendarWidgetTest::infoLineFitsEveryYear()
{
    auto calendar = ShownCalendar();
    calendar->resize(311, 253);
    const TCalendarLabel* info = calendar->InfoLabel();
    for (int year = 1; year <= 2100; ++year) {
        calendar->SetDateTime(Date(year, 6, 1));
        QVERIFY2(info->geometry().right() < calendar->width() - 1, qPrintable(info->toolTip()));
        QVERIFY2(info->text().endsWith(QStringLiteral(" 农历") + calendar->CnDate()), qPrintable(info->text()));
    }
    // Growing the control gives the whole line back.
    calendar->SetDateTime(Date(1314, 2, 14));
    const QString shortText = info->text();
    calendar->resize(600, 253);
    QCOMPARE(info->text(), info->toolTip().split(QLatin1Char('\n')).first());
    QVERIFY(info->text().size() > shortText.size());
}

void CalendarWidgetTest::tooltipsListEveryTextOfTheDay()
{
    auto calendar = ShownCalendar();
    calendar->SetDateTime(Date(2020, 10, 1));  // 国庆节 and 中秋节 on one day
    const int cell = qn::SundayFirstWeekday(Date(2020, 10, 1));
    QCOMPARE(calendar->FDays()[cell].CnText, QStringLiteral("中秋节"));  // the cell itself shows one
    const QString both = QStringLiteral("国庆节\n中秋节");
    QCOMPARE(calendar->CellToolTip(cell), both);
    QCOMPARE(calendar->InfoLabel()->toolTip(), calendar->InfoLabel()->text() + QLatin1Char('\n') + both);

    // Hovering the cell shows it.
    TCalendarGrid* grid = calendar->Grid();
    const QPoint at = CellCentre(*calendar, cell);
    QHelpEvent help(QEvent::ToolTip, at, grid->mapToGlobal(at));
    QApplication::sendEvent(grid, &help);
    QTRY_COMPARE(QToolTip::text(), both);
    QToolTip::hideText();

    // A plain day, an empty cell and a title cell have none.
    QCOMPARE(calendar->CellToolTip(cell + 1), QString());  // 2 October
    QCOMPARE(calendar->CellToolTip(1), QString());
    QCOMPARE(calendar->CellToolTip(41), QString());
    // A solar term alone: 4 April 2024 is 清明.
    calendar->SetDateTime(Date(2024, 4, 4));
    QCOMPARE(calendar->CellToolTip(qn::SundayFirstWeekday(Date(2024, 4, 1)) + 3), QStringLiteral("清明"));
}

void CalendarWidgetTest::holidayMarksInTheirCorners_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("showTitle");
    QTest::newRow("the main window's 311 x 253") << qreal(1) << QSize(311, 253) << true;
    QTest::newRow("the demo's 313 x 253") << qreal(1) << QSize(313, 253) << true;
    QTest::newRow("313 x 253 at ratio 2") << qreal(2) << QSize(313, 253) << true;
    QTest::newRow("311 x 253 at ratio 2 without title") << qreal(2) << QSize(311, 253) << false;
}

// Drawn with the layer on and off: the two pictures differ only in the top
// right corner of the marked days, never where a day number or lunar text
// inks, and the marks have their colours.
void CalendarWidgetTest::holidayMarksInTheirCorners()
{
    QFETCH(qreal, ratio);
    QFETCH(QSize, size);
    QFETCH(bool, showTitle);
    auto calendar = ShownCalendar(Date(2024, 2, 6) + 0.5);
    calendar->resize(size);
    calendar->SetShowTitle(showTitle);
    calendar->SetHideSelection(true);
    calendar->Grid()->clearFocus();
    calendar->SetHolidays(BuiltInHolidays());

    calendar->SetShowHolidays(false);
    const QImage off = RenderAt(*calendar, ratio);
    // Each line alone with the layer off, for where its glyphs ink.
    bool numbersOnly = true;
    calendar->SetOnDrawDateCell([&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) {
        defaultDraw = numbersOnly;
    });
    calendar->SetOnDrawCnDateCell([&](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) {
        defaultDraw = !numbersOnly;
    });
    const QImage numbers = RenderAt(*calendar, ratio);
    numbersOnly = false;
    const QImage lunar = RenderAt(*calendar, ratio);
    const QImage ground = calendar->FBackBitmap();
    QCOMPARE(ground.devicePixelRatio(), ratio);
    calendar->SetOnDrawDateCell(nullptr);
    calendar->SetOnDrawCnDateCell(nullptr);
    calendar->SetShowHolidays(true);
    const QImage on = RenderAt(*calendar, ratio);

    int marked = 0;
    for (int cell = 1; cell <= TCalendarModel::kLastDayCell; ++cell) {
        const TcnDateInf& inf = calendar->FDays()[cell];
        const QRect here = DeviceRect(
            CellOnControl(*calendar, TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell)), ratio);
        const QRect changed = DifferingBox(on, off, here);
        const auto expected = kFebruary2024Marks.find(inf.Day);
        const QString where = QStringLiteral("cell %1 (day %2), cell %3,%4 %5x%6, changed %7,%8 %9x%10")
                                  .arg(cell)
                                  .arg(inf.Day)
                                  .arg(here.x())
                                  .arg(here.y())
                                  .arg(here.width())
                                  .arg(here.height())
                                  .arg(changed.x())
                                  .arg(changed.y())
                                  .arg(changed.width())
                                  .arg(changed.height());
        if (!inf.InUse || expected == kFebruary2024Marks.end()) {
            QVERIFY2(changed.isNull(), qPrintable(where));
            continue;
        }
        ++marked;
        QCOMPARE(inf.HolidayMark, expected->second);
        QVERIFY2(!changed.isNull(), qPrintable(where));
        // The top right quarter of the cell, inside its frame.
        QVERIFY2(changed.left() >= here.center().x() && changed.right() < here.right() - ratio + 1, qPrintable(where));
        QVERIFY2(changed.top() > here.top() && changed.bottom() < here.center().y(), qPrintable(where));
        // Clear of the ink of the day number and of the lunar text.
        const QRect numberInk = DifferingBox(numbers, ground, here);
        const QRect lunarInk = DifferingBox(lunar, ground, here);
        QVERIFY2(!numberInk.isNull() && !lunarInk.isNull(), qPrintable(where));
        QVERIFY2(!changed.intersects(numberInk), qPrintable(where));
        QVERIFY2(!changed.intersects(lunarInk), qPrintable(where));
        // Red 休, dark 班.
        const MarkInk ink = InkIn(on, changed);
        if (expected->second == QStringLiteral("休"))
            QVERIFY2(ink.red >= 4 * ratio * ratio && ink.dark == 0, qPrintable(where));
        else
            QVERIFY2(ink.dark >= 4 * ratio * ratio && ink.red == 0, qPrintable(where));
        // Drawn at the device's resolution: detail finer than a pixel.
        if (ratio == 2) {
            const QRect logical(changed.left() / 2, changed.top() / 2, changed.width() / 2, changed.height() / 2);
            QVERIFY2(DetailedBlocks(on, logical, 2) >= 10, qPrintable(where));
        }
    }
    QCOMPARE(marked, 10);
}

void CalendarWidgetTest::holidayMarkOnTheSelection_data()
{
    QTest::addColumn<qreal>("ratio");
    QTest::newRow("ratio 1") << qreal(1);
    QTest::newRow("ratio 2") << qreal(2);
}

// On the selection's green the mark keeps a white plate, and the frame of
// the selected cell stays whole.
void CalendarWidgetTest::holidayMarkOnTheSelection()
{
    QFETCH(qreal, ratio);
    auto calendar = ShownCalendar(Date(2024, 2, 10));
    calendar->SetHolidays(BuiltInHolidays());
    const int cell = calendar->Grid()->Col() + 7 * (calendar->Grid()->Row() - 1);
    QCOMPARE(calendar->FDays()[cell].Day, 10);
    calendar->SetShowHolidays(false);
    const QImage off = RenderAt(*calendar, ratio);
    calendar->SetShowHolidays(true);
    const QImage on = RenderAt(*calendar, ratio);

    const QRect logical = CellOnControl(*calendar, calendar->Grid()->Col(), calendar->Grid()->Row());
    const QRect here = DeviceRect(logical, ratio);
    const QRect inside = DeviceRect(logical.adjusted(1, 1, -1, -1), ratio);
    const QRect changed = DifferingBox(on, off, here);
    QVERIFY(!changed.isNull());
    QVERIFY2(inside.contains(changed),
             qPrintable(QStringLiteral("%1,%2 %3x%4")
                            .arg(changed.x())
                            .arg(changed.y())
                            .arg(changed.width())
                            .arg(changed.height())));
    const MarkInk ink = InkIn(on, changed);
    QVERIFY(ink.red >= 4 * ratio * ratio);
    QVERIFY2(ink.white >= 10 * ratio * ratio, qPrintable(QString::number(ink.white)));
    // No mark pixel borders the green directly: the plate's edge is light
    // (at most the faint smoothing of a glyph reaches it). Where the mark
    // stands on the top row inside the frame, as the day number does, the
    // frame bounds it above.
    const auto light = [&](int x, int y) {
        const QColor c(on.pixel(x, y));
        return std::min({c.red(), c.green(), c.blue()}) >= 200;
    };
    const bool underFrame = changed.top() == inside.top();
    for (int x = changed.left(); x <= changed.right(); ++x)
        QVERIFY2((underFrame || light(x, changed.top())) && light(x, changed.bottom()), qPrintable(QString::number(x)));
    for (int y = changed.top(); y <= changed.bottom(); ++y)
        QVERIFY2(light(changed.left(), y) && light(changed.right(), y), qPrintable(QString::number(y)));
}

void CalendarWidgetTest::noMarksWithoutData()
{
    auto calendar = ShownCalendar(Date(2030, 2, 6));  // no notice for 2030 is shipped
    calendar->SetHolidays(BuiltInHolidays());
    calendar->SetShowHolidays(false);
    const QImage off = calendar->grab().toImage();
    calendar->SetShowHolidays(true);
    QCOMPARE(calendar->grab().toImage(), off);
    // And with no table at all, 2024 shows none either.
    calendar->SetHolidays(nullptr);
    calendar->SetDateTime(Date(2024, 2, 6));
    calendar->SetShowHolidays(false);
    const QImage none = calendar->grab().toImage();
    calendar->SetShowHolidays(true);
    QCOMPARE(calendar->grab().toImage(), none);
    for (const TcnDateInf& inf : calendar->FDays())
        QVERIFY(inf.HolidayMark.isEmpty());
}

void CalendarWidgetTest::holidayTooltips()
{
    auto calendar = ShownCalendar(Date(2024, 2, 10) + 0.5);
    EventLog log(*calendar);
    const TCalendarLabel* info = calendar->InfoLabel();
    QCOMPARE(info->toolTip(), info->text() + QStringLiteral("\n春节\n六九第6天"));  // no table yet

    calendar->SetHolidays(BuiltInHolidays());
    QVERIFY(log.events.isEmpty());  // the date is the same: no OnChange
    QCOMPARE(info->toolTip(), info->text() + QStringLiteral("\n春节\n六九第6天\n春节 休"));
    const int first = qn::SundayFirstWeekday(Date(2024, 2, 1));
    QCOMPARE(calendar->CellToolTip(first + 3), QStringLiteral("立春\n五九第9天\n春节调休 上班"));
    QCOMPARE(calendar->CellToolTip(first + 17), QStringLiteral("七九第5天\n春节调休 上班"));

    // Hovering a day off shows its holiday.
    TCalendarGrid* grid = calendar->Grid();
    const QPoint at = CellCentre(*calendar, first + 10);
    QHelpEvent help(QEvent::ToolTip, at, grid->mapToGlobal(at));
    QApplication::sendEvent(grid, &help);
    QTRY_COMPARE(QToolTip::text(), QStringLiteral("六九第7天\n春节 休"));
    QToolTip::hideText();

    // Switched off, the tooltips leave the holiday out.
    calendar->SetShowHolidays(false);
    QVERIFY(!calendar->ShowHolidays());
    QCOMPARE(info->toolTip(), info->text() + QStringLiteral("\n春节\n六九第6天"));
    QCOMPARE(calendar->CellToolTip(first + 3), QStringLiteral("立春\n五九第9天"));
    calendar->SetShowHolidays(true);
    QCOMPARE(calendar->CellToolTip(first + 3), QStringLiteral("立春\n五九第9天\n春节调休 上班"));
    QVERIFY(log.events.isEmpty());
}

void CalendarWidgetTest::demoShowsToday()
{
    bool checked = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* calendar = top->findChild<TChnCalendar*>();
            if (calendar && top->isVisible()) {
                QCOMPARE(calendar->DateTime(), kNow);
                QVERIFY(calendar->isVisible());
                QCOMPARE(calendar->size(), QSize(313, 253));
                // The shipped holiday table marks its days.
                QVERIFY(calendar->Holidays());
                QVERIFY(calendar->Holidays()->IsKnownYear(2024));
                QVERIFY(calendar->ShowHolidays());
                checked = true;
            }
        }
        QApplication::quit();
    });
    QCOMPARE(RunCalendarDemo(qn::FixedClock(kNow)), 0);
    QVERIFY(checked);
}

QTEST_MAIN(CalendarWidgetTest)
#include "calendar_widget_test.moc"
