#pragma once
// Drives the real windows on Qt's offscreen platform: a fresh shell per test,
// and clicks, keys and text that take Qt's real input path (the QWindow
// overloads of QTest), so that blocked windows really are blocked.

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <functional>
#include <memory>

#include "app/qt_shell.h"
#include "core/gbk.h"
#include "core/register_state.h"
#include "core/clock.h"
#include "ui/form.h"
#include "tests/fixed_clock.h"

namespace tallaro::support {

// A named row per control of both forms ("MainWindow/按钮1" …), with the
// columns "window" (int) and "row" (its place in form order).
void add_control_rows();

// The control's place and size are its row's; a single-line box may only
// have been made taller, to hold one line of its font.
void compare_place(const QWidget* w, const ui::Control& row);

inline QString utf8(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

class Harness {
public:
    Harness();
    ~Harness();

    QtShell& shell() { return *shell_; }
    FormWindow* window(Window w) const { return shell_->window(w); }
    QWidget* control(Window w, std::string_view name) const;

    // A mouse click in the middle of a control, through its window.
    void click(Window w, std::string_view name);
    // Keys to whatever has the focus in the window.
    void key(Window w, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier);
    // Typed text, one key event per character.
    void type(Window w, const QString& text);
    // The register logic's view of a control's text, as UTF-8.
    std::string text(Window w, std::string_view name);
    // The object name of the focused control of a window.
    QString focused(Window w) const;
    // Top-level windows of the program that are still visible.
    int visible_windows() const;
    // Clicks 开始结账 and runs `inside` in the checkout window's modal wait;
    // returns once the checkout window is gone (or fails after a while).
    void with_checkout(const std::function<void()>& inside);

private:
    std::unique_ptr<QtShell> shell_;
};

}  // namespace tallaro::support
