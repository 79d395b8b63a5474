// The month layout without any widget: which cells a month fills, week
// numbers, the lower-line precedence and colours, the info text, refusals.

#include "calendar_control/CalendarDayTips.h"
#include "calendar_control/CalendarModel.h"
#include "tests/support/CalendarTestSupport.h"

#include <QTest>

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

}  // namespace

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
    QTest::addColumn<double>("date");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("Gregorian and lunar festival") << Date(2020, 10, 1) << QStringList{"国庆节", "中秋节"};
    QTest::newRow("Gregorian festival and solar term") << Date(1990, 11, 8) << QStringList{"记者日", "立冬"};
    QTest::newRow("lunar festival and solar term") << Date(1992, 6, 5) << QStringList{"端午节", "芒种"};
    QTest::newRow("a Gregorian festival alone") << Date(2024, 5, 1) << QStringList{"劳动节"};
    QTest::newRow("a solar term alone") << Date(2024, 2, 4) << QStringList{"立春"};
    QTest::newRow("a lunar festival alone") << Date(2024, 2, 10) << QStringList{"春节"};
    QTest::newRow("a plain day") << Date(2024, 5, 6) << QStringList{};
    QTest::newRow("the first of a lunar month is no text of its own") << Date(2024, 3, 10) << QStringList{};
}

void CalendarModelTest::dayTipLines()
{
    QFETCH(double, date);
    QFETCH(QStringList, lines);
    QCOMPARE(DayTipLines(date), lines);
    TChnCal day;
    day.Compute(date);
    QCOMPARE(DayTipLines(day), lines);
}

// Every day of 1901..2100: 307 days carry two texts, and the tooltip lists
// each text of the day once, whatever the cell shows.
void CalendarModelTest::dayTipsOverTwoCenturies()
{
    int twoTexts = 0;
    int moreTexts = 0;
    TChnCal day;
    for (double date = Date(1901, 1, 1); date <= Date(2100, 12, 31); date += 1) {
        day.Compute(date);
        const QStringList lines = DayTipLines(day);
        twoTexts += lines.size() == 2 ? 1 : 0;
        moreTexts += lines.size() > 2 ? 1 : 0;
        for (const std::string* text : {&day.Holiday, &day.LunarHoliday, &day.SolarTerm}) {
            if (!text->empty() && lines.count(QString::fromStdString(*text)) != 1)
                QFAIL(qPrintable(DateText(date) + QStringLiteral(": ") + lines.join(QLatin1Char(' '))));
        }
    }
    QCOMPARE(twoTexts, 307);
    QCOMPARE(moreTexts, 0);
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

QTEST_APPLESS_MAIN(CalendarModelTest)
#include "calendar_model_test.moc"
