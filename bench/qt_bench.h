#pragma once
// Shared by the benchmark programs: FirstPaint ends the event loop once a
// window has painted for the first time (it is on screen); quiet_size_hints()
// keeps the offscreen platform's "does not support propagateSizeHints()" lines
// out of the output.

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

inline void quiet_size_hints() {
    qt_handler = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.contains(QLatin1String("does not support propagateSizeHints"))) qt_handler(type, context, message);
    });
}

}  // namespace bench
