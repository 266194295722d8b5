// The main window as a person meets it: the widget tree built from the
// forms, the Tab cycle, the number-input filter, and a bill entered by real
// clicks. Runs on Qt's offscreen platform.

#include <QClipboard>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QtTest>

#include "app/startup.h"
#include "tests/qt/harness.h"
#include "ui/form.h"

using namespace tallaro;
using namespace tallaro::support;

class MainWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { prepare_fonts(); }

    void widget_tree_matches_form_data();
    void widget_tree_matches_form();
    void window_size_and_place();
    void earlier_controls_stack_above_data();
    void earlier_controls_stack_above();
    void visual_style_switch();
    void tab_cycle_data();
    void tab_cycle();
    void number_filter_data();
    void number_filter();
    void read_only_boxes_take_no_typing_but_copy();
    void bill_through_clicks();
    void log_write_shows_first_line();
    void labels_without_wrap_show_one_line();
    void group_boxes_look_classic();
    void enter_and_escape_do_nothing();
};

void MainWindowTest::widget_tree_matches_form_data() {
    add_control_rows();
}

// Every control is built from its row: name, parent, place, text, state,
// font and colours.
void MainWindowTest::widget_tree_matches_form() {
    QFETCH(int, window);
    QFETCH(int, row);
    const ui::Form& form = ui::form_of(static_cast<Window>(window));
    const ui::Control& c = form.controls[static_cast<std::size_t>(row)];

    FormWindow top(form);
    QWidget* w = top.control(c.name);
    QVERIFY(w);
    QCOMPARE(w->objectName(), utf8(c.name));
    if (c.parent.empty()) {
        QCOMPARE(w->parentWidget(), top.client_area());
    } else {
        QCOMPARE(w->parentWidget()->objectName(), utf8(c.parent));
    }
    compare_place(w, c);
    if (QTest::currentTestFailed()) return;
    // Wholly inside the client area that the window's own frame leaves.
    const QRect in_client(w->mapTo(top.client_area(), QPoint(0, 0)), w->size());
    QVERIFY(top.client_area()->rect().contains(in_client));
    QCOMPARE(w->isEnabled(), c.enabled);
    QCOMPARE(bool(w->focusPolicy() & Qt::TabFocus), c.tab_stop);
    QCOMPARE(utf8_from_gbk(top.read_text(c.name)), std::string(c.text));

    QString shown = utf8(c.text);
    shown.replace("\r\n", "\n");
    if (auto* b = qobject_cast<QPushButton*>(w)) {
        QCOMPARE(b->text(), shown);
        QVERIFY(!b->autoDefault() && !b->isDefault());
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        QCOMPARE(l->text(), shown);
        QCOMPARE(l->wordWrap(), c.word_wrap);
        QCOMPARE(l->palette().color(QPalette::WindowText).rgb() & 0xFFFFFF, c.text_color);
        if (c.background) QCOMPARE(l->palette().color(QPalette::Window).rgb() & 0xFFFFFF, *c.background);
        QVERIFY(l->autoFillBackground());
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        QCOMPARE(g->title(), shown);
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        QCOMPARE(e->text(), shown);
        QCOMPARE(e->isReadOnly(), c.input == ui::Input::read_only);
    } else if (auto* e = qobject_cast<QPlainTextEdit*>(w)) {
        QCOMPARE(e->toPlainText(), shown);
        QVERIFY(e->isReadOnly());
        QCOMPARE(e->viewport()->cursor().shape(), Qt::CrossCursor);
        QCOMPARE(e->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    }
    if (c.kind == ui::Kind::edit_box) {
        QCOMPARE(w->palette().color(QPalette::Base), QColor(Qt::white));
        QCOMPARE(w->palette().color(QPalette::Text), QColor(Qt::black));
    }
    const int px = c.font.is_default_control_font() ? QApplication::font().pixelSize() : c.font.pixel_height;
    QCOMPARE(w->font().pixelSize(), px);
    if (!c.font.is_default_control_font()) {
        QCOMPARE(w->font().weight(), c.font.weight >= 700 ? QFont::Bold : QFont::Normal);
    }
}

void MainWindowTest::window_size_and_place() {
    Harness h;
    h.shell().load_window(Window::checkout, false, std::nullopt);
    for (Window w : {Window::main, Window::checkout}) {
        FormWindow* top = h.window(w);
        const ui::Form& form = top->form();
        QCOMPARE(top->windowTitle(), utf8(form.title));
        // The window draws its frame and caption itself: nothing frames it,
        // and its client area sits inside them.
        QCOMPARE(top->frameGeometry(), top->geometry());
        QCOMPARE(top->size(), QSize(form.width, form.height));
        QCOMPARE(top->minimumSize(), top->maximumSize());
        QCOMPARE(top->client_area()->geometry(),
                 QRect(ui::frame_width, ui::frame_width + ui::caption_height, form.client_width(),
                       form.client_height()));
        // Centred on the whole screen, halves truncated.
        const QRect screen = top->screen()->geometry();
        const QPoint centre(screen.x() + (screen.width() - form.width) / 2,
                            screen.y() + (screen.height() - form.height) / 2);
        QCOMPARE(top->pos(), centre);
        // Moves and resizes are put back, however often they come.
        for (int i = 0; i < 20; ++i) {
            top->move(top->pos() + QPoint(40, 30));
            QTRY_COMPARE(top->pos(), centre);
        }
        top->resize(form.width + 10, form.height - 10);
        QTRY_COMPARE(top->size(), QSize(form.width, form.height));

        // A window manager that insists, answering every put-back with
        // another move, does not have the last word.
        struct Insists : QObject {
            QPoint centre;
            int left = 30;
            bool eventFilter(QObject* o, QEvent* e) override {
                auto* w = static_cast<QWidget*>(o);
                if (e->type() == QEvent::Move && w->pos() == centre && left > 0) {
                    --left;
                    QTimer::singleShot(0, w, [w] { w->move(w->pos() + QPoint(7, 7)); });
                }
                return false;
            }
        } insists;
        insists.centre = centre;
        top->installEventFilter(&insists);
        top->move(centre + QPoint(7, 7));
        QTRY_COMPARE_WITH_TIMEOUT(insists.left, 0, 20000);
        QTRY_COMPARE(top->pos(), centre);
        top->removeEventFilter(&insists);
    }
}

void MainWindowTest::earlier_controls_stack_above_data() {
    QTest::addColumn<int>("window");
    QTest::addColumn<QPoint>("at");  // in the window's client area
    QTest::addColumn<QString>("top");
    QTest::newRow("total box over its caption") << int(Window::main) << QPoint(549, 320) << "编辑框3";
    QTest::newRow("price box over its caption") << int(Window::main) << QPoint(560, 208) << "编辑框2";
    QTest::newRow("price button over the group box") << int(Window::main) << QPoint(570, 60) << "按钮4";
    QTest::newRow("received box over its caption") << int(Window::checkout) << QPoint(120, 226) << "编辑框1";
}

// Where controls overlap, the one listed earlier in the form is on top.
void MainWindowTest::earlier_controls_stack_above() {
    QFETCH(int, window);
    QFETCH(QPoint, at);
    QFETCH(QString, top);
    FormWindow w(ui::form_of(static_cast<Window>(window)));
    QWidget* hit = w.client_area()->childAt(at);
    while (hit && hit->objectName().isEmpty()) hit = hit->parentWidget();  // inner parts of a control
    QVERIFY(hit);
    QCOMPARE(hit->objectName(), top);
}

// Styles 1 to 3 switch on and report 1; anything else switches off and
// reports whether a style was on.
void MainWindowTest::visual_style_switch() {
    Harness h;  // the main window's created event has switched style 1 on
    const QString first = QApplication::style()->name();
    QCOMPARE(h.shell().set_visual_style(2), 1);
    QVERIFY(QApplication::style()->name() != first);
    QCOMPARE(h.shell().set_visual_style(3), 1);
    QCOMPARE(h.shell().set_visual_style(0), 1);
    QCOMPARE(h.shell().set_visual_style(4), 0);
    QCOMPARE(h.shell().set_visual_style(-1), 0);
    QCOMPARE(h.shell().set_visual_style(1), 1);
    QCOMPARE(QApplication::style()->name(), first);
}

void MainWindowTest::tab_cycle_data() {
    QTest::addColumn<bool>("started");
    QTest::addColumn<QStringList>("cycle");
    QTest::newRow("before the bill") << false << QStringList{"按钮1", "编辑框2", "按钮14", "编辑框3"};
    QTest::newRow("after 开始收银") << true
                                    << QStringList{"按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8",
                                                   "按钮9", "按钮10", "按钮11", "按钮12", "编辑框2", "按钮13",
                                                   "按钮14", "编辑框3"};
}

// Tab runs in reverse form order among enabled tab stops and wraps; the
// window opens with the focus on the first of the cycle.
void MainWindowTest::tab_cycle() {
    QFETCH(bool, started);
    QFETCH(QStringList, cycle);
    Harness h;
    QCOMPARE(h.focused(Window::main), QString("按钮1"));
    if (started) {
        h.key(Window::main, Qt::Key_Space);  // presses 按钮1, which then loses the focus
        QVERIFY(!h.control(Window::main, "按钮1")->isEnabled());
        // ... to the next control of the cycle, 开始结账, which the press
        // has just enabled.
        QTRY_COMPARE(h.focused(Window::main), cycle.first());
    }
    // Forward from wherever the focus is, the cycle comes round in order.
    const qsizetype at = cycle.indexOf(h.focused(Window::main));
    QVERIFY2(at >= 0, qPrintable(h.focused(Window::main)));
    const QStringList expected = cycle.mid(at) + cycle.mid(0, at);
    QStringList seen;
    for (qsizetype i = 0; i < cycle.size(); ++i) {
        seen << h.focused(Window::main);
        h.key(Window::main, Qt::Key_Tab);
    }
    QCOMPARE(seen, expected);
    QCOMPARE(h.focused(Window::main), expected.first());
    QStringList back;
    for (qsizetype i = 0; i < cycle.size(); ++i) {
        h.key(Window::main, Qt::Key_Backtab, Qt::ShiftModifier);
        back.prepend(h.focused(Window::main));
    }
    QCOMPARE(back, expected);
    h.key(Window::main, Qt::Key_Right);
    QCOMPARE(h.focused(Window::main), expected.first());  // arrows do not move the focus
}

void MainWindowTest::number_filter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("committed");  // through an input method
    QTest::addColumn<QString>("box");
    QTest::newRow("digits and point") << "12.5" << "" << "" << "12.5";
    QTest::newRow("letters, space, full-width") << "1a 2１x" << "" << "" << "12";
    QTest::newRow("repeated signs") << "--..5" << "" << "" << "--..5";
    QTest::newRow("paste passes") << "7" << "元１２abc" << "" << "7元１２abc";
    QTest::newRow("input method keeps digits") << "" << "" << "３4五.6" << "4.6";
    QTest::newRow("paste keeps its first line") << "7" << "1\r\n2" << "" << "71";
    QTest::newRow("paste of a lone line feed") << "7" << "\n5" << "" << "7";
}

