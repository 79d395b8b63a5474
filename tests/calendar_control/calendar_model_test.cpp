// The month layout without any widget: which cells a month fills, week
// numbers, the lower-line precedence and colours, the info text, refusals,
// the statutory holiday marks and the tooltip lines.

#include "calendar/Almanac.h"
#include "calendar_control/CalendarDayTips.h"
#include "calendar_control/CalendarModel.h"
#include "holidays/HolidayData.h"
#include "tests/support/CalendarTestSupport.h"

#include <QTest>

#include <map>
#include <memory>

namespace {

constexpr TLayoutColors kDistinctColors{0x000001, 0x000002, 0x000003, 0x000004, 0x000005};

TCalendarModel ModelFor(double date)
{
    TCalendarModel model;
    model.Colors = kDistinctColors;
    model.SelectDate(date);
    model.LayoutMonth();
    return model;
}

std::shared_ptr<const qn::HolidayCalendar> BuiltInHolidays()
{
    return std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows());
}

// A table of one made-up notice year, as a user's file could give it.
std::shared_ptr<const qn::HolidayCalendar> TableOf(const char* csv)
{
    qn::HolidayParseResult parsed = qn::ParseHolidayCsv(csv);
    if (!parsed.ok)
        qFatal("bad fixture table: %s", parsed.error.c_str());
    return std::make_shared<const qn::HolidayCalendar>(std::move(parsed.rows));
}

// The marks of the laid-out month by day: "休" or "班".
std::map<int, QString> MarksOf(const TCalendarModel& model)
{
    std::map<int, QString> marks;
    for (int cell = 1; cell <= TCalendarModel::kLastDayCell; ++cell) {
        const TcnDateInf& inf = model.FDays[cell];
        if (!inf.HolidayMark.isEmpty())
            marks[inf.Day] = inf.HolidayMark;
    }
    return marks;
}

int CellOfDay(const TCalendarModel& model, int day)
{
    for (int cell = 1; cell <= TCalendarModel::kLastDayCell; ++cell) {
        if (model.FDays[cell].InUse && model.FDays[cell].Day == day)
            return cell;
    }
    return 0;
}

qn::HolidayStatus Status(qn::HolidayKind kind, const char* name) { return {kind, name, true}; }

}  // namespace

using MarkMap = std::map<int, QString>;
using TableRef = std::shared_ptr<const qn::HolidayCalendar>;
Q_DECLARE_METATYPE(MarkMap)
Q_DECLARE_METATYPE(TableRef)
Q_DECLARE_METATYPE(qn::HolidayStatus)

class CalendarModelTest : public QObject {
    Q_OBJECT
private slots:
    void monthFillsCells_data();
    void monthFillsCells();
    void weekNumbers_data();
    void weekNumbers();
    void lowerLine_data();
    void lowerLine();
    void titleCellsAndSelection();
    void infoText_data();
    void infoText();
    void refusals_data();
    void refusals();
    void newLayoutClearsOldMonth();
    void dayTipLines_data();
    void dayTipLines();
    void dayTipsOverTwoCenturies();
    void selectedDayTips();
    void holidayMarks_data();
    void holidayMarks();
    void holidayLayerOffAndOn();
    void newTableTakesEffectAtOnce();
    void holidayTips();
};

void CalendarModelTest::monthFillsCells_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("firstCell");
    QTest::addColumn<int>("lastCell");
    QTest::newRow("31 days from a Saturday") << 2022 << 1 << 7 << 37;
    QTest::newRow("leap February from a Thursday") << 2024 << 2 << 5 << 33;
    QTest::newRow("common February from a Wednesday") << 2023 << 2 << 4 << 31;
    QTest::newRow("February from a Sunday: four rows") << 2015 << 2 << 1 << 28;
    QTest::newRow("30 days from a Friday") << 2023 << 9 << 6 << 35;
    QTest::newRow("February 1900 is common") << 1900 << 2 << 5 << 32;
    QTest::newRow("February 2000 is leap") << 2000 << 2 << 3 << 31;
}

