#include "app/startup.h"

#include <QApplication>
#include <QDirIterator>
#include <QFont>
#include <QIcon>

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
    QGuiApplication::setDesktopFileName(QStringLiteral("tallaro"));
    // The icon's sizes are built into the program, drawn from the same
    // picture as the installed theme icon.
    QIcon icon;
    QDirIterator sizes(QStringLiteral(":/icons"), {QStringLiteral("tallaro.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (sizes.hasNext()) icon.addFile(sizes.next());
    QApplication::setWindowIcon(icon);
}

}  // namespace tallaro