void MainWindowTest::number_filter() {
    QFETCH(QString, typed);
    QFETCH(QString, pasted);
    QFETCH(QString, committed);
    QFETCH(QString, box);
    Harness h;
    h.click(Window::main, "编辑框2");
    QCOMPARE(h.focused(Window::main), QString("编辑框2"));
    h.type(Window::main, typed);
    if (!pasted.isEmpty()) {
        QGuiApplication::clipboard()->setText(pasted);
        h.key(Window::main, Qt::Key_V, Qt::ControlModifier);
    }
    if (!committed.isEmpty()) {
        QInputMethodEvent im;
        im.setCommitString(committed);
        QApplication::sendEvent(h.control(Window::main, "编辑框2"), &im);
    }
    QCOMPARE(static_cast<QLineEdit*>(h.control(Window::main, "编辑框2"))->text(), box);
}

void MainWindowTest::read_only_boxes_take_no_typing_but_copy() {
    Harness h;
    h.click(Window::main, "编辑框1");
    QCOMPARE(h.focused(Window::main), QString("编辑框1"));
    h.type(Window::main, "123abc");
    QCOMPARE(h.text(Window::main, "编辑框1"), std::string("请点击下方开始收银，然后进行操作"));
    h.key(Window::main, Qt::Key_A, Qt::ControlModifier);
    h.key(Window::main, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("请点击下方开始收银，然后进行操作"));
    // The selection shows only while the box has the focus.
    QWidget* log = h.control(Window::main, "编辑框1");
    const QRgb mark = log->palette().color(QPalette::Active, QPalette::Highlight).rgb();
    const auto highlighted = [log, mark] {
        const QImage image = log->grab().toImage();
        int n = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) == mark ? 1 : 0;
        }
        return n;
    };
    QVERIFY(highlighted() > 0);
    h.key(Window::main, Qt::Key_Tab);  // the focus leaves for the Tab cycle
    QVERIFY(!log->hasFocus());
    QCOMPARE(highlighted(), 0);

    h.click(Window::main, "编辑框3");
    h.type(Window::main, "9");
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string());
}