void CalendarModelTest::monthFillsCells()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, firstCell);
    QFETCH(int, lastCell);
    const TCalendarModel model = ModelFor(Date(year, month, 10));
    for (int cell = 1; cell <= 39; ++cell) {
        const TcnDateInf& inf = model.FDays[cell];
        const bool inMonth = cell >= firstCell && cell <= lastCell;
        QVERIFY2(inf.InUse == inMonth, qPrintable(QStringLiteral("cell %1").arg(cell)));
        if (!inMonth)
            continue;
        const int day = cell - firstCell + 1;
        QCOMPARE(inf.Day, day);
        QCOMPARE(inf.DayText, QString::number(day));
        const bool weekend = cell % 7 == 1 || cell % 7 == 0;
        QCOMPARE(inf.DayColor, weekend ? TColor{255} : kDistinctColors.ColorDate);
        QVERIFY(!inf.CnText.isEmpty());
    }
    for (int cell = 40; cell <= 42; ++cell)
        QVERIFY(model.FDays[cell].InUse);
}

void CalendarModelTest::weekNumbers_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<QStringList>("weeks");
    QTest::newRow("31 days from a Sunday: six weeks") << 2023 << 1 << QStringList{"52", "1", "2", "3", "4", "5"};
    QTest::newRow("31 days from a Saturday") << 2022 << 1 << QStringList{"52", "1", "2", "3", "4", "5"};
    QTest::newRow("into the next ISO year") << 2024 << 12 << QStringList{"48", "49", "50", "51", "52", "1"};
    QTest::newRow("four rows leave two empty") << 2015 << 2 << QStringList{"5", "6", "7", "8", "9", ""};
    QTest::newRow("a Monday first") << 2021 << 3 << QStringList{"9", "10", "11", "12", "13", ""};
}

void CalendarModelTest::weekNumbers()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(QStringList, weeks);
    const TCalendarModel model = ModelFor(Date(year, month, 1));
    QStringList actual;
    for (int row = 1; row <= 6; ++row)
        actual << model.FWeekNums[row];
    QCOMPARE(actual, weeks);
}

void CalendarModelTest::lowerLine_data()
{
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<QString>("text");
    QTest::addColumn<uint>("color");
    QTest::newRow("lunar day") << 2024 << 2 << 5 << "廿六" << uint{kDistinctColors.ColorCnDate};
    QTest::newRow("first of a lunar month: month name in red") << 2024 << 3 << 10 << "二月" << 255u;
    QTest::newRow("Gregorian festival over the lunar day")
        << 2024 << 5 << 1 << "劳动节" << uint{kDistinctColors.ColorHoliday};
    QTest::newRow("solar term") << 2024 << 2 << 4 << "立春" << uint{kDistinctColors.ColorLunarHolDay};
    QTest::newRow("solar term over Gregorian festival")
        << 1990 << 11 << 8 << "立冬" << uint{kDistinctColors.ColorLunarHolDay};
    QTest::newRow("lunar festival over solar term")
        << 1992 << 6 << 5 << "端午节" << uint{kDistinctColors.ColorCnHolDay};
    QTest::newRow("lunar festival over Gregorian festival")
        << 2020 << 10 << 1 << "中秋节" << uint{kDistinctColors.ColorCnHolDay};
    QTest::newRow("lunar festival on the first of the month")
        << 2024 << 2 << 10 << "春节" << uint{kDistinctColors.ColorCnHolDay};
}

