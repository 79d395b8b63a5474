#include "app/BenchHooks.h"

#include "calendar_control/CalendarGrid.h"
#include "calendar_control/ChnCalendar.h"
#include "core/PaintProbe.h"
#include "core/uGlobal.h"
#include "notes/window/uMain.h"
#include "store/WholeFileCheck.h"

#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QWindow>

#include <cstdio>

namespace qn::bench {

namespace {

using qn::PaintProbe;
using qn::ProcessCpuMicros;
using qn::SteadyMicros;
using qn::ThreadCpuMicros;
using qn::WallMicros;

// A user does not click again within this time; it also lets the boxes'
// layout that goes on from the event loop finish, as it would between clicks.
// QN_BENCH_PAUSE_MS sets another.
constexpr int kPauseMs = 60;
// After the last switch, before the memory is read: longer than the pause
// after which the window gives back the font pages a week's loading brought
// in (TMainFrm::kIdleMemoryPauseMs).
constexpr int kSettleMs = 6000;
// A switch that never paints ends the run instead of hanging it.
constexpr int kWatchdogMs = 10000;

// "<field>: 1234 kB" from a /proc file of this process.
long long ProcKilobytes(const char* file, const char* field)
{
    QFile proc(QString::fromLatin1(file));
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    const QRegularExpression line(QStringLiteral("^%1:\\s+(\\d+) kB").arg(QLatin1String(field)),
                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(QString::fromLatin1(proc.readAll()));
    return match.hasMatch() ? match.captured(1).toLongLong() : -1;
}

class WeekSwitchDriver : public QObject {
public:
    WeekSwitchDriver(TMainFrm& window, int switches) : QObject(&window), m_window(window), m_total(switches)
    {
        m_probe = new PaintProbe(&window);
        m_probe->Arm([this] {
            m_painted = true;
            MaybeStart();
        });
        m_watchdog.setSingleShot(true);
        m_watchdog.setInterval(kWatchdogMs);
        connect(&m_watchdog, &QTimer::timeout, this, [] {
            std::fputs("switch_failed: no painting\n", stdout);
            std::fflush(stdout);
            QCoreApplication::exit(3);
        });
    }

    void FileChecked()
    {
        m_checked = true;
        MaybeStart();
    }

private:
    void MaybeStart()
    {
        if (m_checked && m_painted && !m_started) {
            m_started = true;
            QTimer::singleShot(m_pauseMs, this, [this] { Next(); });
        }
    }

    void Next()
    {
        if (m_done == m_total) {
            QTimer::singleShot(kSettleMs, this, [] {
                std::printf(
                    "vmrss_kb %lld\npss_kb %lld\nrss_anon_kb %lld\nrss_file_kb %lld\nrss_shmem_kb %lld\n",
                    ProcKilobytes("/proc/self/status", "VmRSS"), ProcKilobytes("/proc/self/smaps_rollup", "Pss"),
                    ProcKilobytes("/proc/self/status", "RssAnon"), ProcKilobytes("/proc/self/status", "RssFile"),
                    ProcKilobytes("/proc/self/status", "RssShmem"));
                if (const QByteArray copy = qgetenv("QN_BENCH_SMAPS_COPY"); !copy.isEmpty()) {
                    QFile from(QStringLiteral("/proc/self/smaps"));
                    QFile to(QString::fromLocal8Bit(copy));
                    if (from.open(QIODevice::ReadOnly) && to.open(QIODevice::WriteOnly))
                        to.write(from.readAll());
                }
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
            return;
        }
        const long long start = SteadyMicros();
        const long long startCpu = ThreadCpuMicros();
        m_probe->Arm([this, start, startCpu] {
            const long long took = SteadyMicros() - start;
            const long long cpu = ThreadCpuMicros() - startCpu;
            m_watchdog.stop();
            std::printf("switch_us %lld %lld %s\n", took, cpu, ShownWeek.empty() ? "?" : ShownWeek[0].DayKey.c_str());
            std::fflush(stdout);
            ++m_done;
            QTimer::singleShot(m_pauseMs, this, [this] { Next(); });
        });
        m_watchdog.start();
        if (m_done % 6 == 5)
            PressKey(Qt::Key_PageUp);
        else
            ClickAnotherWeek();
    }

    // A click on Wednesday (or another weekday) of the next calendar row
    // that has days, through the window as the window system delivers it.
    void ClickAnotherWeek()
    {
        TCalendarGrid* grid = m_window.calendar()->Grid();
        const auto& days = m_window.calendar()->FDays();
        const int current = grid->Row();
        for (int step = 1; step < TCalendarGrid::kRowCount; ++step) {
            const int row = 1 + (current - 1 + step) % (TCalendarGrid::kRowCount - 1);
            for (const int col : {4, 3, 5, 2, 6, 7}) {
                const int cell = (row - 1) * 7 + col;
                if (cell > TCalendarModel::kLastDayCell || !days[static_cast<size_t>(cell)].InUse)
                    continue;
                const QPointF at = grid->mapTo(&m_window, grid->CellRect(col, row).center());
                PostMouse(QEvent::MouseButtonPress, at);
                PostMouse(QEvent::MouseButtonRelease, at);
                return;
            }
        }
    }

    void PostMouse(QEvent::Type type, const QPointF& at)
    {
        QWindow* handle = m_window.windowHandle();
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QCoreApplication::postEvent(
            handle, new QMouseEvent(type, at, at, m_window.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier));
    }

    void PressKey(int key)
    {
        QWidget* grid = m_window.calendar()->Grid();
        QCoreApplication::postEvent(grid, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        QCoreApplication::postEvent(grid, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
    }

    TMainFrm& m_window;
    PaintProbe* m_probe = nullptr;
    QTimer m_watchdog;
    const int m_total;
    const int m_pauseMs =
        qEnvironmentVariableIsSet("QN_BENCH_PAUSE_MS") ? qEnvironmentVariableIntValue("QN_BENCH_PAUSE_MS") : kPauseMs;
    int m_done = 0;
    bool m_painted = false;
    bool m_checked = false;
    bool m_started = false;
};

}  // namespace

void StartHooks(TMainFrm& window, BackgroundFileCheck& check)
{
    if (qEnvironmentVariableIsSet("QN_BENCH_EXIT_ON_PAINT")) {
        auto* probe = new PaintProbe(&window);
        probe->Arm([] {
            std::printf("first_paint_us %lld\nfirst_paint_cpu_us %lld\n", WallMicros(), ProcessCpuMicros());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
        return;
    }
    if (!qEnvironmentVariableIsSet("QN_BENCH_SWITCHES"))
        return;
    auto* driver = new WeekSwitchDriver(window, qEnvironmentVariableIntValue("QN_BENCH_SWITCHES"));
    QObject::connect(&check, &BackgroundFileCheck::finished, driver, [driver] { driver->FileChecked(); });
}

}  // namespace qn::bench
