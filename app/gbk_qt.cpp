#include "app/gbk_qt.h"

#include <new>

#include "app/gbk.h"
#include "core/text.h"

namespace tallaro {

namespace {

std::size_t g_last_bytes = 0;

// Runs a toolkit conversion that asks for `bytes`; its failure for lack of
// memory is the fatal error, not an exception.
template <typename Convert>
auto converted(std::size_t bytes, Convert convert) {
    g_last_bytes = bytes;
    try {
        return convert();
    } catch (const std::bad_alloc&) {
        out_of_memory(bytes);
    }
}

}  // namespace

QString qstring_from_gbk(std::string_view gbk) {
    const std::string utf8 = utf8_from_gbk(gbk);
    // At most one UTF-16 unit per UTF-8 byte, and Qt's terminating zero.
    return converted((utf8.size() + 1) * sizeof(QChar), [&] {
        QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        return text;
    });
}

std::string gbk_from_qstring(const QString& text) {
    // A lone surrogate comes out of toUtf8 as a replacement character, which
    // GBK cannot hold either, so it too becomes "?". Qt asks for three bytes
    // per UTF-16 unit before it knows the length.
    const QByteArray utf8 =
        converted(static_cast<std::size_t>(text.size()) * 3 + 1, [&] { return text.toUtf8(); });
    return gbk_from_utf8(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

std::size_t last_boundary_text_bytes() { return g_last_bytes; }

}  // namespace tallaro
