#pragma once
// Window-manager hints that Qt does not offer, written straight to X11. On any
// other platform these do nothing.

class QWidget;

namespace tallaro::x11 {

// No decoration of the window manager's (the window draws its own frame and
// caption) and, of its functions, only minimising: _MOTIF_WM_HINTS with
// decorations none, functions minimise. Qt writes hints of its own as it
// maps a window, so this must be written again after that.
void set_own_frame_hints(QWidget* window);

// _NET_WM_STATE_SKIP_TASKBAR, written before the window is first mapped.
void set_skip_taskbar(QWidget* window);

}  // namespace tallaro::x11
