#pragma once
// The Qt shell: the window operations carried out on real widgets. It owns
// the window instances (at most one per window), the queue of its own
// destruction and quit requests, the event hold count, modal waits, the
// visual style and the fatal error.
//
// Its requests are taken in order after the events queued before them and
// before any user input that is already waiting: an application-wide event
// filter drains the queue ahead of every input event.

#include <QObject>
#include <QPointer>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "app/form_window.h"
#include "app/window_ops.h"

class QEventLoop;

namespace tallaro {

class QtShell final : public QObject, public WindowOps {
public:
    QtShell();   // installs itself as the window operations
    ~QtShell() override;

    bool load_window(Window window, bool modal, std::optional<Window> owner) override;
    void destroy_window(Window window) override;
    std::string read_text(Window window, std::string_view control) override;
    void write_text(Window window, std::string_view control, std::string_view text) override;
    void set_disabled(Window window, std::string_view control, bool disabled) override;
    int set_visual_style(int style) override;
    [[noreturn]] void end_program(int status) override;
    [[noreturn]] void fatal_error(std::string_view message) override;

    // Start-up: loads the main window and runs the event loop until the quit
    // request; returns the exit status.
    int run();

    // The widget of a loaded window, or nullptr (for tests and tools).
    FormWindow* window(Window w) const;
    bool loaded(Window w) const { return instances_.count(w) != 0; }
    int hold_count() const { return hold_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void customEvent(QEvent* event) override;

private:
    struct Disabled {
        Window window;
        int id;
        bool was_enabled;
    };
    struct Instance {
        int id = 0;
        QPointer<FormWindow> widget;
        bool marked = false;
        bool modal = false;
        bool enabled = true;
        std::vector<Disabled> disabled_list;
        QEventLoop* wait = nullptr;
    };
    struct Request {
        enum Kind { destroy, quit } kind;
        Window window;
        int id;
        int status;
    };

    Instance& loaded_instance(Window window, std::string_view message);
    FormWindow& widget_with(Window window, std::string_view control);
    void destroy_instance(Window window);
    void set_enabled(Instance& inst, bool enabled);
    Instance* instance_of(const QWidget* widget);
    // Restores, raises and activates the current modal window. On an
    // activation of a window it disables (not a click), a modal window that
    // was minimised just now stays so.
    void bring_modal_forward(bool on_activation);
    void close_requested(Window window, int id);
    void clicked(Window window, int id, std::string_view control);
    void run_operation(void (*operation)());
    void queue(Request request);
    void queue_drain_event();
    void drain();
    void bury(FormWindow* widget);
    void flush_graveyard();

    std::map<Window, Instance> instances_;
    std::deque<Request> requests_;
    std::vector<QPointer<FormWindow>> graveyard_;
    std::vector<QEventLoop*> waits_;  // modal waits, innermost last
    int next_id_ = 1;
    int hold_ = 0;
    int dispatching_ = 0;  // clicks whose operation is still running
    bool loop_started_ = false;
    bool drain_posted_ = false;
    bool failing_ = false;  // the fatal error box is up
    int style_ = 0;
    QString default_style_;
};

}  // namespace tallaro
