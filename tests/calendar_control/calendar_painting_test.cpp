// Drawing helpers on small images: ClampByte, FillGradient, BlendBitmap,
// FitPictureRect, the weekday captions, the lines of a day cell and the
// holiday mark.

#include "calendar_control/CalendarCellLines.h"
#include "calendar_control/CalendarHolidayMark.h"
#include "calendar_control/CalendarInfoLine.h"
#include "calendar_control/CalendarPainting.h"
#include "tests/support/CalendarTestSupport.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QTest>

namespace {

QImage Solid(int width, int height, QColor color)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

QColor Pixel(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

int CountPixelsOf(const QImage& image, QColor color, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += Pixel(image, x, y) == color ? 1 : 0;
    return count;
}

}  // namespace

Q_DECLARE_METATYPE(QRect)
Q_DECLARE_METATYPE(QFont)

class CalendarPaintingTest : public QObject {
    Q_OBJECT
private slots:
    void clampByte_data();
    void clampByte();
    void fillGradientBands_data();
    void fillGradientBands();
    void fillGradientWithoutBandsDrawsNothing();
    void fillGradientManyBandsOnFewRows();
    void blendBitmap_data();
    void blendBitmap();
    void blendBitmapClipsToDestination();
    void fitPictureRect_data();
    void fitPictureRect();
    void weekDayCaption();
    void pointFontUsesPixelsAt96Dpi();
    void dayCellLinesPair_data();
    void dayCellLinesPair();
    void dayCellInkOfTheCellFonts();
    void holidayMarkAsTallAsTheDigits_data();
    void holidayMarkAsTallAsTheDigits();
    void holidayMarkInTheCorner();
    void fitInfoLine_data();
    void fitInfoLine();
    void imagesAtDeviceRatio();
};

void CalendarPaintingTest::clampByte_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("below") << -1 << 0;
    QTest::newRow("far below") << -100000 << 0;
    QTest::newRow("zero") << 0 << 0;
    QTest::newRow("inside") << 128 << 128;
    QTest::newRow("top") << 255 << 255;
    QTest::newRow("just above") << 256 << 255;
    QTest::newRow("far above") << 100000 << 255;
}

void CalendarPaintingTest::clampByte()
{
    QFETCH(int, value);
    QFETCH(int, expected);
    QCOMPARE(ClampByte(value), expected);
}

void CalendarPaintingTest::fillGradientBands_data()
{
    QTest::addColumn<int>("bands");
    QTest::addColumn<int>("direction");
    QTest::addColumn<uint>("start");
    QTest::addColumn<uint>("end");
    QTest::addColumn<QList<QColor>>("expected");  // band colours along the direction
    // 0x00BBGGRR: end (40, 80, 120) from black in four bands of one pixel.
    QTest::newRow("top to bottom") << 4 << 0 << 0u << 0x785028u
                                   << QList<QColor>{QColor(10, 20, 30), QColor(20, 40, 60), QColor(30, 60, 90),
                                                    QColor(40, 80, 120)};
    QTest::newRow("left to right") << 4 << 1 << 0u << 0x785028u
                                   << QList<QColor>{QColor(10, 20, 30), QColor(20, 40, 60), QColor(30, 60, 90),
                                                    QColor(40, 80, 120)};
    QTest::newRow("falling channel") << 4 << 0 << 0x785028u << 0u
                                     << QList<QColor>{QColor(30, 60, 90), QColor(20, 40, 60), QColor(10, 20, 30),
                                                      QColor(0, 0, 0)};
    // Steps of 2.5 round half to even: 2, 5.
    QTest::newRow("halves to even") << 2 << 0 << 0u << 5u << QList<QColor>{QColor(2, 0, 0), QColor(5, 0, 0)};
    QTest::newRow("thirds") << 3 << 0 << 0u << 10u << QList<QColor>{QColor(3, 0, 0), QColor(7, 0, 0), QColor(10, 0, 0)};
}

