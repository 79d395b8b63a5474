// The yardstick of the start-up measurement: a bare Qt window of the main
// window's smallest size that prints the wall-clock time of its first
// painting on screen, measured exactly as the notebook's, and ends.

#include "core/PaintProbe.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(906, 540);
    qn::PaintProbe probe(&window);
    probe.Arm([] {
        std::printf("first_paint_us %lld\nfirst_paint_cpu_us %lld\n", qn::WallMicros(), qn::ProcessCpuMicros());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
