// TChnCalendar on a high-density screen: the process runs with
// QT_SCALE_FACTOR (2 unless the environment gives another, e.g. 1.25 or 1.5),
// and the grabbed control is checked in device pixels.

#include "calendar_control/CalendarFonts.h"
#include "calendar_control/CalendarGrid.h"
#include "calendar_control/ChnCalendar.h"
#include "holidays/HolidayData.h"
#include "tests/support/CalendarTestSupport.h"

#include <QApplication>
#include <QTest>

#include <cmath>
#include <memory>

namespace {

const double kNow = qn::EncodeDateTime(2024, 5, 6, 10, 30, 0);

// Device pixels of one column (or row) of `image` from `from` to `to`,
// sorted into: the colour `mark`, the composed background, or anything else
// (a blend of the two: a smeared edge).
struct EdgeScan {
    int markFirst = -1;
    int markLast = -1;
    int marks = 0;
    int blends = 0;
};

EdgeScan ScanColumn(const QImage& image, const QImage& ground, int x, int from, int to, QColor mark)
{
    EdgeScan scan;
    for (int y = from; y <= to; ++y) {
        const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
        if (pixel == (mark.rgb() & 0xFFFFFF)) {
            if (scan.markFirst < 0)
                scan.markFirst = y;
            scan.markLast = y;
            ++scan.marks;
        } else if (pixel != (ground.pixel(x, y) & 0xFFFFFF)) {
            ++scan.blends;
        }
    }
    return scan;
}

EdgeScan ScanRow(const QImage& image, const QImage& ground, int y, int from, int to, QColor mark)
{
    EdgeScan scan;
    for (int x = from; x <= to; ++x) {
        const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
        if (pixel == (mark.rgb() & 0xFFFFFF)) {
            if (scan.markFirst < 0)
                scan.markFirst = x;
            scan.markLast = x;
            ++scan.marks;
        } else if (pixel != (ground.pixel(x, y) & 0xFFFFFF)) {
            ++scan.blends;
        }
    }
    return scan;
}

// The device pixel where logical pixel `logical` begins: edges are rounded
// to the nearest device pixel when a logical rectangle is filled.
int Device(int logical, qreal ratio) { return qRound(logical * ratio); }

}  // namespace

class CalendarHiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void backgroundAtTheScreenRatio();
    void linesStayCrisp();
    void selectionFrameStaysCrisp();
    void textsAndWatermarksAtTheScreenRatio();
    void holidayMarksBesideTheDayNumbers();

private:
    std::unique_ptr<TChnCalendar> FCalendar;
    qreal FRatio = 1;
};

void CalendarHiDpiTest::initTestCase() { InstallWindowsFontSubstitutes(); }

void CalendarHiDpiTest::init()
{
    FCalendar = std::make_unique<TChnCalendar>(nullptr, qn::FixedClock(kNow));
    FCalendar->show();
    FRatio = FCalendar->devicePixelRatioF();
    QVERIFY2(FRatio > 1, "run with QT_SCALE_FACTOR above 1");
}

void CalendarHiDpiTest::cleanup() { FCalendar.reset(); }

void CalendarHiDpiTest::backgroundAtTheScreenRatio()
{
    const QImage image = FCalendar->grab().toImage();
    QCOMPARE(image.devicePixelRatio(), FRatio);
    FCalendar->grab();
    const QImage& ground = FCalendar->FBackBitmap();
    QCOMPARE(ground.devicePixelRatio(), FRatio);
    QCOMPARE(ground.width(), static_cast<int>(std::ceil(FCalendar->width() * FRatio - 1e-9)));
    QCOMPARE(ground.height(), static_cast<int>(std::ceil(FCalendar->height() * FRatio - 1e-9)));
}

void CalendarHiDpiTest::linesStayCrisp()
{
    const QImage image = FCalendar->grab().toImage();
    const QImage& ground = FCalendar->FBackBitmap();
    const QPoint grid = FCalendar->Grid()->pos();

    // The line under the weekdays, in the margin column where no text is near.
    const QRect header = FCalendar->Grid()->CellRect(8, 0).translated(grid);
    const int lineY = header.bottom() - 3;
    const QColor line = ColorFromBgr(FCalendar->ColorTitleWeekLine());
    const EdgeScan across = ScanColumn(image, ground, Device(header.center().x(), FRatio), Device(lineY - 2, FRatio),
                                       Device(lineY + 3, FRatio), line);
    QCOMPARE(across.blends, 0);
    QVERIFY2(across.marks >= std::floor(FRatio) && across.marks <= std::ceil(FRatio),
             qPrintable(QString::number(across.marks)));
    QCOMPARE(across.markLast - across.markFirst + 1, across.marks);  // one unbroken run

    // The control's frame down its left edge: grey device pixels, then the ground.
    const QColor frame = ColorFromBgr(FCalendar->ColorShowFrame());
    const int y = Device(FCalendar->height() / 2, FRatio);
    QCOMPARE(QColor(image.pixel(0, y)), frame);
    int width = 0;
    while (QColor(image.pixel(width, y)) == frame)
        ++width;
    QVERIFY2(width >= std::floor(FRatio) && width <= std::ceil(FRatio), qPrintable(QString::number(width)));
    QCOMPARE(QColor(image.pixel(width, y)), QColor(Qt::white));
}

