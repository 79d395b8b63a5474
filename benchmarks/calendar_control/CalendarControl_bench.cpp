// Speed of the calendar control: laying out a new month and repainting the
// whole control into an image, without and with the statutory holiday marks.
// Runs on the offscreen platform unless another one is asked for.

#include "calendar/DateValue.h"
#include "calendar_control/CalendarFonts.h"
#include "calendar_control/CalendarModel.h"
#include "calendar_control/ChnCalendar.h"
#include "holidays/HolidayData.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

const double kNow = qn::EncodeDateTime(2024, 5, 6, 10, 30, 0);

// Two dates in different months, taken in turn so every call is a new month.
double DateFor(std::int64_t iteration)
{
    return iteration % 2 == 0 ? qn::EncodeDate(2024, 5, 17) : qn::EncodeDate(2031, 11, 3);
}

// The month layout alone: day information for every day, cells, week numbers.
void BM_ModelLayout(benchmark::State& state)
{
    TCalendarModel model;
    std::int64_t i = 0;
    for (auto _ : state) {
        model.SelectDate(DateFor(i++));
        benchmark::DoNotOptimize(model.LayoutMonth());
    }
}
BENCHMARK(BM_ModelLayout)->Unit(benchmark::kMicrosecond);

// An accepted SetDateTime on the shown control: layout, labels, selection and
// the recomposed background; the grid is only scheduled for repainting.
void BM_SetDateTime(benchmark::State& state)
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    calendar.show();
    std::int64_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(calendar.SetDateTime(DateFor(i++)));
}
BENCHMARK(BM_SetDateTime)->Unit(benchmark::kMicrosecond);

// Rebuilding the composed background (white ground, frame, watermarks).
void BM_ComposeBackground(benchmark::State& state)
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    calendar.show();
    for (auto _ : state) {
        calendar.ComposeBackground();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ComposeBackground)->Unit(benchmark::kMicrosecond);

// The whole control drawn into an image: background, labels, selectors and
// all 63 grid cells.
void BM_FullRepaint(benchmark::State& state)
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    calendar.show();
    QImage image(calendar.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        calendar.render(&image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond);

// The same on a screen of twice the density: everything is drawn at ratio 2.
void BM_FullRepaintAtRatio2(benchmark::State& state)
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    calendar.show();
    QImage image(calendar.size() * 2, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(2);
    for (auto _ : state) {
        calendar.render(&image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaintAtRatio2)->Unit(benchmark::kMicrosecond);

std::shared_ptr<const qn::HolidayCalendar> BuiltInHolidays()
{
    return std::make_shared<const qn::HolidayCalendar>(qn::BuiltInHolidayRows());
}

// Two months with many marks: February 2024 (春节, 10 marks) and October
// 2024 (国庆节, 9 marks).
double MarkedDateFor(std::int64_t iteration)
{
    return iteration % 2 == 0 ? qn::EncodeDate(2024, 2, 6) : qn::EncodeDate(2024, 10, 15);
}

// The month layout with its holiday marks worked out.
void BM_ModelLayoutWithHolidays(benchmark::State& state)
{
    TCalendarModel model;
    model.SetHolidays(BuiltInHolidays());
    std::int64_t i = 0;
    for (auto _ : state) {
        model.SelectDate(MarkedDateFor(i++));
        benchmark::DoNotOptimize(model.LayoutMonth());
    }
}
BENCHMARK(BM_ModelLayoutWithHolidays)->Unit(benchmark::kMicrosecond);

// SetDateTime as above, the holiday table set and marks in both months.
void BM_SetDateTimeWithHolidays(benchmark::State& state)
{
    TChnCalendar calendar(nullptr, qn::FixedClock(kNow));
    calendar.SetHolidays(BuiltInHolidays());
    calendar.show();
    std::int64_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(calendar.SetDateTime(MarkedDateFor(i++)));
}
BENCHMARK(BM_SetDateTimeWithHolidays)->Unit(benchmark::kMicrosecond);

// The whole control drawn with February 2024's ten marks, at ratio 1 and 2.
void BM_FullRepaintWithHolidays(benchmark::State& state)
{
    const qreal ratio = static_cast<qreal>(state.range(0));
    TChnCalendar calendar(nullptr, qn::FixedClock(qn::EncodeDate(2024, 2, 6)));
    calendar.SetHolidays(BuiltInHolidays());
    calendar.show();
    QImage image(calendar.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(ratio);
    for (auto _ : state) {
        calendar.render(&image);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FullRepaintWithHolidays)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InstallWindowsFontSubstitutes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