// The bill of the worked example, entered by clicks and typing.
void MainWindowTest::bill_through_clicks() {
    FixedClock clock(LocalTime{2024, 3, 5, 8, 7, 9});
    Harness h;
    h.click(Window::main, "按钮6");  // disabled: nothing happens
    QCOMPARE(register_state.item_number, 1);
    h.click(Window::main, "按钮1");
    h.click(Window::main, "按钮6");
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string("2"));
    h.click(Window::main, "按钮3");
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string("2.1"));
    h.click(Window::main, "编辑框2");
    h.type(Window::main, "3.5");
    h.click(Window::main, "按钮13");
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string("5.6"));
    const std::string log =
        "当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银："
        "\r\n第1件商品，金额 2.0 元\r\n第2件商品，金额 0.1 元\r\n第3件商品，金额 3.5 元";
    QCOMPARE(h.text(Window::main, "编辑框1"), log);
    // What the box shows is the same text, line for line.
    QString shown = utf8(log);
    shown.replace("\r\n", "\n");
    QCOMPARE(static_cast<QPlainTextEdit*>(h.control(Window::main, "编辑框1"))->toPlainText(), shown);
    QCOMPARE(static_cast<QLineEdit*>(h.control(Window::main, "编辑框3"))->text(), QString("5.6"));
}

