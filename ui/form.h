#pragma once
// The two windows as data: each window's own properties and the ordered
// table of its controls (form order), plus which operation each event runs.
// The shell builds widgets from these tables and the test fake builds control
// tables from them; nothing about a control is decided anywhere else.
//
// Texts here are UTF-8; they become GBK where the register logic sees them.
// Places and sizes are pixels, relative to the parent's client area (a group
// box's client area starts at its own top-left corner).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "app/window_ops.h"

namespace tallaro::ui {

enum class Kind { button, edit_box, label, group_box };
enum class Border { none, sunken, single_line };
enum class Input { normal, read_only, number };

// A font by face, character (em) height in pixels and weight. An empty face
// is the platform's default face; a pixel height of 0 is the default control
// font as a whole.
struct Font {
    std::string_view face;
    int pixel_height = 0;
    int weight = 400;

    bool is_default_control_font() const { return pixel_height == 0; }
};

struct Control {
    Kind kind;
    std::string_view name;
    std::string_view parent{};  // empty: the window's client area
    int left, top, width, height;
    std::string_view text;
    bool enabled = true;
    bool tab_stop = false;
    Font font{};
    // Colours as 0xRRGGBB; no background means the dialog face colour.
    std::uint32_t text_color = 0x000000;
    std::optional<std::uint32_t> background{};
    // Edit boxes.
    Border border = Border::none;
    Input input = Input::normal;
    bool multi_line = false;
    bool vertical_scroll = false;
    bool crosshair = false;
    // Labels (and multi-line edit boxes wrap anyway).
    bool word_wrap = false;
    // What a screen reader says. An empty name is the control's caption
    // without a trailing "："; an empty description is none.
    std::string_view accessible_name{};
    std::string_view accessible_description{};
};

// A button's click, and the operation it runs.
struct Binding {
    std::string_view control;
    void (*run)();
};

// The frame and caption bar that every window draws around its client area,
// the same for both windows. The forms are laid out for them: every control
// lies inside the client area that is left.
inline constexpr int frame_width = 3;
inline constexpr int caption_height = 22;

struct Form {
    Window window;
    std::string_view object_name;
    std::string_view title;
    int width, height;  // outer size, frame and title bar included
    std::span<const Control> controls;  // in form order
    void (*created)();                  // runs once all controls exist, before the first show
    std::span<const Binding> clicks;

    int client_width() const { return width - 2 * frame_width; }
    int client_height() const { return height - 2 * frame_width - caption_height; }
};

const Form& main_form();
const Form& checkout_form();
const Form& form_of(Window window);

// The control of that name, or nullptr.
const Control* find_control(const Form& form, std::string_view name);
// The operation a click on that control runs, or nullptr.
void (*click_binding(const Form& form, std::string_view control))();

}  // namespace tallaro::ui
