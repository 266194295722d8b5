// Peak memory of one fixed-price entry with a long sales log, on the real
// widget (offscreen): how far the resident set rises above what it was while
// the operation runs, the toolkit's later painting not included.
//
//   entry_memory [lines]   (default 100000)
//
// Large blocks come straight from the kernel and go back on release, so the
// rise is the memory the entry holds at its peak, give or take a page.

#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/gbk.h"
#include "app/qt_shell.h"
#include "app/startup.h"
#include "core/bill_entry.h"

using namespace tallaro;

namespace {

// A field of /proc/self/status in KiB ("VmRSS", "VmHWM").
long status_kib(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) return std::strtol(line.c_str() + field.size() + 1, nullptr, 10);
    }
    return -1;
}

// Starts a new peak at the present resident set.
void reset_peak() { std::ofstream("/proc/self/clear_refs") << "5"; }

std::string make_log(int lines) {
    std::string log = gbk_from_utf8("当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银：");
    const std::string line = gbk_from_utf8("\r\n第1件商品，金额 10.0 元");
    for (int i = 0; i < lines; ++i) log += line;
    return log;
}

}  // namespace

int main(int argc, char** argv) {
    const int lines = argc > 1 ? std::atoi(argv[1]) : 100000;
    mallopt(M_MMAP_THRESHOLD, 64 * 1024);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepare_fonts();
    const std::string log = make_log(lines);
    std::printf("log: %d lines, %zu bytes\n", lines, log.size());

    // Each run starts from a fresh window that was given the whole log, so
    // that the entry's write must find room for the longer log: the worst
    // entry of a growing log.
    long highest = 0;
    for (int run = 0; run < 5; ++run) {
        QtShell shell;
        shell.load_window(Window::main, false, std::nullopt);
        shell.write_text(Window::main, "编辑框1", log);
        QCoreApplication::processEvents();
        malloc_trim(0);
        const long before = status_kib("VmRSS");
        reset_peak();
        enter_fixed_price(fixed_prices[5]);
        const long rise = status_kib("VmHWM") - before;
        std::printf("entry %d: peak %ld KiB above %ld KiB\n", run + 1, rise, before);
        if (rise > highest) highest = rise;
        QCoreApplication::processEvents();
    }
    std::printf("highest peak rise: %ld KiB\n", highest);
    return 0;
}
