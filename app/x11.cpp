#include "app/x11.h"

#include <QGuiApplication>
#include <QWidget>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tallaro::x11 {

namespace {

xcb_connection_t* connection() {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    const auto cookie = xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(c, cookie, nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

}  // namespace

void set_own_frame_hints(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c) return;
    enum : std::uint32_t { functions_flag = 1, decorations_flag = 2, function_minimise = 8 };
    const std::uint32_t hints[5] = {functions_flag | decorations_flag, function_minimise, 0, 0, 0};
    const xcb_atom_t motif = atom(c, "_MOTIF_WM_HINTS");
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()), motif, motif, 32, 5,
                        hints);
    xcb_flush(c);
}

void set_skip_taskbar(QWidget* window) {
    xcb_connection_t* c = connection();
    if (!c) return;
    const xcb_atom_t state = atom(c, "_NET_WM_STATE");
    const xcb_atom_t skip = atom(c, "_NET_WM_STATE_SKIP_TASKBAR");
    xcb_change_property(c, XCB_PROP_MODE_APPEND, static_cast<xcb_window_t>(window->winId()), state, XCB_ATOM_ATOM,
                        32, 1, &skip);
    xcb_flush(c);
}

}  // namespace tallaro::x11
