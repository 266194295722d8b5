#pragma once
// A table-backed stand-in for the windows: each loaded window is a table of
// control texts (GBK) and disabled flags built from its form. Loads run the
// created operation, destroy requests queue until drain(), and every call is
// recorded. end_program and fatal_error throw, so a test can catch them.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "app/window_ops.h"
#include "core/clock.h"
#include "tests/fixed_clock.h"

namespace tallaro::support {

struct ProgramEnded {
    int status;
};
struct FatalError {
    std::string message;  // GBK
};

class FakeWindowOps final : public WindowOps {
public:
    struct Control {
        std::string text;  // GBK
        bool disabled = false;
    };
    struct Instance {
        int id = 0;
        std::map<std::string, Control, std::less<>> controls;
        bool marked = false;
        bool modal = false;
        struct Disabled {
            Window window;
            int id;
            bool was_enabled;
        };
        std::vector<Disabled> disabled_list;
        bool enabled = true;
    };

    FakeWindowOps();   // installs itself
    ~FakeWindowOps();  // uninstalls

    bool load_window(Window window, bool modal, std::optional<Window> owner) override;
    void destroy_window(Window window) override;
    std::string read_text(Window window, std::string_view control) override;
    void write_text(Window window, std::string_view control, std::string_view text) override;
    void set_disabled(Window window, std::string_view control, bool disabled) override;
    int set_visual_style(int style) override;
    [[noreturn]] void end_program(int status) override;
    [[noreturn]] void fatal_error(std::string_view message) override;

    // Takes the queued destruction requests, oldest first.
    void drain();
    // Runs the click binding of a control, as the shell would for an enabled button.
    void click(Window window, std::string_view control);

    bool loaded(Window window) const { return instances_.count(window) != 0; }
    Instance& instance(Window window);
    // The GBK text of a control, as UTF-8 for readable assertions.
    std::string text(Window window, std::string_view control);
    bool disabled(Window window, std::string_view control);

    // What runs while a modal load waits; when unset the modal load returns
    // at once and leaves the instance loaded for the test to drive.
    std::function<void()> modal_wait;

    std::vector<std::string> calls;  // "load main", "destroy checkout", …
    int visual_style = 0;

private:
    Control& control(Window window, std::string_view name);
    void destroy_instance(Window window);

    std::map<Window, Instance> instances_;
    std::deque<std::pair<Window, int>> requests_;
    int next_id_ = 1;
};

const char* window_name(Window window);

}  // namespace tallaro::support
