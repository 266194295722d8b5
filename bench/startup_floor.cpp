// The floor of start-up for any Qt Widgets program that shows Chinese text:
// a window of the main window's size drawing one CJK label in the program's
// face, ending as soon as it has painted for the first time. With "bare" the
// window draws no text at all. Links Qt only.

#include <QApplication>
#include <QLabel>
#include <cstring>

#include "bench/qt_bench.h"

int main(int argc, char** argv) {
    bench::quiet_unsupported();
    const bool bare = argc > 1 && std::strcmp(argv[1], "bare") == 0;
    QApplication app(argc, argv);
    bench::FirstPaint first_paint;
    app.installEventFilter(&first_paint);
    QWidget window;
    window.resize(926, 506);
    if (!bare) {
        auto* label = new QLabel(QStringLiteral("收银台"), &window);
        QFont font(QStringLiteral("WenQuanYi Micro Hei"));
        font.setPixelSize(12);
        label->setFont(font);
        label->move(16, 16);
    }
    window.show();
    return QApplication::exec();
}
