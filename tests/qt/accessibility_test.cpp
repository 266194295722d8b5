// What a screen reader finds in both windows: every control's accessible
// name, a description where the name alone does not say what the control is
// for, and an announcement when the register logic rewrites a caption.
//
// Names are read on any platform. Announcements leave the program only while
// an accessibility bridge is active, which the offscreen platform never has:
// there that test checks the names and skips the rest, and the run on X11
// with an AT-SPI bus (TALLARO_EXPECT_ACCESSIBILITY=1) checks everything.

#include <QAccessible>
#include <QtTest>
#include <vector>

#include "app/form_window.h"
#include "tests/qt/harness.h"
#include "core/gbk.h"
#include "ui/form.h"

using namespace tallaro;
using support::utf8;

namespace {

QString accessible(QWidget* w, QAccessible::Text t) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
    return iface ? iface->text(t) : QStringLiteral("(no accessible interface)");
}

struct Expected {
    Window window;
    std::string_view control;
    std::string_view name;
    bool described;  // the name alone does not say what it is for
};

// Every control of both windows. A caption before a box names the box; a
// trailing "：" is not spoken.
constexpr Expected k_expected[] = {
    {Window::main, "编辑框3", "目前金额总计", true},
    {Window::main, "标签3", "目前金额总计", false},
    {Window::main, "按钮14", "使用结束 退出程序", false},
    {Window::main, "标签2",
     "程序版本：Beta2017.2\n最新版本：Beta2017.2\nBUG反馈：bugs@tallaro.example\n"
     "已知BUG：商品数量较多的时候，滚动条不会自动向下滚动",
     false},
    {Window::main, "分组框2", "关于", false},
    {Window::main, "按钮13", "确认", true},
    {Window::main, "编辑框2", "自定义价格", true},
    {Window::main, "标签1", "自定义价格", false},
    {Window::main, "按钮12", "500元", true},
    {Window::main, "按钮11", "100元", true},
    {Window::main, "按钮10", "50元", true},
    {Window::main, "按钮9", "20元", true},
    {Window::main, "按钮8", "10元", true},
    {Window::main, "按钮7", "5.0元", true},
    {Window::main, "按钮6", "2.0元", true},
    {Window::main, "按钮5", "1.0元", true},
    {Window::main, "按钮4", "0.5元", true},
    {Window::main, "按钮3", "0.1元", true},
    {Window::main, "分组框1", "输入商品价格（开始收银后可以开始）", false},
    {Window::main, "按钮2", "开始结账", true},
    {Window::main, "按钮1", "开始收银", true},
    {Window::main, "编辑框1", "销售记录", true},
    {Window::checkout, "按钮2", "结束该账单", true},
    {Window::checkout, "标签5", "请等待付款......", true},
    {Window::checkout, "按钮1", "确认", true},
    {Window::checkout, "编辑框1", "实收金额", true},
    {Window::checkout, "标签4", "请输入实收金额", false},
    {Window::checkout, "标签3", "请等待付款......", true},
    {Window::checkout, "标签2", "计算中", true},
    {Window::checkout, "标签1", "计算中", true},
};

QByteArray row_name(Window w, std::string_view control) {
    return (utf8(ui::form_of(w).object_name) + "/" + utf8(control)).toUtf8();
}

struct Announced {
    QObject* object;
    QAccessible::Event type;
};
std::vector<Announced> g_events;

void record(QAccessibleEvent* e) { g_events.push_back({e->object(), e->type()}); }

int name_changes(QObject* object) {
    int n = 0;
    for (const Announced& e : g_events) n += e.object == object && e.type == QAccessible::NameChanged;
    return n;
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase() { QAccessible::installUpdateHandler(nullptr); }

    void every_control_is_listed();
    void names_and_descriptions_data();
    void names_and_descriptions();
    void written_captions_are_announced_data();
    void written_captions_are_announced();
};

void AccessibilityTest::initTestCase() {
    QAccessible::installUpdateHandler(record);
    if (qEnvironmentVariableIntValue("TALLARO_EXPECT_ACCESSIBILITY") == 1) {
        // The bridge connects to the accessibility bus in the background.
        QVERIFY2(QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000),
                 "no active accessibility bridge: is the AT-SPI bus running?");
    }
}

// The table below covers both forms, so no control goes without a name.
void AccessibilityTest::every_control_is_listed() {
    for (Window w : {Window::main, Window::checkout}) {
        for (const ui::Control& c : ui::form_of(w).controls) {
            bool listed = false;
            for (const Expected& e : k_expected) listed = listed || (e.window == w && e.control == c.name);
            QVERIFY2(listed, row_name(w, c.name).constData());
        }
    }
}

void AccessibilityTest::names_and_descriptions_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("described");
    for (const Expected& e : k_expected) {
        QTest::newRow(row_name(e.window, e.control).constData())
            << static_cast<int>(e.window) << utf8(e.control) << utf8(e.name) << e.described;
    }
}

void AccessibilityTest::names_and_descriptions() {
    QFETCH(int, window);
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(bool, described);
    FormWindow top(ui::form_of(static_cast<Window>(window)));
    QWidget* w = top.control(control.toStdString());
    QVERIFY(w);
    QCOMPARE(accessible(w, QAccessible::Name), name);
    const QString description = accessible(w, QAccessible::Description);
    if (described) {
        QVERIFY2(!description.isEmpty(), "no description");
        QVERIFY(description != name);
    }
}

void AccessibilityTest::written_captions_are_announced_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("name_changes");
    QTest::newRow("summary, two lines") << int(Window::checkout) << "标签1"
                                        << "您本次消费金额一共是： 5.6  元人民币\r\n请结账！"
                                        << "您本次消费金额一共是： 5.6  元人民币\n请结账！" << 1;
    QTest::newRow("amount due") << int(Window::checkout) << "标签2" << "应收金额 5.6 元人民币"
                                << "应收金额 5.6 元人民币" << 1;
    QTest::newRow("amount received") << int(Window::checkout) << "标签3" << "实收金额 10 元人民币"
                                     << "实收金额 10 元人民币" << 1;
    QTest::newRow("change") << int(Window::checkout) << "标签5" << "找零金额 4.4 元人民币"
                            << "找零金额 4.4 元人民币" << 1;
    QTest::newRow("caption ending in a colon") << int(Window::checkout) << "标签2" << "应收金额："
                                               << "应收金额" << 1;
    // A box keeps its name whatever it holds; its content is its value.
    QTest::newRow("total box") << int(Window::main) << "编辑框3" << "5.6" << "目前金额总计" << 0;
}

void AccessibilityTest::written_captions_are_announced() {
    QFETCH(int, window);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(QString, name);
    QFETCH(int, name_changes);
    FormWindow top(ui::form_of(static_cast<Window>(window)));
    const std::string name_of_control = control.toStdString();
    QWidget* w = top.control(name_of_control);
    QVERIFY(w);
    g_events.clear();
    top.write_text(name_of_control, gbk_from_utf8(text.toStdString()));
    QCOMPARE(accessible(w, QAccessible::Name), name);
    if (!QAccessible::isActive()) QSKIP("no accessibility bridge on this platform: announcements not checked");
    QCOMPARE(::name_changes(w), name_changes);
}

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"
