// A child process for the exit-path tests: starts the program as main()
// does, then plays one scenario given on the command line and reports what
// it saw on standard output.

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "app/fp_env.h"
#include "app/qt_shell.h"
#include "app/startup.h"
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
    }
    std::fflush(stdout);
    click(box->button(QMessageBox::Ok));
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
        } else if (scenario == "out-of-memory") {
            QTimer::singleShot(0, [&] { answer_error_box(shell); });
            static support::AllocationScript script(1);  // the time stamp's text
            click(main->control("按钮1"));
        }
    });
    return shell.run();
}
