#include "app/gbk_qt.h"

#include "core/gbk.h"

namespace tallaro {

QString qstring_from_gbk(std::string_view gbk) {
    const std::string utf8 = utf8_from_gbk(gbk);
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

std::string gbk_from_qstring(const QString& text) {
    // A lone surrogate comes out of toUtf8 as a replacement character, which
    // GBK cannot hold either, so it too becomes "?".
    const QByteArray utf8 = text.toUtf8();
    return gbk_from_utf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace tallaro