void CalendarPaintingTest::fillGradientBands()
{
    QFETCH(int, bands);
    QFETCH(int, direction);
    QFETCH(uint, start);
    QFETCH(uint, end);
    QFETCH(QList<QColor>, expected);
    const int length = static_cast<int>(expected.size());
    QImage image = direction == 0 ? Solid(3, length + 2, Qt::white) : Solid(length + 2, 3, Qt::white);
    {
        QPainter painter(&image);
        const QRect target = direction == 0 ? QRect(0, 1, 3, length) : QRect(1, 0, length, 3);
        FillGradient(painter, target, bands, direction, end, start);
    }
    for (int i = 0; i < length; ++i) {
        const QPoint p = direction == 0 ? QPoint(1, i + 1) : QPoint(i + 1, 1);
        QCOMPARE(Pixel(image, p.x(), p.y()), expected[i]);
    }
    // Nothing outside the rectangle.
    QCOMPARE(Pixel(image, 1, 0).rgb() | Pixel(image, 0, 1).rgb(), QColor(Qt::white).rgb());
}

void CalendarPaintingTest::fillGradientWithoutBandsDrawsNothing()
{
    for (int bands : {0, -3}) {
        QImage image = Solid(4, 4, Qt::white);
        QPainter painter(&image);
        FillGradient(painter, image.rect(), bands, 0, 0xFF0000u, 0x0000FFu);
        painter.end();
        QCOMPARE(image, Solid(4, 4, Qt::white));
    }
}

void CalendarPaintingTest::fillGradientManyBandsOnFewRows()
{
    // The selection gradient: 256 bands over a 27-pixel cell.
    const QColor start = ColorFromBgr(5484032);
    const QColor end = ColorFromBgr(6673664);
    QImage image = Solid(2, 27, Qt::white);
    {
        QPainter painter(&image);
        FillGradient(painter, image.rect(), 256, 0, 6673664, 5484032);
    }
    for (int y = 0; y < 27; ++y)
        QCOMPARE(Pixel(image, 0, y), GradientRowColor(y, 27, 256, start, end));
    // The top row is band 5, the bottom row band 252: the last bands round to nothing.
    QCOMPARE(Pixel(image, 1, 0), QColor(0, 175, 83));
    QCOMPARE(Pixel(image, 1, 26), QColor(0, 212, 101));
}

void CalendarPaintingTest::blendBitmap_data()
{
    QTest::addColumn<qint64>("key");
    QTest::addColumn<int>("percentage");
    QTest::addColumn<QList<QColor>>("expected");
    // Destination grey 100; source: black (the top-left key), (200, 0, 50), black.
    const QColor grey(100, 100, 100);
    QTest::newRow("half, key from source")
        << qint64{kKeyFromSource} << 50 << QList<QColor>{grey, QColor(150, 50, 75), grey};
    QTest::newRow("a quarter rounds down")
        << qint64{kKeyFromSource} << 25 << QList<QColor>{grey, QColor(125, 75, 87), grey};
    QTest::newRow("100 shows no picture") << qint64{kKeyFromSource} << 100 << QList<QColor>{grey, grey, grey};
    QTest::newRow("150 mixes at 50") << qint64{kKeyFromSource} << 150 << QList<QColor>{grey, QColor(150, 50, 75), grey};
    QTest::newRow("0 shows no picture") << qint64{kKeyFromSource} << 0 << QList<QColor>{grey, grey, grey};
    QTest::newRow("given key leaves the black in")
        << qint64{0x3200C8} << 50 << QList<QColor>{QColor(50, 50, 50), grey, QColor(50, 50, 50)};
}

void CalendarPaintingTest::blendBitmap()
{
    QFETCH(qint64, key);
    QFETCH(int, percentage);
    QFETCH(QList<QColor>, expected);
    QImage dest = Solid(3, 1, QColor(100, 100, 100));
    QImage source = Solid(3, 1, Qt::black);
    source.setPixel(1, 0, qRgb(200, 0, 50));
    BlendBitmap(dest, source, 0, 0, key, percentage);
    for (int x = 0; x < 3; ++x)
        QCOMPARE(Pixel(dest, x, 0), expected[x]);
}

