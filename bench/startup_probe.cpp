// Start-up cost: the program's own start-up (floating-point environment,
// fonts, shell, main window from its form), ending as soon as the main window
// has painted for the first time; or, with "bare", a plain Qt window of the same size.

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstring>

#include "app/fp_env.h"
#include "app/qt_shell.h"
#include "app/startup.h"

int main(int argc, char** argv) {
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    if (!bare) tallaro::set_floating_point_environment();
    QApplication app(argc, argv);
    // Ends once a window has painted for the first time: it is on screen.
    struct FirstPaint : QObject {
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()) {
                QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
            }
            return false;
        }
    } first_paint;
    app.installEventFilter(&first_paint);
    if (bare) {
        QWidget window;
        window.resize(926, 506);
        window.show();
        return QApplication::exec();
    }
    tallaro::prepare_fonts();
    tallaro::QtShell shell;
    return shell.run();
}
