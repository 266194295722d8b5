// The checkout window through Qt's real input path: the modal wait, the
// settlement labels, the end of a bill and close requests.

#include <QLabel>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QWindow>
#include <QtTest>

#include "app/startup.h"
#include "tests/qt/harness.h"

using namespace tallaro;
using namespace tallaro::support;

namespace {

constexpr Window kMain = Window::main;
constexpr Window kCheckout = Window::checkout;

QString shown(Harness& h, std::string_view label) {
    auto* l = qobject_cast<QLabel*>(h.control(kCheckout, label));
    return l ? l->text() : QStringLiteral("(no checkout window)");
}

// Types into the amount received box, replacing what it holds.
void enter_received(Harness& h, const QString& amount) {
    h.click(kCheckout, "编辑框1");
    h.key(kCheckout, Qt::Key_A, Qt::ControlModifier);
    h.key(kCheckout, Qt::Key_Backspace);
    h.type(kCheckout, amount);
}

void post_click(QWidget* target) {
    const QPointF at = QRectF(target->rect()).center();
    const QPointF global = target->mapToGlobal(at);
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, at, global, Qt::LeftButton,
                                                        Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, at, global, Qt::LeftButton,
                                                        Qt::NoButton, Qt::NoModifier));
}

// The colour at the right-hand end of a window's caption bar, as painted.
QRgb caption_colour(FormWindow* w) {
    const QImage image = w->grab().toImage();
    return image.pixel(w->width() - ui::frame_width - 1, ui::frame_width + ui::caption_height / 2);
}

}  // namespace

class CheckoutWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepare_fonts(); }

    void worked_example_then_next_bill();
    void amount_due_is_there_when_first_shown();
    void end_without_confirm();
    void main_window_is_blocked_while_open();
    void close_request_keeps_the_bill();
    void tab_cycle_and_enter();
    void queued_destruction_comes_before_waiting_clicks();
    void close_requests_behind_the_end_of_a_bill();
};

void CheckoutWindowTest::worked_example_then_next_bill() {
    FixedClock clock(LocalTime{2024, 3, 5, 8, 7, 9});
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮6");
    h.click(kMain, "按钮3");
    h.click(kMain, "编辑框2");
    h.type(kMain, "3.5");
    h.click(kMain, "按钮13");

    h.with_checkout([&] {
        FormWindow* w = h.window(kCheckout);
        QCOMPARE(w->windowTitle(), QString("结账窗口"));
        QCOMPARE(w->frameGeometry().size(), QSize(619, 386));
        QCOMPARE(h.focused(kCheckout), QString("编辑框1"));
        QCOMPARE(shown(h, "标签1"), QString("您本次消费金额一共是： 5.6  元人民币\n请结账！"));
        QCOMPARE(h.text(kCheckout, "标签1"), std::string("您本次消费金额一共是： 5.6  元人民币\r\n请结账！"));
        QCOMPARE(shown(h, "标签2"), QString("应收金额 5.6 元人民币"));
        QCOMPARE(shown(h, "标签3"), QString("请等待付款......"));

        h.type(kCheckout, "10");
        h.click(kCheckout, "按钮1");
        QCOMPARE(shown(h, "标签3"), QString("实收金额 10 元人民币"));
        QCOMPARE(shown(h, "标签5"), QString("找零金额 4.4 元人民币"));

        enter_received(h, "5");
        h.click(kCheckout, "按钮1");
        QCOMPARE(shown(h, "标签3"), QString("实收金额 5 元人民币"));
        QCOMPARE(shown(h, "标签5"), QString("找零金额 -0.6 元人民币"));

        h.click(kCheckout, "按钮2");
    });

    // open_checkout has returned; one fresh main window is left.
    QTRY_COMPARE(h.visible_windows(), 1);
    QVERIFY(!h.shell().loaded(kCheckout));
    FormWindow* fresh = h.window(kMain);
    QVERIFY(fresh && fresh->isVisible() && fresh->isEnabled());
    QTRY_VERIFY(fresh->isActiveWindow());
    QCOMPARE(h.text(kMain, "编辑框1"), std::string("请点击下方开始收银，然后进行操作"));
    QCOMPARE(h.text(kMain, "编辑框3"), std::string());
    QVERIFY(!h.control(kMain, "按钮2")->isEnabled());
    QCOMPARE(h.focused(kMain), QString("按钮1"));

    h.click(kMain, "按钮1");
    h.click(kMain, "按钮4");
    QCOMPARE(h.text(kMain, "编辑框3"), std::string("0.5"));
    QVERIFY(h.text(kMain, "编辑框1").ends_with("\r\n第1件商品，金额 0.5 元"));
}

// The created operation runs before the first show: nobody ever sees 计算中.
void CheckoutWindowTest::amount_due_is_there_when_first_shown() {
    struct ShowSpy : QObject {
        QString summary;
        bool eventFilter(QObject* o, QEvent* e) override {
            if (e->type() == QEvent::Show && o->objectName() == "CheckoutWindow" && summary.isEmpty()) {
                summary = o->findChild<QLabel*>("标签1")->text();
            }
            return false;
        }
    } spy;
    qApp->installEventFilter(&spy);
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮7");
    h.with_checkout([&] { h.click(kCheckout, "按钮2"); });
    qApp->removeEventFilter(&spy);
    QCOMPARE(spy.summary, QString("您本次消费金额一共是： 5  元人民币\n请结账！"));
}

void CheckoutWindowTest::end_without_confirm() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮12");
    QPointer<FormWindow> old = h.window(kMain);
    h.with_checkout([&] { h.click(kCheckout, "按钮2"); });
    QTRY_VERIFY(old.isNull());  // the old main window is really deleted
    QCOMPARE(h.visible_windows(), 1);
    QCOMPARE(register_state.item_number, 1);
    QCOMPARE(register_state.running_total, 0.0f);
}

