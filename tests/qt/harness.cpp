#include "tests/qt/harness.h"

#include <QTimer>
#include <QWindow>

#include "ui/form.h"

namespace tallaro::support {

void add_control_rows() {
    QTest::addColumn<int>("window");
    QTest::addColumn<int>("row");
    for (Window w : {Window::main, Window::checkout}) {
        const ui::Form& form = ui::form_of(w);
        for (int i = 0; i < static_cast<int>(form.controls.size()); ++i) {
            const QByteArray name = (utf8(form.object_name) + "/" + utf8(form.controls[i].name)).toUtf8();
            QTest::newRow(name.constData()) << static_cast<int>(w) << i;
        }
    }
}

void compare_place(const QWidget* w, const ui::Control& c) {
    QCOMPARE(w->pos(), QPoint(c.left, c.top));
    QCOMPARE(w->width(), c.width);
    if (c.kind == ui::Kind::edit_box && !c.multi_line) {
        QVERIFY(w->height() >= c.height);
    } else {
        QCOMPARE(w->height(), c.height);
    }
}

Harness::Harness() : shell_(std::make_unique<QtShell>()) {
    register_state = {};
    shell_->load_window(Window::main, false, std::nullopt);
    QWidget* main = shell_->window(Window::main);
    main->activateWindow();
    if (!QTest::qWaitForWindowActive(main)) qWarning("main window did not become active");
}

Harness::~Harness() {
    shell_.reset();
    QCoreApplication::sendPostedEvents();
}

QWidget* Harness::control(Window w, std::string_view name) const {
    FormWindow* form = window(w);
    return form ? form->control(name) : nullptr;
}

void Harness::click(Window w, std::string_view name) {
    QWidget* target = control(w, name);
    QVERIFY2(target, name.data());
    QWidget* top = target->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier,
                      target->mapTo(top, target->rect().center()));
}

void Harness::key(Window w, Qt::Key key, Qt::KeyboardModifiers mods) {
    QTest::keyClick(window(w)->windowHandle(), key, mods);
}

void Harness::type(Window w, const QString& text) {
    for (QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, window(w)->windowHandle(), Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

std::string Harness::text(Window w, std::string_view name) { return utf8_from_gbk(shell_->read_text(w, name)); }

QString Harness::focused(Window w) const {
    QWidget* f = window(w) ? window(w)->focusWidget() : nullptr;
    return f ? f->objectName() : QString();
}

void Harness::with_checkout(const std::function<void()>& inside) {
    bool ran = false;
    QTimer::singleShot(0, [&] {
        ran = true;
        QVERIFY(window(Window::checkout));
        if (!QTest::qWaitForWindowExposed(window(Window::checkout))) qWarning("checkout not exposed");
        inside();
    });
    // A test that leaves the checkout open must not hang the run.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [this] {
        qWarning("the checkout window was left open; closing it");
        if (FormWindow* w = window(Window::checkout)) w->windowHandle()->close();
    });
    // Ten seconds, or what TALLARO_TEST_PATIENCE_MS says (an emulated
    // processor is many times slower).
    const int patience = qEnvironmentVariableIntValue("TALLARO_TEST_PATIENCE_MS");
    guard.start(patience > 0 ? patience : 10000);
    click(Window::main, "按钮2");
    QVERIFY(ran);
}

int Harness::visible_windows() const {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += w->isVisible() ? 1 : 0;
    return n;
}

}  // namespace tallaro::support
