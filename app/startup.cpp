#include "app/startup.h"

#include <QApplication>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QLibraryInfo>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fontconfig/fontconfig.h>
#include <future>
#include <set>
#include <string>
#include <string_view>
#include <xcb/xcb.h>

#include "app/command_line.h"
#include "app/fp_env.h"
#include "app/qt_shell.h"

namespace tallaro {

namespace {

// The forms' faces and the installed families that draw them. 新宋体 is a
// monospaced CJK face, 微软雅黑 a sans-serif one. One compact family serves
// all faces: its line height is close to the em, as the forms' sizes expect,
// and it is a fraction of a larger family's memory.
struct Face {
    const char* form_face;
    const char* family;
};
constexpr Face k_faces[] = {
    {"新宋体", "WenQuanYi Micro Hei Mono"},
    {"微软雅黑", "WenQuanYi Micro Hei"},
};

bool has_family(FcPattern* font, const char* family) {
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        if (std::strcmp(reinterpret_cast<const char*>(name), family) == 0) return true;
    }
    return false;
}

// Gives each installed family its form face as one more family name, in
// fontconfig's set of the application's fonts. Qt reads every further family
// name of a font as an alias of it, so it finds a form face at once. Reached
// through a substitution instead, a face that no font has costs fontconfig a
// sort of every installed font for each size, weight and script, twice
// (about an eighth of start-up). Must run before Qt first lists the fonts;
// returns false where a family is not installed.
bool name_families_after_form_faces() {
    FcConfig* config = FcConfigGetCurrent();
    FcFontSet* system = config ? FcConfigGetFonts(config, FcSetSystem) : nullptr;
    if (!system) return false;
    // The application set starts with the cached fonts of each family's
    // directory, whose entries are then swapped for named copies.
    std::set<std::string> dirs;
    for (int i = 0; i < system->nfont; ++i) {
        FcChar8* file = nullptr;
        for (const Face& face : k_faces) {
            if (has_family(system->fonts[i], face.family) &&
                FcPatternGetString(system->fonts[i], FC_FILE, 0, &file) == FcResultMatch) {
                dirs.insert(std::filesystem::path(reinterpret_cast<const char*>(file)).parent_path());
            }
        }
    }
    for (const std::string& dir : dirs) FcConfigAppFontAddDir(config, reinterpret_cast<const FcChar8*>(dir.c_str()));
    FcFontSet* app = FcConfigGetFonts(config, FcSetApplication);
    if (!app) return false;
    int named = 0;
    for (const Face& face : k_faces) {
        bool found = false;
        for (int i = 0; i < app->nfont; ++i) {
            if (!has_family(app->fonts[i], face.family) || has_family(app->fonts[i], face.form_face)) continue;
            FcPattern* copy = FcPatternDuplicate(app->fonts[i]);
            if (!copy || !FcPatternAddString(copy, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.form_face))) {
                if (copy) FcPatternDestroy(copy);
                continue;
            }
            FcPatternDestroy(app->fonts[i]);
            app->fonts[i] = copy;
            found = true;
        }
        named += found ? 1 : 0;
    }
    return named == static_cast<int>(std::size(k_faces));
}

// With the families named, Qt finds the form faces as they are; otherwise
// each face is substituted by its family.
void map_form_faces(bool families_named) {
    if (!families_named) {
        for (const Face& face : k_faces) {
            QFont::insertSubstitution(QString::fromUtf8(face.form_face), QString::fromUtf8(face.family));
        }
    }
    // The default control font: a CJK face at the usual 12 pixels of dialog text.
    QFont font(QStringLiteral("WenQuanYi Micro Hei"));
    font.setPixelSize(12);
    QApplication::setFont(font);
}

}  // namespace

void prepare_fonts() { map_form_faces(name_families_after_form_faces()); }

void prepare_desktop_identity() {
    // The desktop entry's name without ".desktop", which is also the
    // AppStream id (cmake/Packaging.cmake).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tallaro.tallaro"));
    // The window icon, drawn from the same picture as the installed theme
    // icon, at the sizes that title bars and task lists use; larger ones come
    // from the theme through the desktop entry. Decoding 128 and 256 as well
    // took a fifteenth of start-up.
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(QImage(QStringLiteral(":/icons/%1x%1/tallaro.png").arg(size), "PNG")));
    }
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
    // Fontconfig reads its configuration and font cache (nearly a fifth of
    // start-up) on a second thread while Qt connects to the display; Qt lists
    // no font before the application object exists.
    std::future<bool> families_named = std::async(std::launch::async, name_families_after_form_faces);
    QApplication app(argc, argv);
    map_form_faces(families_named.get());
    if (toolkit_ready) toolkit_ready();
    prepare_desktop_identity();
    QtShell shell;
    return shell.run();
}

}  // namespace tallaro