void CalendarModelTest::lowerLine()
{
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(QString, text);
    QFETCH(uint, color);
    // Select another day of the month so the checked cell is not the selected one.
    const TCalendarModel model = ModelFor(Date(year, month, day == 1 ? 2 : 1));
    const int cell = qn::SundayFirstWeekday(Date(year, month, 1)) + day - 1;
    const TcnDateInf& inf = model.FDays[cell];
    QCOMPARE(inf.Day, day);
    QCOMPARE(inf.CnText, text);
    QCOMPARE(inf.CnColor, TColor{color});
}

void CalendarModelTest::titleCellsAndSelection()
{
    TCalendarModel model;
    model.SelectDate(Date(2010, 6, 1) + 0.75);
    const int selected = model.LayoutMonth();
    QCOMPARE(selected, 3);  // 1 June 2010 was a Tuesday
    QCOMPARE(model.CnMonth, QStringLiteral("四月"));
    QCOMPARE(model.CnDay, QStringLiteral("十九"));
    QCOMPARE(model.CnDate, QStringLiteral("四月十九"));
    QCOMPARE(model.FDays[40].DayText, QStringLiteral("双子"));
    QCOMPARE(model.FDays[41].DayText, QStringLiteral("庚寅"));
    QCOMPARE(model.FDays[42].DayText, QStringLiteral("虎年"));
    QCOMPARE(model.FDays[3].CnMonth, QStringLiteral("四月"));
    QCOMPARE(model.FDays[3].CnDay, QStringLiteral("十九"));
    QCOMPARE(TCalendarModel::CellColumn(37), 2);
    QCOMPARE(TCalendarModel::CellRow(37), 6);
    QCOMPARE(TCalendarModel::CellColumn(35), 7);
    QCOMPARE(TCalendarModel::CellRow(35), 5);
}

void CalendarModelTest::infoText_data()
{
    QTest::addColumn<double>("date");
    QTest::addColumn<QString>("start");
    QTest::newRow("modern date") << Date(2010, 6, 1) << "2010-06-01 农历四月十九";
    QTest::newRow("1 January 1949 has a date") << Date(1949, 1, 1) << "1949-01-01 农历";
    QTest::newRow("before 1949: era text") << Date(1900, 2, 10) << "[清]德宗 爱新觉罗载湉 光绪26年 农历正月十一";
    QTest::newRow("small years are padded") << Date(987, 3, 4) << "";
}

void CalendarModelTest::infoText()
{
    QFETCH(double, date);
    QFETCH(QString, start);
    TCalendarModel model;
    model.SelectDate(date);
    const QString info = model.InfoText();
    QVERIFY2(info.startsWith(start), qPrintable(info));
    QVERIFY(info.contains(QStringLiteral(" 农历") + model.CnDate));
    QVERIFY(!info.startsWith(QStringLiteral("0987")));  // era text, not a date, before 1949
}

void CalendarModelTest::refusals_data()
{
    QTest::addColumn<double>("value");
    QTest::newRow("the date held") << Date(2024, 5, 6) + 0.5;
    QTest::newRow("year 0") << Date(0, 12, 31);
    QTest::newRow("year 2101") << Date(2101, 1, 1);
    QTest::newRow("not a number") << std::nan("");
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity();
    QTest::newRow("far beyond") << 1.0e300;
}

void CalendarModelTest::refusals()
{
    QFETCH(double, value);
    TCalendarModel model;
    model.SelectDate(Date(2024, 5, 6) + 0.5);
    QVERIFY(!model.Accepts(value));
    QVERIFY(model.Accepts(Date(1, 1, 1)));
    QVERIFY(model.Accepts(Date(2100, 12, 31) + 0.999));
    QVERIFY(model.Accepts(Date(2024, 5, 6)));  // same day, other time
}

void CalendarModelTest::newLayoutClearsOldMonth()
{
    TCalendarModel model = ModelFor(Date(2022, 1, 31));  // cells 7..37
    model.SelectDate(Date(2015, 2, 1));                  // cells 1..28
    model.LayoutMonth();
    for (int cell = 29; cell <= 37; ++cell) {
        QVERIFY(!model.FDays[cell].InUse);
        QVERIFY(model.FDays[cell].CnText.isEmpty());
    }
    QVERIFY(model.FWeekNums[6].isEmpty());
    QCOMPARE(model.FDays[40].DayText, QStringLiteral("宝瓶"));
}

