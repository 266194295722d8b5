#pragma once
// One window instance on screen: a top-level widget without the window
// manager's decoration that draws its own fixed frame and caption bar, with a
// client area holding a child widget per control of its form. Every widget's
// objectName is its control name. The window keeps the texts it was given as
// GBK bytes where the user cannot change them, so reading them back costs a
// copy and no conversion.
//
// The window stays at its outer size, centred on the screen: a move or resize
// by anyone else, and a change of the screen's geometry, puts it back.

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "ui/form.h"

class QPlainTextEdit;

namespace tallaro {

class FormWindow final : public QWidget {
    Q_OBJECT
public:
    explicit FormWindow(const ui::Form& form);

    const ui::Form& form() const { return form_; }

    // The GBK text of a control; the user's typing included.
    std::string read_text(std::string_view control) const;
    // The text kept beside a control the user cannot type into, or nullptr.
    const std::string* held_text(std::string_view control) const;
    void write_text(std::string_view control, std::string_view gbk);
    void set_disabled(std::string_view control, bool disabled);
    bool has_control(std::string_view control) const;

    // The widget of a control, or nullptr.
    QWidget* control(std::string_view name) const;
    // The parent of the controls that the form places in the window.
    QWidget* client_area() const { return client_; }

    // The caption's look: active while the window is enabled, whether or not
    // it is the active window; inactive while a modal window disables it.
    void set_caption_active(bool active);
    bool caption_active() const { return caption_active_; }

    // A click on an enabled button, and a close request from the window manager.
    std::function<void(std::string_view control)> on_click;
    std::function<void()> on_close_request;

    // Hides the window for good: it no longer takes input or moves.
    void retire();
    bool retired() const { return retired_; }

    // Puts the window back to its outer size and its place centred on the
    // primary screen, each halved value truncated.
    void enforce_geometry();
    QPoint centred_place() const;

    // Milliseconds since the window was last minimised.
    qint64 ms_since_minimised() const { return minimised_.isValid() ? minimised_.elapsed() : 1 << 30; }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Held {
        std::string gbk;
        bool clean_end = true;  // ends on a whole character, not on CR
    };

    QWidget* make_control(const ui::Control& c, QWidget* parent);
    QWidget* first_in_tab_cycle() const;
    QWidget* next_in_tab_cycle(std::string_view after) const;
    void schedule_put_back();
    void watch_screen(QScreen* screen);
    void write_log(QPlainTextEdit* edit, Held& held, std::string_view gbk);

    const ui::Form& form_;
    std::map<std::string, QWidget*, std::less<>> widgets_;
    std::map<std::string, Held, std::less<>> held_;  // controls the user cannot type into
    QWidget* client_ = nullptr;
    QTimer put_back_;
    QElapsedTimer minimised_;
    int corrections_ = 0;  // put-backs in a row; later ones wait a little
    bool caption_active_ = true;
    bool retired_ = false;
    bool shown_once_ = false;
};

}  // namespace tallaro
