// The buttons that a fresh main window shows disabled, clicked through the
// real widgets: nothing runs until the bill is started.

#include <QtTest>

#include "app/startup.h"
#include "tests/qt/harness.h"

using namespace tallaro;
using namespace tallaro::support;

class DisabledButtonsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepare_fonts(); }
    void run_nothing_before_the_bill_starts_data();
    void run_nothing_before_the_bill_starts();
};

void DisabledButtonsTest::run_nothing_before_the_bill_starts_data() {
    QTest::addColumn<QString>("button");
    for (int n = 2; n <= 13; ++n) {
        const QString name = QStringLiteral("按钮%1").arg(n);
        QTest::newRow(name.toUtf8().constData()) << name;
    }
}

void DisabledButtonsTest::run_nothing_before_the_bill_starts() {
    QFETCH(QString, button);
    Harness h;
    const std::string log = h.text(Window::main, "编辑框1");
    h.click(Window::main, "编辑框2");
    h.type(Window::main, QStringLiteral("7"));
    const QByteArray name = button.toUtf8();
    h.click(Window::main, std::string_view(name.constData(), static_cast<std::size_t>(name.size())));
    QCOMPARE(h.text(Window::main, "编辑框1"), log);
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string());
    QCOMPARE(register_state.item_number, 1);
    QCOMPARE(register_state.running_total, 0.0f);
    QVERIFY(!h.window(Window::checkout));
}

QTEST_MAIN(DisabledButtonsTest)
#include "disabled_buttons_test.moc"