void CalendarModelTest::dayTipLines_data()
{
    using qn::HolidayKind;
    QTest::addColumn<double>("date");
    QTest::addColumn<qn::HolidayStatus>("holiday");
    QTest::addColumn<QStringList>("lines");
    const qn::HolidayStatus none;
    QTest::newRow("Gregorian and lunar festival") << Date(2020, 10, 1) << none << QStringList{"国庆节", "中秋节"};
    QTest::newRow("Gregorian festival and solar term") << Date(1990, 11, 8) << none << QStringList{"记者日", "立冬"};
    QTest::newRow("lunar festival and solar term") << Date(1992, 6, 5) << none << QStringList{"端午节", "芒种"};
    QTest::newRow("a Gregorian festival alone") << Date(2024, 5, 1) << none << QStringList{"劳动节"};
    QTest::newRow("a solar term in a nine-day period") << Date(2024, 2, 4) << none << QStringList{"立春", "五九第9天"};
    QTest::newRow("a lunar festival in a nine-day period")
        << Date(2024, 2, 10) << none << QStringList{"春节", "六九第6天"};
    QTest::newRow("a plain day") << Date(2024, 5, 6) << none << QStringList{};
    QTest::newRow("the first of a lunar month is no text of its own")
        << Date(2024, 3, 10) << none << QStringList{"九九第8天"};
    QTest::newRow("the last day of the nine periods")
        << Date(2024, 3, 11) << none << QStringList{"龙抬头", "九九第9天"};
    QTest::newRow("the day after them") << Date(2024, 3, 12) << none << QStringList{};
    QTest::newRow("the first day of the nine periods: the solar term, then the period")
        << Date(2023, 12, 22) << none << QStringList{"冬至", "一九"};
    QTest::newRow("two almanac texts") << Date(2024, 12, 24) << none << QStringList{"平安夜", "一九第4天"};
    QTest::newRow("小年 in a nine-day period") << Date(2024, 2, 2) << none << QStringList{"小年", "五九第7天"};
    QTest::newRow("the first day of the hot period") << Date(2024, 7, 15) << none << QStringList{"初伏"};
    QTest::newRow("a day off") << Date(2024, 5, 1) << Status(HolidayKind::Off, "劳动节")
                               << QStringList{"劳动节", "劳动节 休"};
    QTest::newRow("a working day: holiday last")
        << Date(2024, 2, 4) << Status(HolidayKind::Work, "春节") << QStringList{"立春", "五九第9天", "春节调休 上班"};
    QTest::newRow("a working day without other texts")
        << Date(2024, 5, 11) << Status(HolidayKind::Work, "劳动节") << QStringList{"劳动节调休 上班"};
    QTest::newRow("an ordinary day of a known year says nothing")
        << Date(2024, 5, 6) << qn::HolidayStatus{HolidayKind::Ordinary, {}, false} << QStringList{};
}

void CalendarModelTest::dayTipLines()
{
    QFETCH(double, date);
    QFETCH(qn::HolidayStatus, holiday);
    QFETCH(QStringList, lines);
    QCOMPARE(DayTipLines(date, holiday), lines);
    TChnCal day;
    day.Compute(date);
    QCOMPARE(DayTipLines(day, holiday), lines);
}