void CheckoutWindowTest::main_window_is_blocked_while_open() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮7");
    const QPalette& palette = h.window(kMain)->palette();
    const QRgb active = palette.color(QPalette::Active, QPalette::Highlight).rgb();
    const QRgb inactive = palette.color(QPalette::Dark).rgb();
    QCOMPARE(caption_colour(h.window(kMain)), active);
    h.with_checkout([&] {
        // The checkout has the active caption; the disabled main window
        // shows the inactive one.
        QCOMPARE(caption_colour(h.window(kCheckout)), active);
        QCOMPARE(caption_colour(h.window(kMain)), inactive);

        // A click on the blocked window brings the checkout back to the
        // front, minimised or not.
        FormWindow* checkout = h.window(kCheckout);
        h.window(kMain)->activateWindow();
        QTRY_VERIFY(h.window(kMain)->isActiveWindow());
        QTRY_VERIFY(checkout->isActiveWindow());  // the activation is handed on
        checkout->showMinimized();
        QTRY_VERIFY(checkout->isMinimized());
        h.click(kMain, "编辑框1");
        QTRY_VERIFY(!checkout->isMinimized() && checkout->isVisible());
        QTRY_VERIFY(checkout->isActiveWindow());

        h.click(kMain, "按钮6");
        h.click(kMain, "按钮14");  // would end the process
        QCOMPARE(register_state.item_number, 2);
        QCOMPARE(h.text(kMain, "编辑框3"), std::string("5"));
        // Looks as before: its controls are not greyed one by one.
        QVERIFY(h.control(kMain, "按钮6")->isEnabled());

        h.window(kMain)->windowHandle()->close();  // a close request while disabled
        QCoreApplication::processEvents();
        QVERIFY(h.shell().loaded(kMain));
        QVERIFY(h.window(kMain)->isVisible());
        h.click(kCheckout, "按钮2");
    });
    QTRY_COMPARE(h.visible_windows(), 1);
    QCOMPARE(caption_colour(h.window(kMain)), active);
    h.click(kMain, "按钮1");
    QVERIFY(!h.control(kMain, "按钮1")->isEnabled());  // takes input again
}

void CheckoutWindowTest::close_request_keeps_the_bill() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮9");
    const std::string log = h.text(kMain, "编辑框1");
    QPointer<FormWindow> main = h.window(kMain);
    for (int round = 0; round < 2; ++round) {
        h.with_checkout([&] {
            h.type(kCheckout, "50");
            h.click(kCheckout, "按钮1");
            h.window(kCheckout)->windowHandle()->close();
        });
        QVERIFY(!h.shell().loaded(kCheckout));
        QCOMPARE(h.window(kMain), main.data());
        QCOMPARE(h.text(kMain, "编辑框1"), log);
        QCOMPARE(h.text(kMain, "编辑框3"), std::string("20"));
        QCOMPARE(register_state.item_number, 2);
    }
    h.click(kMain, "按钮3");
    QCOMPARE(h.text(kMain, "编辑框3"), std::string("20.1"));
}

void CheckoutWindowTest::tab_cycle_and_enter() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮5");
    h.with_checkout([&] {
        QStringList seen{h.focused(kCheckout)};
        for (int i = 0; i < 3; ++i) {
            h.key(kCheckout, Qt::Key_Tab);
            seen << h.focused(kCheckout);
        }
        QCOMPARE(seen, (QStringList{"编辑框1", "按钮1", "按钮2", "编辑框1"}));
        h.type(kCheckout, "3");
        h.key(kCheckout, Qt::Key_Return);  // presses nothing
        h.key(kCheckout, Qt::Key_Escape);  // closes nothing
        QCOMPARE(shown(h, "标签3"), QString("请等待付款......"));
        h.key(kCheckout, Qt::Key_Tab);
        h.key(kCheckout, Qt::Key_Space);  // 按钮1 by keyboard
        QCOMPARE(shown(h, "标签5"), QString("找零金额 2 元人民币"));
        h.click(kCheckout, "按钮2");
    });
}

// Clicks already waiting when an operation queues a destruction reach the
// window only after it: a 确认 behind 结束该账单 finds the window gone.
void CheckoutWindowTest::queued_destruction_comes_before_waiting_clicks() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮5");
    h.with_checkout([&] {
        h.type(kCheckout, "10");
        post_click(h.control(kCheckout, "按钮2"));
        post_click(h.control(kCheckout, "按钮1"));
    });
    QTRY_COMPARE(h.visible_windows(), 1);
    QCOMPARE(register_state.amount_received, 0.0f);
}

// Close requests that arrive between 结束该账单 and the destruction it
// queued: they find their windows gone and change nothing.
void CheckoutWindowTest::close_requests_behind_the_end_of_a_bill() {
    Harness h;
    h.click(kMain, "按钮1");
    h.click(kMain, "按钮5");
    h.with_checkout([&] {
        post_click(h.control(kCheckout, "按钮2"));
        QCoreApplication::postEvent(h.window(kCheckout), new QCloseEvent);
        QCoreApplication::postEvent(h.window(kMain), new QCloseEvent);
    });
    QTRY_COMPARE(h.visible_windows(), 1);
    QCOMPARE(h.shell().hold_count(), 0);  // no fatal error
    QVERIFY(h.window(kMain) && h.window(kMain)->isVisible());
    QCOMPARE(h.text(kMain, "编辑框1"), std::string("请点击下方开始收银，然后进行操作"));
    h.click(kMain, "按钮1");
    QVERIFY(!h.control(kMain, "按钮1")->isEnabled());
}

QTEST_MAIN(CheckoutWindowTest)
#include "checkout_window_test.moc"
