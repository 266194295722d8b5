// Whatever is pasted into the two number boxes: the sales log holds what GBK
// can hold, "?" stands for the rest, and the amounts are what text to number
// makes of the GBK text. Nothing crashes.

#include <QClipboard>
#include <QLabel>
#include <QtTest>

#include "app/startup.h"
#include "tests/qt/harness.h"

using namespace tallaro;
using namespace tallaro::support;

class BadInputTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepare_fonts(); }
    void paste_then_enter_and_settle_data();
    void paste_then_enter_and_settle();
};

void BadInputTest::paste_then_enter_and_settle_data() {
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("held");   // the box's text as the register logic reads it
    QTest::addColumn<QString>("total");  // the total box after the entry
    QTest::addColumn<QString>("change");
    const QString digits(1'000'000, QLatin1Char('1'));
    QTest::newRow("a megabyte of digits") << digits << digits << "1.#INF" << "1.#INF";
    QTest::newRow("emoji") << QString::fromUtf8("5\xF0\x9F\x98\x80") << "5?" << "5" << "0";
    QTest::newRow("U+0000") << QString("1") + QChar(0) + "2" << "12" << "12" << "0";
    QTest::newRow("right-to-left mark") << QString::fromUtf8("\u200F7") << "?7" << "0" << "0";
    QTest::newRow("lone surrogate") << QString(QChar(0xD800)) + "3" << "?3" << "0" << "0";
    QTest::newRow("yen sign") << QString::fromUtf8("\u00A58") << "?8" << "0" << "0";
    QTest::newRow("mixed full width") << "１２．５元" << "１２．５元" << "12.5" << "0";
}

void BadInputTest::paste_then_enter_and_settle() {
    QFETCH(QString, pasted);
    QFETCH(QString, held);
    QFETCH(QString, total);
    QFETCH(QString, change);
    Harness h;
    h.click(Window::main, "按钮1");
    QGuiApplication::clipboard()->setText(pasted);
    h.click(Window::main, "编辑框2");
    h.key(Window::main, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(utf8(h.text(Window::main, "编辑框2")), held);
    h.click(Window::main, "按钮13");
    const std::string log = h.text(Window::main, "编辑框1");
    const std::string line = "\r\n第1件商品，金额 " + held.toStdString() + " 元";
    QVERIFY(log.ends_with(line));
    QCOMPARE(utf8(h.text(Window::main, "编辑框3")), total);

    h.with_checkout([&] {
        h.key(Window::checkout, Qt::Key_V, Qt::ControlModifier);  // the focus opens in the box
        h.click(Window::checkout, "按钮1");
        QCOMPARE(utf8(h.text(Window::checkout, "标签3")), "实收金额 " + held + " 元人民币");
        QCOMPARE(utf8(h.text(Window::checkout, "标签5")), "找零金额 " + change + " 元人民币");
        h.click(Window::checkout, "按钮2");
    });
}

QTEST_MAIN(BadInputTest)
#include "bad_input_test.moc"