// Every day of 1901..2100: 307 days carry two festival or solar-term texts,
// and the tooltip lists each text of the day once, whatever the cell shows,
// followed by exactly the day's almanac texts.
void CalendarModelTest::dayTipsOverTwoCenturies()
{
    int twoTexts = 0;
    int moreTexts = 0;
    int almanacDays = 0;
    TChnCal day;
    for (double date = Date(1901, 1, 1); date <= Date(2100, 12, 31); date += 1) {
        day.Compute(date);
        const QStringList lines = DayTipLines(day);
        const qn::CivilDate civil = qn::DecodeDate(date);
        QStringList almanac;
        for (const std::string& text : GetAlmanacTexts(civil.year, civil.month, civil.day))
            almanac << QString::fromStdString(text);
        const qsizetype festivalLines = lines.size() - almanac.size();
        if (festivalLines < 0 || lines.mid(festivalLines) != almanac)
            QFAIL(qPrintable(DateText(date) + QStringLiteral(": ") + lines.join(QLatin1Char(' '))));
        almanacDays += almanac.isEmpty() ? 0 : 1;
        twoTexts += festivalLines == 2 ? 1 : 0;
        moreTexts += festivalLines > 2 ? 1 : 0;
        for (const std::string* text : {&day.Holiday, &day.LunarHoliday, &day.SolarTerm}) {
            if (!text->empty() && lines.count(QString::fromStdString(*text)) != 1)
                QFAIL(qPrintable(DateText(date) + QStringLiteral(": ") + lines.join(QLatin1Char(' '))));
        }
    }
    QCOMPARE(twoTexts, 307);
    QCOMPARE(moreTexts, 0);
    // The nine periods alone fill 81 days of every winter.
    QVERIFY2(almanacDays > 200 * 81, qPrintable(QString::number(almanacDays)));
}

void CalendarModelTest::selectedDayTips()
{
    TCalendarModel model;
    model.SelectDate(Date(2020, 10, 1) + 0.5);
    QCOMPARE(model.SelectedDayTips(), (QStringList{"国庆节", "中秋节"}));
    QCOMPARE(model.InfoDatePart() + model.InfoLunarPart(), model.InfoText());
    QCOMPARE(model.InfoLunarPart(), QStringLiteral(" 农历八月十五"));
    model.SelectDate(Date(2020, 10, 2));
    QVERIFY(model.SelectedDayTips().isEmpty());
}

void CalendarModelTest::holidayMarks_data()
{
    QTest::addColumn<TableRef>("table");
    QTest::addColumn<double>("date");
    QTest::addColumn<MarkMap>("marks");
    const QString off = QStringLiteral("休");
    const QString work = QStringLiteral("班");
    const auto builtIn = BuiltInHolidays();
    QTest::newRow("February 2024") << builtIn << Date(2024, 2, 6)
                                   << MarkMap{{4, work}, {10, off}, {11, off}, {12, off}, {13, off},
                                              {14, off}, {15, off}, {16, off}, {17, off}, {18, work}};
    // The notice left the Sunday inside the block out.
    QTest::newRow("a weekend inside a block")
        << builtIn << Date(2015, 6, 1) << MarkMap{{20, off}, {21, off}, {22, off}};
    QTest::newRow("a year without a notice") << builtIn << Date(2030, 2, 6) << MarkMap{};
    QTest::newRow("a year before the first notice") << builtIn << Date(1990, 10, 1) << MarkMap{};
    QTest::newRow("no table") << TableRef() << Date(2024, 2, 6) << MarkMap{};
}

void CalendarModelTest::holidayMarks()
{
    QFETCH(TableRef, table);
    QFETCH(double, date);
    QFETCH(MarkMap, marks);
    TCalendarModel model;
    model.SetHolidays(table);
    model.SelectDate(date);
    model.LayoutMonth();
    QCOMPARE(MarksOf(model), marks);
    for (const auto& [day, mark] : marks) {
        const qn::HolidayStatus& status = model.FDays[CellOfDay(model, day)].Holiday;
        QCOMPARE(status.kind, mark == QStringLiteral("休") ? qn::HolidayKind::Off : qn::HolidayKind::Work);
        QVERIFY(!status.name.empty());
    }
    // The next month clears them: March 2024 has none of February's.
    model.SelectDate(Date(2024, 3, 6));
    model.LayoutMonth();
    QVERIFY(MarksOf(model).empty());
}

