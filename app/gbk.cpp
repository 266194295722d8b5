#include "core/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

namespace tallaro {

namespace {

// One converter per direction, opened on first use and reset before each
// conversion. Everything runs on one thread.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts `in`; `skip` tells how many input bytes an unconvertible
    // character at the given place takes, and "?" stands for it.
    template <typename Skip>
    std::string run(std::string_view in, Skip skip) {
        std::string out;
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            // No converter on this machine: keep ASCII, mark the rest.
            for (std::size_t i = 0; i < in.size();) {
                const unsigned char c = static_cast<unsigned char>(in[i]);
                if (c < 0x80) {
                    if (c != 0) out.push_back(static_cast<char>(c));
                    ++i;
                } else {
                    out.push_back('?');
                    i += skip(in.substr(i));
                }
            }
            return out;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        out.resize(in.size() * 2 + 16);
        char* src = const_cast<char*>(in.data());
        std::size_t src_left = in.size();
        std::size_t used = 0;
        while (src_left > 0) {
            char* dst = out.data() + used;
            std::size_t dst_left = out.size() - used;
            const std::size_t r = iconv(cd_, &src, &src_left, &dst, &dst_left);
            used = out.size() - dst_left;
            if (r != static_cast<std::size_t>(-1)) break;
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL: the character at src has no form here.
            if (used + 1 > out.size()) out.resize(out.size() * 2);
            out[used++] = '?';
            const std::size_t n = skip(std::string_view(src, src_left));
            src += n;
            src_left -= n;
            iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        }
        out.resize(used);
        // U+0000 is dropped: a text holds no zero byte.
        std::erase(out, '\0');
        return out;
    }

private:
    iconv_t cd_;
};

// Length of the UTF-8 sequence that starts `s`, at least 1 and at most what
// is left; an invalid lead or continuation byte counts alone.
std::size_t utf8_length(std::string_view s) {
    const unsigned char c = static_cast<unsigned char>(s[0]);
    std::size_t n = c < 0x80 ? 1 : c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 1;
    if (c >= 0xF5) n = 1;
    for (std::size_t i = 1; i < n; ++i) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return i;
    }
    return n;
}

// A byte of 0x80 or more takes the next byte with it, when there is one.
std::size_t gbk_length(std::string_view s) {
    return static_cast<unsigned char>(s[0]) >= 0x80 && s.size() >= 2 ? 2 : 1;
}

}  // namespace

std::string gbk_from_utf8(std::string_view utf8) {
    static Converter converter("GBK", "UTF-8");
    return converter.run(utf8, utf8_length);
}

std::string utf8_from_gbk(std::string_view gbk) {
    static Converter converter("UTF-8", "GBK");
    return converter.run(gbk, gbk_length);
}

}  // namespace tallaro