// However long the log grows, a write leaves the caret at the start and the
// box showing its first line.
void MainWindowTest::log_write_shows_first_line() {
    Harness h;
    h.click(Window::main, "按钮1");
    for (int i = 0; i < 80; ++i) h.click(Window::main, "按钮8");
    auto* log = static_cast<QPlainTextEdit*>(h.control(Window::main, "编辑框1"));
    QCOMPARE(log->document()->blockCount(), 82);
    QVERIFY(log->verticalScrollBar()->maximum() > 0);
    QCOMPARE(log->verticalScrollBar()->value(), 0);
    QCOMPARE(log->textCursor().position(), 0);
    QCOMPARE(h.text(Window::main, "编辑框3"), std::string("800"));
    // A text that does not extend the old one replaces it whole.
    h.shell().write_text(Window::main, "编辑框1", gbk_from_utf8("甲\r\n乙"));
    QCOMPARE(log->toPlainText(), QString("甲\n乙"));
    h.click(Window::main, "按钮8");
    QCOMPARE(log->toPlainText(), QString("甲\n乙\n第81件商品，金额 10.0 元"));
}

// A label without word wrap shows one line whatever its text; the text
// itself is kept as written.
void MainWindowTest::labels_without_wrap_show_one_line() {
    Harness h;
    h.shell().write_text(Window::main, "标签3", gbk_from_utf8("5\r\n5\n5"));
    QCOMPARE(static_cast<QLabel*>(h.control(Window::main, "标签3"))->text(), QString("555"));
    QCOMPARE(h.text(Window::main, "标签3"), std::string("5\r\n5\n5"));
    h.shell().write_text(Window::main, "标签2", gbk_from_utf8("甲\r\n乙"));  // word wrap: two lines
    QCOMPARE(static_cast<QLabel*>(h.control(Window::main, "标签2"))->text(), QString("甲\n乙"));
}

// A group box as a classic dialog draws it: the frame's top edge through the
// middle of the caption, the caption on the face colour, the face colour
// inside around the label it holds.
void MainWindowTest::group_boxes_look_classic() {
    FormWindow top(ui::main_form());
    QWidget* box = top.control("分组框2");
    const QImage image = box->grab().toImage();
    const QPalette& palette = box->palette();
    const QRgb face = palette.color(QPalette::Window).rgb();
    const int middle = QFontMetrics(box->font()).height() / 2;
    QCOMPARE(image.pixel(2, middle), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(box->width() / 2, middle), palette.color(QPalette::Dark).rgb());
    QCOMPARE(image.pixel(7, middle), face);  // behind the caption
    QCOMPARE(image.pixel(box->width() - 6, box->height() - 6), face);
    QCOMPARE(image.pixel(4, box->height() - 6), face);
}

void MainWindowTest::enter_and_escape_do_nothing() {
    Harness h;
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape, Qt::Key_F1}) h.key(Window::main, k);
    QVERIFY(h.control(Window::main, "按钮1")->isEnabled());
    QVERIFY(h.window(Window::main)->isVisible());
    h.key(Window::main, Qt::Key_Tab);  // 编辑框2
    for (Qt::Key k : {Qt::Key_Return, Qt::Key_Escape}) h.key(Window::main, k);
    QVERIFY(h.window(Window::main)->isVisible());
    QCOMPARE(register_state.item_number, 1);
}

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