void CalendarModelTest::holidayLayerOffAndOn()
{
    TCalendarModel model;
    QVERIFY(model.ShowHolidays());  // on by default
    model.SetHolidays(BuiltInHolidays());
    model.SelectDate(Date(2024, 2, 10));
    model.LayoutMonth();
    QCOMPARE(MarksOf(model).size(), std::size_t{10});
    QVERIFY(model.SelectedDayTips().contains(QStringLiteral("春节 休")));

    model.SetShowHolidays(false);
    QVERIFY(MarksOf(model).empty());
    QCOMPARE(model.FDays[CellOfDay(model, 10)].Holiday.kind, qn::HolidayKind::Unknown);
    QCOMPARE(model.SelectedDayTips(), (QStringList{"春节", "六九第6天"}));
    QCOMPARE(model.HolidayOf(Date(2024, 2, 10)).kind, qn::HolidayKind::Unknown);
    // Off stays off through the next layout.
    model.SelectDate(Date(2024, 2, 11));
    model.LayoutMonth();
    QVERIFY(MarksOf(model).empty());

    model.SetShowHolidays(true);
    QCOMPARE(MarksOf(model).size(), std::size_t{10});
    QCOMPARE(model.SelectedDayTips().last(), QStringLiteral("春节 休"));
}

void CalendarModelTest::newTableTakesEffectAtOnce()
{
    TCalendarModel model;
    model.SelectDate(Date(2030, 2, 6));
    model.LayoutMonth();
    QVERIFY(MarksOf(model).empty());

    // A user's file brings the notice of a year the program does not ship.
    model.SetHolidays(
        TableOf("date,off,name,notice_year\n"
                "2030-02-02,0,春节,2030\n"
                "2030-02-04,1,春节,2030\n"
                "2030-02-05,1,春节,2030\n"));
    QCOMPARE(MarksOf(model), (MarkMap{{2, "班"}, {4, "休"}, {5, "休"}}));
    QCOMPARE(model.CellDayTips(CellOfDay(model, 2)).last(), QStringLiteral("春节调休 上班"));

    model.SetHolidays(nullptr);
    QVERIFY(MarksOf(model).empty());
    QVERIFY(!model.CellDayTips(CellOfDay(model, 2)).contains(QStringLiteral("春节调休 上班")));
}

void CalendarModelTest::holidayTips()
{
    TCalendarModel model;
    QVERIFY(model.SelectedDayTips().isEmpty());  // no date yet
    model.SetHolidays(BuiltInHolidays());
    model.SelectDate(Date(2024, 2, 10) + 0.25);
    QCOMPARE(model.SelectedDayTips(), (QStringList{"春节", "六九第6天", "春节 休"}));
    model.LayoutMonth();
    QCOMPARE(model.CellDayTips(CellOfDay(model, 4)), (QStringList{"立春", "五九第9天", "春节调休 上班"}));
    QCOMPARE(model.CellDayTips(CellOfDay(model, 13)), (QStringList{"六九第9天", "春节 休"}));
    QCOMPARE(model.CellDayTips(CellOfDay(model, 29)), (QStringList{"八九第7天"}));
    QCOMPARE(model.CellDayTips(1), QStringList{});   // before the 1st
    QCOMPARE(model.CellDayTips(41), QStringList{});  // a title cell
    QCOMPARE(model.CellDayTips(0), QStringList{});
    // Two holidays on one day come as the notice names them.
    model.SelectDate(Date(2020, 10, 1));
    QCOMPARE(model.SelectedDayTips(), (QStringList{"国庆节", "中秋节", "国庆节、中秋节 休"}));
}

QTEST_APPLESS_MAIN(CalendarModelTest)
#include "calendar_model_test.moc"
