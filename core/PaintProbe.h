#pragma once
// Tells when a window's next painting has reached the screen: start-up work
// that the first painting need not wait for runs after it, and the start-up
// and week-switch measurements (benchmarks/startup) are timed by it. Header
// only: the bare Qt window those measurements compare with uses the very
// same probe, so both are timed the same way.
//
// A widget of the window receives its paint event while Qt paints every
// changed widget into the window's buffer; the buffer is handed to the
// window system before control returns to the event loop, where a zero
// timer armed at the first paint event fires. So the callback runs right
// after the frame was flushed (later, never earlier).

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <ctime>
#include <functional>

namespace qn {

// Microseconds on one of the system's clocks.
inline long long ClockMicros(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

// Wall-clock microseconds: comparable with bash's $EPOCHREALTIME taken just
// before the program was started.
inline long long WallMicros() { return ClockMicros(CLOCK_REALTIME); }
// Steady microseconds, for intervals inside one run.
inline long long SteadyMicros() { return ClockMicros(CLOCK_MONOTONIC); }
// CPU microseconds of the calling thread: what a step cost this program,
// whatever else the machine was doing.
inline long long ThreadCpuMicros() { return ClockMicros(CLOCK_THREAD_CPUTIME_ID); }
// CPU microseconds of the whole process so far (every thread).
inline long long ProcessCpuMicros() { return ClockMicros(CLOCK_PROCESS_CPUTIME_ID); }

class PaintProbe : public QObject {
public:
    explicit PaintProbe(QWidget* window) : QObject(window), m_window(window)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~PaintProbe() override { QCoreApplication::instance()->removeEventFilter(this); }
    PaintProbe(const PaintProbe&) = delete;
    PaintProbe& operator=(const PaintProbe&) = delete;

    // `painted` runs once, after the next painting of the window was flushed.
    void Arm(std::function<void()> painted) { m_painted = std::move(painted); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_painted && event->type() == QEvent::Paint && watched->isWidgetType()
            && static_cast<QWidget*>(watched)->window() == m_window) {
            QTimer::singleShot(0, this, [painted = std::move(m_painted)] { painted(); });
            m_painted = nullptr;
        }
        return false;
    }

private:
    QWidget* m_window;
    std::function<void()> m_painted;
};

}  // namespace qn
