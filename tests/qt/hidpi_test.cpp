// Both windows on a screen of device pixel ratio 1 and of 2. The forms'
// places and sizes are logical pixels: at either ratio every control sits
// where its row puts it and each window keeps its outer size and centred
// place, while the windows are drawn at the device's resolution, so text is
// as sharp as the screen allows.
//
// The same tests run once per ratio, each on an offscreen screen configured
// for it; TALLARO_EXPECTED_DPR names the ratio (1 when unset).

#include <QScreen>
#include <QWindow>
#include <QtTest>
#include <array>
#include <memory>

#include "app/form_window.h"
#include "tests/qt/harness.h"
#include "app/startup.h"
#include "ui/form.h"

using namespace tallaro;
using support::utf8;

namespace {

// Whether an image has detail finer than blocks of side n: some block of n×n
// device pixels holds more than one colour. A picture drawn at logical
// resolution and scaled up has none.
bool finer_than(const QImage& image, int n) {
    for (int y = 0; y + n <= image.height(); y += n) {
        for (int x = 0; x + n <= image.width(); x += n) {
            const QRgb first = image.pixel(x, y);
            for (int dy = 0; dy < n; ++dy) {
                for (int dx = 0; dx < n; ++dx) {
                    if (image.pixel(x + dx, y + dy) != first) return true;
                }
            }
        }
    }
    return false;
}

}  // namespace

class HiDpiTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { windows_ = {}; }

    void controls_keep_their_places_data();
    void controls_keep_their_places();
    void windows_keep_size_and_place_data();
    void windows_keep_size_and_place();
    void text_is_drawn_at_device_resolution_data();
    void text_is_drawn_at_device_resolution();

private:
    FormWindow* shown(Window w) { return windows_.at(static_cast<std::size_t>(w)).get(); }

    qreal ratio_ = 1;
    std::array<std::unique_ptr<FormWindow>, 2> windows_;  // by Window
};

void HiDpiTest::initTestCase() {
    prepare_fonts();
    const QByteArray expected = qgetenv("TALLARO_EXPECTED_DPR");
    ratio_ = expected.isEmpty() ? 1 : expected.toDouble();
    QVERIFY(ratio_ >= 1);
    for (Window w : {Window::main, Window::checkout}) {
        auto& slot = windows_.at(static_cast<std::size_t>(w));
        slot = std::make_unique<FormWindow>(ui::form_of(w));
        slot->show();
        QVERIFY(QTest::qWaitForWindowExposed(slot.get()));
    }
}

void HiDpiTest::controls_keep_their_places_data() {
    support::add_control_rows();
}

// Places and sizes in logical pixels are the form's, whatever the ratio.
void HiDpiTest::controls_keep_their_places() {
    QFETCH(int, window);
    QFETCH(int, row);
    FormWindow* top = shown(static_cast<Window>(window));
    const ui::Control& c = top->form().controls[static_cast<std::size_t>(row)];
    QWidget* w = top->control(c.name);
    QVERIFY(w);
    support::compare_place(w, c);
    if (QTest::currentTestFailed()) return;
}

void HiDpiTest::windows_keep_size_and_place_data() {
    QTest::addColumn<int>("window");
    QTest::newRow("main") << int(Window::main);
    QTest::newRow("checkout") << int(Window::checkout);
}

void HiDpiTest::windows_keep_size_and_place() {
    QFETCH(int, window);
    FormWindow* top = shown(static_cast<Window>(window));
    const ui::Form& form = top->form();
    QCOMPARE(top->windowHandle()->devicePixelRatio(), ratio_);
    QTRY_COMPARE(top->frameGeometry().size(), QSize(form.width, form.height));
    const QRect avail = top->screen()->availableGeometry();
    QTRY_COMPARE(top->pos(), QPoint(avail.x() + (avail.width() - form.width) / 2,
                                    avail.y() + (avail.height() - form.height) / 2));
    // The whole window is drawn at device resolution.
    const QPixmap picture = top->grab();
    QCOMPARE(picture.devicePixelRatio(), ratio_);
    QCOMPARE(picture.size(), top->size() * ratio_);
}

void HiDpiTest::text_is_drawn_at_device_resolution_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("control");
    QTest::newRow("total caption, default font") << int(Window::main) << "标签3";
    QTest::newRow("start button, 16 px bold") << int(Window::main) << "按钮1";
    QTest::newRow("sales log, 新宋体") << int(Window::main) << "编辑框1";
    QTest::newRow("summary, white on black") << int(Window::checkout) << "标签1";
}

// Glyphs are rasterised for the device, not drawn at logical size and scaled.
void HiDpiTest::text_is_drawn_at_device_resolution() {
    QFETCH(int, window);
    QFETCH(QString, control);
    QWidget* w = shown(static_cast<Window>(window))->control(control.toStdString());
    QVERIFY(w);
    const QPixmap picture = w->grab();
    QCOMPARE(picture.size(), w->size() * ratio_);
    const int n = static_cast<int>(ratio_);
    if (n < 2) QSKIP("at ratio 1 a device pixel is a logical one");
    QVERIFY(finer_than(picture.toImage(), n));
}

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