void CalendarPaintingTest::blendBitmapClipsToDestination()
{
    QImage source = Solid(3, 3, Qt::white);
    source.setPixel(0, 0, qRgb(0, 0, 0));  // key
    struct Case {
        QPoint origin;
        int changed;  // destination pixels that change
    } cases[] = {{{0, 0}, 8}, {{2, 2}, 3}, {{-2, -2}, 1}, {{4, 0}, 0}, {{0, -3}, 0}};
    for (const Case& c : cases) {
        QImage dest = Solid(4, 4, Qt::black);
        BlendBitmap(dest, source, c.origin.x(), c.origin.y(), kKeyFromSource, 50);
        int changed = 0;
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 4; ++x)
                changed += dest.pixel(x, y) != qRgb(0, 0, 0) ? 1 : 0;
        QCOMPARE(changed, c.changed);
    }
    // A source in another pixel format is brought to 32-bit RGB first.
    QImage dest = Solid(1, 1, QColor(0, 0, 0));
    QImage other(2, 1, QImage::Format_RGB888);
    other.setPixel(0, 0, qRgb(1, 2, 3));
    other.setPixel(1, 0, qRgb(200, 100, 50));
    BlendBitmap(dest, other, -1, 0, kKeyFromSource, 50);
    QCOMPARE(Pixel(dest, 0, 0), QColor(100, 50, 25));
}

void CalendarPaintingTest::fitPictureRect_data()
{
    QTest::addColumn<int>("pw");
    QTest::addColumn<int>("ph");
    QTest::addColumn<int>("bw");
    QTest::addColumn<int>("bh");
    QTest::addColumn<bool>("centred");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("wide picture, width fits") << 200 << 100 << 100 << 100 << false << QRect(0, 0, 100, 50);
    QTest::newRow("wide picture centred") << 200 << 100 << 100 << 100 << true << QRect(0, 25, 100, 50);
    QTest::newRow("tall picture centred") << 100 << 200 << 100 << 100 << true << QRect(25, 0, 50, 100);
    QTest::newRow("wide picture, height limits") << 300 << 100 << 150 << 40 << false << QRect(0, 0, 120, 40);
    QTest::newRow("square into a tall box") << 100 << 100 << 50 << 80 << true << QRect(0, 15, 50, 50);
    QTest::newRow("truncation") << 7 << 3 << 313 << 253 << false << QRect(0, 0, 313, 134);
    QTest::newRow("odd margin rounds down") << 10 << 10 << 313 << 253 << true << QRect(30, 0, 253, 253);
    QTest::newRow("no height: unchanged") << 10 << 0 << 313 << 253 << true << QRect(1, 2, 3, 4);
}

void CalendarPaintingTest::fitPictureRect()
{
    QFETCH(int, pw);
    QFETCH(int, ph);
    QFETCH(int, bw);
    QFETCH(int, bh);
    QFETCH(bool, centred);
    QFETCH(QRect, expected);
    QRect rect(1, 2, 3, 4);
    FitPictureRect(pw, ph, bw, bh, centred, rect);
    QCOMPARE(rect, expected);
}

void CalendarPaintingTest::weekDayCaption()
{
    const QStringList shortNames{"日", "一", "二", "三", "四", "五", "六"};
    for (int column = 1; column <= 7; ++column)
        QCOMPARE(WeekDayCaption(column, false), shortNames[column - 1]);
    QVERIFY(WeekDayCaption(0, false).isEmpty());
    QVERIFY(WeekDayCaption(8, false).isEmpty());

    const QLocale locale = CalendarLocale();
    QCOMPARE(locale.language(), QLocale::Chinese);
    QCOMPARE(WeekDayCaption(1, true), locale.dayName(Qt::Sunday));
    QCOMPARE(WeekDayCaption(2, true), locale.dayName(Qt::Monday));
    QCOMPARE(WeekDayCaption(7, true), locale.dayName(Qt::Saturday));
    QCOMPARE(WeekDayCaption(8, true), WeekDayCaption(1, true));  // day 8 is a Sunday again
    if (locale.name() == QStringLiteral("zh_CN"))
        QCOMPARE(WeekDayCaption(1, true), QStringLiteral("星期日"));
}

