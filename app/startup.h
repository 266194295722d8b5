#pragma once
// Start-up: what is made ready before any window exists, and the program
// from its command line to the end of its event loop.

#include <functional>

namespace tallaro {

// Maps the forms' font faces to installed CJK faces and sets the default
// control font. Must run before any font is resolved.
void prepare_fonts();

// Ties the program to its desktop entry and gives every window the
// application's icon.
void prepare_desktop_identity();

// Chooses X11 whenever an X display is named and the user chose no Qt
// platform: the windows' rules (centred, fixed, a frame of their own) are
// X11 rules, so in a Wayland session the program goes through Xwayland.
// Must run before the application object exists.
void choose_platform();

// Whether the chosen platform can show windows; Qt would abort otherwise.
bool display_reachable();

// The whole program, as main() runs it: command line, floating-point
// environment, display, toolkit, main window and event loop; returns the
// exit status. `toolkit_ready`, if given, runs as soon as the application
// object exists.
int run_program(int argc, char** argv, const std::function<void()>& toolkit_ready = {});

}  // namespace tallaro
