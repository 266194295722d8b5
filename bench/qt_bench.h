#pragma once
// Shared by the benchmark programs: FirstPaint ends the event loop once a
// window has painted for the first time (it is on screen);
// quiet_unsupported() keeps the offscreen platform's "This plugin does not
// support propagateSizeHints()" (or raise()) lines out of the output.

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace bench {

struct FirstPaint : QObject {
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow()) {
            QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
        }
        return false;
    }
};

inline QtMessageHandler qt_handler = nullptr;

inline void quiet_unsupported() {
    qt_handler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support"))) qt_handler(type, context, message);
    });
}

}  // namespace bench
