// Preloaded into a child process: a C library without a GBK converter.
// iconv_open fails for any conversion that names GBK, as it does where the
// gconv module is not installed; every other conversion works as before.

#include <dlfcn.h>
#include <iconv.h>
#include <strings.h>

#include <cerrno>
#include <cstring>

extern "C" iconv_t iconv_open(const char* to, const char* from) {
    if (strcasestr(to, "GBK") || strcasestr(from, "GBK")) {
        errno = EINVAL;
        return reinterpret_cast<iconv_t>(-1);
    }
    using Open = iconv_t (*)(const char*, const char*);
    static const auto real = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "iconv_open"));
    return real(to, from);
}
