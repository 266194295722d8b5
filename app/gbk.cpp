#include "app/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>
#include <new>
#include <stdexcept>

#include "app/window_ops.h"
#include "core/text.h"

namespace tallaro {

namespace {

// One converter per direction, opened on first use and reset before each
// conversion. Everything runs on one thread.
class Converter {
public:
    // bound: the most bytes the output of n input bytes can take.
    Converter(const char* to, const char* from, std::size_t (*bound)(std::size_t))
        : cd_(iconv_open(to, from)), bound_(bound) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool available() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts `in`; `skip` tells how many input bytes an unconvertible
    // character at the given place takes, and "?" stands for it.
    template <typename Skip>
    std::string run(std::string_view in, Skip skip) {
        // Without a converter every text with a character beyond ASCII would
        // turn into question marks: the program cannot go on.
        if (!available()) fatal_error(k_no_gbk_converter);
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        grow(out, bound(in.size()));
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
                grow(out, out.size() * 2);
                continue;
            }
            // EILSEQ or EINVAL: the character at src has no form here.
            if (used + 1 > out.size()) grow(out, out.size() * 2);
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
    std::size_t bound(std::size_t n) const { return bound_(n); }

    // A text that cannot get its memory ends in the fatal error with the
    // byte count asked for, the zero byte included as for every text.
    static void grow(std::string& out, std::size_t size) {
        try {
            out.resize(size);
        } catch (const std::bad_alloc&) {
            out_of_memory(size + 1);
        } catch (const std::length_error&) {
            out_of_memory(size + 1);
        }
    }

    iconv_t cd_;
    std::size_t (*bound_)(std::size_t);
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

// Every UTF-8 character takes at least as many bytes as its GBK form or
// its "?"; a GBK character of two bytes takes at most three in UTF-8.
Converter& to_gbk() {
    static Converter converter("GBK", "UTF-8", [](std::size_t n) { return n; });
    return converter;
}
Converter& from_gbk() {
    static Converter converter("UTF-8", "GBK", [](std::size_t n) { return n + n / 2 + 1; });
    return converter;
}

}  // namespace

std::string gbk_from_utf8(std::string_view utf8) { return to_gbk().run(utf8, utf8_length); }

std::string utf8_from_gbk(std::string_view gbk) { return from_gbk().run(gbk, gbk_length); }

bool gbk_converter_available() { return to_gbk().available() && from_gbk().available(); }

}  // namespace tallaro
