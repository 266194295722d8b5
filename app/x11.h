#pragma once
// Window-manager hints that Qt does not offer, written straight to X11. On any
// other platform these do nothing.

class QWidget;

namespace tallaro::x11 {

// A title bar with the title and no buttons or menu, and no window-manager
// functions (move, resize, close): _MOTIF_WM_HINTS with decorations border
// and title, functions none. Qt asks for moving on its own, so this must be
// written again after every window-flag change.
void set_title_only_hints(QWidget* window);

// _NET_WM_STATE_SKIP_TASKBAR, written before the window is first mapped.
void set_skip_taskbar(QWidget* window);

}  // namespace tallaro::x11