void CalendarPaintingTest::pointFontUsesPixelsAt96Dpi()
{
    QCOMPARE(PointFont("宋体", 9).pixelSize(), 12);
    QCOMPARE(PointFont("Arial", 24).pixelSize(), 32);
    QCOMPARE(PointFont("Arial Black", 22).pixelSize(), 29);
    QCOMPARE(PointFont("Arial Black", 90).pixelSize(), 120);
    QVERIFY(PointFont("宋体", 9, false, true).underline());
    QVERIFY(PointFont("黑体", 9, true).bold());
    QCOMPARE(ColorFromBgr(0x00469300), QColor(0, 147, 70));
    QCOMPARE(BgrFromColor(QColor(255, 128, 0)), TColor{33023});
}

void CalendarPaintingTest::dayCellLinesPair_data()
{
    QTest::addColumn<int>("height");
    QTest::newRow("rows of the main window") << 27;
    QTest::newRow("its last row") << 33;
    QTest::newRow("rows without title") << 37;
    QTest::newRow("a tall row") << 60;
    QTest::newRow("a row just big enough") << 23;
}

// Digits 9 pixels high on the baseline, Chinese text 11 high (one below it).
void CalendarPaintingTest::dayCellLinesPair()
{
    QFETCH(int, height);
    const TDayCellInk ink{{-9, 0}, {-10, 1}};
    const TDayCellBaselines lines = PlaceDayCellLines(ink, height);
    const int numberTop = lines.Day + ink.Day.Top;
    const int numberBottom = lines.Day + ink.Day.Bottom;
    const int lunarTop = lines.Cn + ink.Cn.Top;
    const int lunarBottom = lines.Cn + ink.Cn.Bottom;
    const int ownGap = lunarTop - numberBottom;
    const int above = numberTop;
    const int below = height - lunarBottom;
    QVERIFY(ownGap >= 1 && ownGap <= 3);
    QVERIFY(ownGap < above + below);        // the gap to the next row's number
    QVERIFY(std::abs(above - below) <= 1);  // centred
}

void CalendarPaintingTest::dayCellInkOfTheCellFonts()
{
    const TDayCellInk ink = MeasureDayCellInk(PointFont(QStringLiteral("黑体"), 9, true), SongTiFont());
    QVERIFY(ink.Day.Top < 0 && ink.Day.Height() > 4 && ink.Day.Height() <= 12);
    QVERIFY(ink.Cn.Top < 0 && ink.Cn.Height() > 6 && ink.Cn.Height() <= 15);
}

void CalendarPaintingTest::holidayMarkAsTallAsTheDigits_data()
{
    QTest::addColumn<QFont>("dayFont");
    QTest::newRow("黑体 9 pt bold (the default)") << PointFont(QStringLiteral("黑体"), 9, true);
    QTest::newRow("黑体 14 pt bold") << PointFont(QStringLiteral("黑体"), 14, true);
    QTest::newRow("Arial 9 pt") << PointFont(QStringLiteral("Arial"), 9);
    QTest::newRow("宋体 7 pt") << PointFont(QStringLiteral("宋体"), 7);
}

// The mark is as tall as the digits it stands beside: never taller (it
// would reach the lunar text), and not much smaller (it must stay legible).
void CalendarPaintingTest::holidayMarkAsTallAsTheDigits()
{
    QFETCH(QFont, dayFont);
    const int digits = MeasureDayCellInk(dayFont, SongTiFont()).Day.Height();
    const THolidayMarkStyle mark = MeasureHolidayMark(dayFont, digits);
    const QString sizes = QStringLiteral("digits %1 rows, mark %2 rows").arg(digits).arg(mark.Ink.height());
    QVERIFY2(mark.Ink.height() <= digits, qPrintable(sizes));
    QVERIFY2(mark.Ink.height() * 4 >= digits * 3, qPrintable(sizes));
    QVERIFY(!mark.Font.bold());
    QVERIFY(mark.Ink.top() < 0 && mark.Ink.width() > 3);
}

