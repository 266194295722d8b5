// Start-up cost of the program: its own start-up, exactly as main() runs it,
// ending as soon as the main window has painted for the first time.
// bench/startup_floor.cpp is what it is measured against.

#include <QApplication>

#include "app/startup.h"
#include "bench/qt_bench.h"

int main(int argc, char** argv) {
    bench::quiet_unsupported();
    bench::FirstPaint first_paint;
    return tallaro::run_program(argc, argv, [&] { qApp->installEventFilter(&first_paint); });
}