void CalendarHiDpiTest::selectionFrameStaysCrisp()
{
    const QImage image = FCalendar->grab().toImage();
    const QImage& ground = FCalendar->FBackBitmap();
    const QRect cell = FCalendar->Grid()
                           ->CellRect(FCalendar->Grid()->Col(), FCalendar->Grid()->Row())
                           .translated(FCalendar->Grid()->pos());
    const QColor frame = ColorFromBgr(FCalendar->ColorSelectedFrame());
    // Across the left edge at a third of the cell's height, from the cell
    // before it to the last device pixel of the cell's first column.
    const int y = Device(cell.top() + cell.height() / 3, FRatio);
    const EdgeScan left =
        ScanRow(image, ground, y, Device(cell.left() - 2, FRatio), Device(cell.left() + 1, FRatio) - 1, frame);
    QCOMPARE(left.blends, 0);
    QVERIFY2(left.marks >= std::floor(FRatio) && left.marks <= std::ceil(FRatio),
             qPrintable(QString::number(left.marks)));
    // Across the top edge, from the cell above it.
    const int x = Device(cell.left() + 3, FRatio);
    const EdgeScan top =
        ScanColumn(image, ground, x, Device(cell.top() - 2, FRatio), Device(cell.top() + 1, FRatio) - 1, frame);
    QCOMPARE(top.blends, 0);
    QVERIFY2(top.marks >= std::floor(FRatio) && top.marks <= std::ceil(FRatio), qPrintable(QString::number(top.marks)));
}

void CalendarHiDpiTest::textsAndWatermarksAtTheScreenRatio()
{
    const int ratio = static_cast<int>(FRatio);
    if (ratio != FRatio)
        QSKIP("needs a whole number of device pixels per pixel");
    const QImage image = FCalendar->grab().toImage();
    const QRect grid = FCalendar->Grid()->geometry();
    // Digits, lunar texts and weekday names.
    QVERIFY2(DetailedBlocks(image, grid, ratio) > 1000,
             qPrintable(QString::number(DetailedBlocks(image, grid, ratio))));
    // The watermarks on their own (the composed background).
    const QImage& ground = FCalendar->FBackBitmap();
    QVERIFY(DetailedBlocks(ground, grid, ratio) > 200);
}

// February 2024 with its marks at the screen's ratio: each mark changes only
// the top right corner of its cell, clear of the day number, and no other
// cell changes.
void CalendarHiDpiTest::holidayMarksBesideTheDayNumbers()
{
    FCalendar->SetDateTime(qn::EncodeDate(2024, 2, 6));
    FCalendar->SetHideSelection(true);
    FCalendar->Grid()->clearFocus();
    FCalendar->SetHolidays(std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows()));
    FCalendar->SetShowHolidays(false);
    const QImage off = FCalendar->grab().toImage();
    FCalendar->SetOnDrawCnDateCell(
        [](TChnCalendar*, int, QPainter&, const QRect&, bool, QString&, bool& defaultDraw) { defaultDraw = false; });
    const QImage numbers = FCalendar->grab().toImage();
    FCalendar->SetOnDrawCnDateCell(nullptr);
    const QImage& ground = FCalendar->FBackBitmap();
    FCalendar->SetShowHolidays(true);
    const QImage on = FCalendar->grab().toImage();

    int marked = 0;
    for (int cell = 1; cell <= TCalendarModel::kLastDayCell; ++cell) {
        const TcnDateInf& inf = FCalendar->FDays()[cell];
        const QRect logical = FCalendar->Grid()
                                  ->CellRect(TCalendarModel::CellColumn(cell), TCalendarModel::CellRow(cell))
                                  .translated(FCalendar->Grid()->pos());
        const QRect here = DeviceRect(logical, FRatio);
        const QRect changed = DifferingBox(on, off, here);
        const QString where = QStringLiteral("day %1: changed %2,%3 %4x%5 in %6,%7 %8x%9")
                                  .arg(inf.Day)
                                  .arg(changed.x())
                                  .arg(changed.y())
                                  .arg(changed.width())
                                  .arg(changed.height())
                                  .arg(here.x())
                                  .arg(here.y())
                                  .arg(here.width())
                                  .arg(here.height());
        if (inf.HolidayMark.isEmpty()) {
            QVERIFY2(changed.isNull(), qPrintable(where));
            continue;
        }
        ++marked;
        QVERIFY2(!changed.isNull(), qPrintable(where));
        QVERIFY2(DeviceRect(logical.adjusted(1, 1, -1, -1), FRatio).contains(changed), qPrintable(where));
        QVERIFY2(changed.left() >= here.center().x() && changed.bottom() < here.center().y(), qPrintable(where));
        QVERIFY2(!changed.intersects(DifferingBox(numbers, ground, here)), qPrintable(where));
    }
    QCOMPARE(marked, 10);
}

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    CalendarHiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "calendar_hidpi_test.moc"
