#include "app/startup.h"

#include <QApplication>
#include <QDirIterator>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <xcb/xcb.h>

#include "app/command_line.h"
#include "app/fp_env.h"
#include "app/qt_shell.h"

namespace tallaro {

void prepare_fonts() {
    // 新宋体 is a monospaced CJK face, 微软雅黑 a sans-serif one. One compact
    // family serves all faces: its line height is close to the em, as the
    // forms' sizes expect, and it is a fraction of a larger family's memory.
    QFont::insertSubstitutions(QStringLiteral("新宋体"),
                               {QStringLiteral("WenQuanYi Micro Hei Mono")});
    QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei"));
    // The default control font: a CJK face at the usual 12 pixels of dialog text.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

void prepare_desktop_identity() {
    // The desktop entry's name without ".desktop", which is also the
    // AppStream id (cmake/Packaging.cmake).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tallaro.tallaro"));
    // The icon's sizes are built into the program, drawn from the same
    // picture as the installed theme icon.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("tallaro.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) icon.addFile(sizes.next());
    QApplication::setWindowIcon(icon);
}

void choose_platform() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY")) return;
    // Without this, a Wayland session (XDG_SESSION_TYPE) sends Qt to its
    // Wayland plugin first, with a warning when it is missing.
    qputenv("QT_QPA_PLATFORM", "xcb");
}

bool display_reachable() {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform && *platform && std::string_view(platform).substr(0, 3) != "xcb") return true;
    // With no X display named, a Wayland session serves only where Qt's
    // Wayland plugin is installed; otherwise Qt falls back to X11, which must
    // then answer.
    const QString wayland_plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms/libqwayland-generic.so");
    if (!platform && std::getenv("WAYLAND_DISPLAY") && QFileInfo::exists(wayland_plugin)) return true;
    int screen = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screen);
    const bool ok = c && xcb_connection_has_error(c) == 0;
    if (c) xcb_disconnect(c);
    return ok;
}

int run_program(int argc, char** argv, const std::function<void()>& toolkit_ready) {
    const CommandLineAnswer answer = read_command_line(argc, argv);
    if (answer.stop) {
        std::fputs(answer.out.c_str(), stdout);
        std::fputs(answer.err.c_str(), stderr);
        return answer.status;
    }
    set_floating_point_environment();
    choose_platform();
    if (!display_reachable()) {
        std::fprintf(stderr, "tallaro: no display to show its windows on (is DISPLAY set?)\n");
        return 1;
    }
    QApplication app(argc, argv);
    if (toolkit_ready) toolkit_ready();
    prepare_fonts();
    prepare_desktop_identity();
    QtShell shell;
    return shell.run();
}

}  // namespace tallaro
