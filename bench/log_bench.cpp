// The cost of one fixed-price entry as the sales log grows, with the real
// widget on the offscreen platform, beside whole-text replacement and beside
// the floor: copying the log's bytes as often as an entry must (read it,
// join it, keep the written copy).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPlainTextEdit>
#include <cstring>
#include <memory>

#include "app/gbk_qt.h"
#include "app/qt_shell.h"
#include "app/startup.h"
#include "bench/qt_bench.h"
#include "core/bill_entry.h"
#include "core/gbk.h"
#include "core/text.h"

using namespace tallaro;

namespace {

// A sales log of `lines` article lines, as GBK.
std::string make_log(int lines) {
    std::string log = gbk_from_utf8("当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银：");
    const std::string line = gbk_from_utf8("\r\n第1件商品，金额 10.0 元");
    for (int i = 0; i < lines; ++i) log += line;
    return log;
}

struct Bill {
    explicit Bill(int lines) {
        shell = std::make_unique<QtShell>();
        shell->load_window(Window::main, false, std::nullopt);
        shell->write_text(Window::main, "编辑框1", make_log(lines));
        QCoreApplication::processEvents();
    }
    ~Bill() {
        shell.reset();
        QCoreApplication::processEvents();
    }
    std::unique_ptr<QtShell> shell;
};

// Every so many entries the log goes back to its starting length, outside
// the timing, so that each size measures what it says.
constexpr int k_reset_every = 64;

void entry_with_widget(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    Bill bill(lines);
    int entries = 0;
    for (auto _ : state) {
        enter_fixed_price(fixed_prices[5]);
        QCoreApplication::processEvents();  // let the widget lay out and paint
        if (++entries % k_reset_every == 0) {
            state.PauseTiming();
            bill.shell->write_text(Window::main, "编辑框1", make_log(lines));
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    state.SetLabel("append to the document");
}

void entry_replacing_whole_text(benchmark::State& state) {
    Bill bill(static_cast<int>(state.range(0)));
    auto* edit = static_cast<QPlainTextEdit*>(bill.shell->window(Window::main)->control("编辑框1"));
    const std::string line = gbk_from_utf8("\r\n第1件商品，金额 10.0 元");
    const std::string start = make_log(static_cast<int>(state.range(0)));
    std::string log = start;
    int entries = 0;
    for (auto _ : state) {
        log = join_texts({log, line});
        edit->setPlainText(qstring_from_gbk(log));
        QCoreApplication::processEvents();
        if (++entries % k_reset_every == 0) log = start;
    }
    state.SetLabel("setPlainText of the whole log");
}

void floor_copies(benchmark::State& state) {
    const std::string line = gbk_from_utf8("\r\n第1件商品，金额 10.0 元");
    const std::string start = make_log(static_cast<int>(state.range(0)));
    std::string held = start;
    for (auto _ : state) {
        const std::string read = copy_text(held);             // read text
        const std::string joined = join_texts({read, line});  // the join
        held.assign(joined);                                  // write text keeps a copy
        benchmark::DoNotOptimize(held.data());
        held.resize(start.size());
    }
    state.SetLabel("read, join, keep: bytes only");
}

}  // namespace

BENCHMARK(entry_with_widget)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(entry_replacing_whole_text)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(floor_copies)->Arg(100)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
    bench::quiet_unsupported();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    prepare_fonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
