#pragma once
// The window operations: the only way the register logic reaches windows and
// controls. A backend is installed once at start-up (the Qt shell in the
// program, a table-backed fake in tests); the free functions below forward to
// it. This header is plain C++ so that the register logic builds without any
// toolkit.
//
// Texts are GBK byte strings; an absent text is the empty string. Control
// names are the form names (按钮1, 编辑框3 …) as UTF-8.

#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace tallaro {

enum class Window { main, checkout };

class WindowOps {
public:
    virtual ~WindowOps() = default;

    // True when the window is loaded on return; false when creating it failed
    // (or when a non-modal load names an owner that is not loaded). A modal
    // load ignores the owner and returns only once the new instance is gone.
    virtual bool load_window(Window window, bool modal, std::optional<Window> owner) = 0;
    // Marks the instance and queues its destruction; returns at once.
    virtual void destroy_window(Window window) = 0;
    virtual std::string read_text(Window window, std::string_view control) = 0;
    virtual void write_text(Window window, std::string_view control, std::string_view text) = 0;
    virtual void set_disabled(Window window, std::string_view control, bool disabled) = 0;
    // 1..3 switch that style on (result 1); anything else switches it off
    // (result 1 if a style was on, else 0).
    virtual int set_visual_style(int style) = 0;
    [[noreturn]] virtual void end_program(int status) = 0;
    // Shows the error box with the GBK message, then ends with status -1.
    [[noreturn]] virtual void fatal_error(std::string_view message) = 0;
};

// Installs the backend; it must outlive every call below.
void install_window_ops(WindowOps* ops);
WindowOps& window_ops();

inline bool load_window(Window w, bool modal, std::optional<Window> owner = std::nullopt) {
    return window_ops().load_window(w, modal, owner);
}
inline void destroy_window(Window w) { window_ops().destroy_window(w); }
inline std::string read_text(Window w, std::string_view c) { return window_ops().read_text(w, c); }
inline void write_text(Window w, std::string_view c, std::string_view t) { window_ops().write_text(w, c, t); }
inline void set_disabled(Window w, std::string_view c, bool d) { window_ops().set_disabled(w, c, d); }
inline int set_visual_style(int style) { return window_ops().set_visual_style(style); }
// A backend that came back from these would be broken; nothing may run on.
[[noreturn]] inline void end_program(int status) {
    window_ops().end_program(status);
    std::abort();
}
[[noreturn]] inline void fatal_error(std::string_view message) {
    window_ops().fatal_error(message);
    std::abort();
}

// The messages of the fatal errors that the window operations raise (UTF-8;
// the backend hands them on as GBK).
inline constexpr std::string_view k_window_not_loaded = "指定窗口尚未载入";
inline constexpr std::string_view k_control_not_loaded = "指定窗口或窗口组件不存在或尚未载入";
inline constexpr std::string_view k_start_window_failed = "载入启动窗口失败";

// Bound to the main window's exit button: end program (0).
void exit_program();

}  // namespace tallaro
