// Tallaro: start-up. Sets the floating-point environment, makes sure there is
// a display, maps the forms' font faces to installed ones, names the desktop
// entry and the icon, then loads the main window and runs the event loop.

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>

#include "app/fp_env.h"
#include "app/qt_shell.h"
#include "app/startup.h"

namespace {

// Qt aborts when it cannot reach a display; say so plainly instead.
bool display_reachable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string_view(platform).substr(0, 3) != "xcb") return true;
    // A Wayland session serves only where Qt's Wayland plugin is installed;
    // otherwise Qt falls back to X11, which must then answer.
    const QString wayland_plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqwayland-generic.so");
    if (!platform && std::getenv("WAYLAND_DISPLAY") && QFileInfo::exists(wayland_plugin)) return true;
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c) xcb_disconnect(c);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    tallaro::set_floating_point_environment();
    if (!display_reachable()) {
        std::fprintf(stderr, "tallaro: no display to show its windows on (is DISPLAY set?)\n");
        return 1;
    }
    QApplication app(argc, argv);
    tallaro::prepare_fonts();
    tallaro::prepare_desktop_identity();
    tallaro::QtShell shell;
    return shell.run();
}