// Drawn in a 40 x 27 cell with its top on row 1: right-aligned two pixels in
// from the edge; a white plate under it only on the selection.
void CalendarPaintingTest::holidayMarkInTheCorner()
{
    const THolidayMarkStyle mark = MeasureHolidayMark(PointFont(QStringLiteral("黑体"), 9, true), 9);
    const QRect cell(0, 0, 40, 27);
    const QColor green(0, 190, 90);
    for (bool selected : {false, true}) {
        QImage image = Solid(cell.width(), cell.height(), green);
        {
            QPainter painter(&image);
            DrawHolidayMark(painter, cell, 1, mark, QStringLiteral("休"), Qt::red, selected);
        }
        const QRect changed = DifferingBox(image, Solid(cell.width(), cell.height(), green), cell);
        QVERIFY(!changed.isNull());
        QVERIFY(cell.adjusted(1, 1, -1, -1).contains(changed));
        QVERIFY(changed.left() >= cell.width() / 2);
        QCOMPARE(changed.top(), 1);
        QVERIFY(changed.bottom() <= 1 + mark.Ink.height());
        QCOMPARE(CountPixelsOf(image, Qt::white, changed) > 0, selected);
    }
    // An empty mark draws nothing.
    QImage image = Solid(cell.width(), cell.height(), green);
    {
        QPainter painter(&image);
        DrawHolidayMark(painter, cell, 1, mark, QString(), Qt::red, true);
    }
    QCOMPARE(image, Solid(cell.width(), cell.height(), green));
}

void CalendarPaintingTest::fitInfoLine_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<int>("width");
    const QString era = QStringLiteral("[元]仁宗 孛儿只斤·爱育黎拔力八达 延祐1年");
    QTest::newRow("a date that fits") << QStringLiteral("2010-06-01") << 297;
    QTest::newRow("a long era") << era << 297;
    QTest::newRow("a long era in a narrow line") << era << 160;
    QTest::newRow("no room for the lunar date") << era << 40;
    QTest::newRow("no room at all") << era << 0;
}

void CalendarPaintingTest::fitInfoLine()
{
    QFETCH(QString, date);
    QFETCH(int, width);
    const QString lunar = QStringLiteral(" 农历正月十五");
    const QFontMetrics metrics(SongTiFont());
    const QString full = date + lunar;
    const QString line = FitInfoLine(date, lunar, metrics, width);
    QVERIFY2(metrics.horizontalAdvance(line) <= width, qPrintable(line));
    if (metrics.horizontalAdvance(full) <= width) {
        QCOMPARE(line, full);
    } else if (metrics.horizontalAdvance(lunar) < width - metrics.horizontalAdvance(QStringLiteral("[元]…"))) {
        // Shortened in the era's middle: its start and end stay, and the lunar date whole.
        QVERIFY2(line.endsWith(QStringLiteral("年") + lunar), qPrintable(line));
        QVERIFY2(line.startsWith(QStringLiteral("[元]")), qPrintable(line));
        QVERIFY(line.contains(QChar(0x2026)));
    } else {
        QVERIFY(line.size() < full.size());
    }
}

void CalendarPaintingTest::imagesAtDeviceRatio()
{
    const QImage two = DeviceImage(QSize(313, 253), 2, QImage::Format_RGB32);
    QCOMPARE(two.size(), QSize(626, 506));
    QCOMPARE(two.devicePixelRatio(), 2.0);
    const QImage oneAndAQuarter = DeviceImage(QSize(313, 253), 1.25, QImage::Format_RGB32);
    QCOMPARE(oneAndAQuarter.size(), QSize(392, 317));  // rounded up: no logical pixel is left out
    QCOMPARE(DeviceImage(QSize(40, 20), 1.5, QImage::Format_RGB32).size(), QSize(60, 30));

    QImage image = DeviceImage(QSize(10, 10), 2, QImage::Format_RGB32);
    QPainter painter(&image);
    QCOMPARE(DeviceScale(painter), 2.0);
}

QTEST_MAIN(CalendarPaintingTest)
#include "calendar_painting_test.moc"
