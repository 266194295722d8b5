#include "app/startup.h"

#include <QApplication>
#include <QDirIterator>
#include <QFont>
#include <QIcon>

namespace tallaro {

void prepare_fonts() {
    // 新宋体 is a monospaced Song face; 微软雅黑 a sans-serif one.
    QFont::insertSubstitutions(QStringLiteral("新宋体"),
                               {QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    QFont::insertSubstitution(QStringLiteral("微软雅黑"), QStringLiteral("Noto Sans CJK SC"));
    // The default control font: a CJK face at the usual 12 pixels of dialog text.
    QFont font(QStringLiteral("Noto Sans CJK SC"));
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
