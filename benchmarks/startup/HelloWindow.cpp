// The yardstick of the start-up measurement: a bare Qt window of the main
// window's smallest size that prints the wall-clock time of its first
// painting on screen, measured exactly as the notebook's, and ends.

#include "app/PaintProbe.h"

#include <QApplication>
#include <QWidget>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(906, 540);
    qn::bench::PaintProbe probe(&window);
    probe.Arm([] {
        std::printf("first_paint_us %lld\n", qn::bench::WallMicros());
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    window.show();
    return QApplication::exec();
}
