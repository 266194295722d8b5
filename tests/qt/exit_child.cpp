// A child process for the exit-path tests: starts the program as main()
// does, then plays one scenario given on the command line and reports what
// it saw on standard output.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "app/fp_env.h"
#include "app/qt_shell.h"
#include "app/startup.h"
#include "core/bill_entry.h"
#include "core/checkout.h"
#include "core/gbk.h"
#include "core/text.h"
#include "tests/allocation_script.h"
#include "tests/qt/harness.h"

using namespace tallaro;

namespace {

void click(QWidget* target) {
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      target->mapTo(top, target->rect().center()));
}

// Reports the error box, shows that clicks on the windows run nothing while
// it is up, then presses its OK button.
void answer_error_box(QtShell& shell) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(10, [&shell] { answer_error_box(shell); });
        return;
    }
    std::printf("title: %s\n", box->windowTitle().toUtf8().constData());
    std::printf("text: %s\n", box->text().toUtf8().replace('\n', "\\n").constData());
    std::printf("icon: %s\n", box->icon() == QMessageBox::Critical ? "error" : "other");
    if (FormWindow* main = shell.window(Window::main)) {
        click(main->control("按钮1"));
        std::printf("bill started: %s\n", main->control("按钮1")->isEnabled() ? "no" : "yes");
        // A close request now would lose the last window and so end the
        // program before the box is answered.
        main->windowHandle()->close();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        std::printf("after a close request: %s\n",
                    shell.loaded(Window::main) && box->isVisible() ? "window and box stay" : "gone");
    }
    std::fflush(stdout);
    click(box->button(QMessageBox::Ok));
}

void type(QWidget* window, const char* text) {
    for (const char* c = text; *c; ++c) QTest::keyClick(window->windowHandle(), *c);
}

// A whole bill by clicks and typing: three articles, a settlement, the end
// of the bill, then the exit button. Prints the text allocations it made
// before it exits.
void play_bill(QtShell& shell, const support::AllocationScript& script) {
    FormWindow* main = shell.window(Window::main);
    for (const char* button : {"按钮1", "按钮6", "按钮3", "编辑框2"}) click(main->control(button));
    type(main, "3.5");
    click(main->control("按钮13"));
    QTimer::singleShot(0, [&shell] {
        FormWindow* checkout = shell.window(Window::checkout);
        if (!checkout || !checkout->isVisible() || shell.hold_count() > 0) return;  // the error box is up
        type(checkout, "10");
        click(checkout->control("按钮1"));
        click(checkout->control("按钮2"));
    });
    click(main->control("按钮2"));
    std::printf("requests:");
    for (std::size_t bytes : script.requests()) std::printf(" %zu", bytes);
    std::printf("\n");
    std::fflush(stdout);
    click(shell.window(Window::main)->control("按钮14"));
}

// The address space the process has taken so far, in bytes.
rlim_t address_space_in_use() {
    std::ifstream statm("/proc/self/statm");
    unsigned long pages = 0;
    statm >> pages;
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE));
}

// Pastes `length` digits into the custom price box, then leaves `room` bytes
// of address space and presses 确认.
void press_confirm_after_huge_paste(QtShell& shell, qsizetype length, rlim_t room) {
    FormWindow* main = shell.window(Window::main);
    click(main->control("按钮1"));
    QGuiApplication::clipboard()->setText(QString(length, QLatin1Char('7')));
    click(main->control("编辑框2"));
    QTest::keyClick(main->windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QGuiApplication::clipboard()->clear();
    // The toolkit lays the box's whole text out each time it paints it: that
    // is no operation of the program, and it is done before the limit. 确认
    // then takes the focus, and the space bar presses it, so that nothing
    // paints the box again.
    main->control("按钮13")->setFocus();
    main->repaint();
    std::printf("pasted: %lld\n", static_cast<long long>(qobject_cast<QLineEdit*>(main->control("编辑框2"))->text().size()));
    std::fflush(stdout);
    const rlim_t limit = address_space_in_use() + room;
    const rlimit rl{limit, limit};
    if (setrlimit(RLIMIT_AS, &rl) != 0) std::printf("setrlimit failed\n");
    QTimer::singleShot(0, [&shell] { answer_error_box(shell); });
    QTest::keyClick(main->windowHandle(), Qt::Key_Space);
    std::printf("the entry ran to its end\n");
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    set_floating_point_environment();
    QApplication app(argc, argv);
    prepare_fonts();
    support::FixedClock clock(LocalTime{2024, 3, 5, 8, 7, 9});
    QtShell shell;
    const QString scenario = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();

    QTimer::singleShot(0, [&] {
        FormWindow* main = shell.window(Window::main);
        if (scenario == "exit-button") {
            click(main->control("按钮14"));
            std::printf("exit_program returned\n");
        } else if (scenario == "close-last") {
            main->windowHandle()->close();
        } else if (scenario == "not-loaded") {
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            shell.read_text(Window::checkout, "标签1");
        } else if (scenario == "queued-destruction-then-fatal") {
            // The main window's destruction is queued, then the error box
            // comes up: taken while the box is up, the destruction would lose
            // the last window and its quit request end the box's wait.
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            shell.destroy_window(Window::main);
            shell.read_text(Window::checkout, "标签1");
        } else if (scenario.startsWith("bill-failing-at-")) {
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            static support::AllocationScript script(scenario.mid(16).toULong());
            play_bill(shell, script);
        } else if (scenario == "settle-without-checkout" || scenario == "amount-due-without-checkout" ||
                   scenario == "end-bill-without-checkout") {
            // The operation as its button would run it, with no checkout window.
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            if (scenario == "settle-without-checkout") settle_payment();
            if (scenario == "amount-due-without-checkout") show_amount_due();
            if (scenario == "end-bill-without-checkout") end_bill();
        } else if (scenario.startsWith("huge-paste-")) {
            // huge-paste-LENGTH-ROOM: ROOM bytes of address space left after
            // a paste of LENGTH digits.
            const QStringList sizes = scenario.mid(11).split('-');
            press_confirm_after_huge_paste(shell, sizes.value(0).toLongLong(), sizes.value(1).toULongLong());
        } else if (scenario == "start") {
            // Start-up alone; an error box, if any, is reported.
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
        } else if (scenario == "out-of-memory") {
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            static support::AllocationScript script(1);  // the time stamp's text
            click(main->control("按钮1"));
        }
    });
    return shell.run();
}
