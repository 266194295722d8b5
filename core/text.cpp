#include "core/text.h"

#include <new>
#include <stdexcept>

#include "app/window_ops.h"

namespace tallaro {

namespace {

TextAllocationHook g_hook = nullptr;
void* g_hook_context = nullptr;

// A text of `length` bytes; the zero byte that ends it counts in the request.
std::string allocate_text(std::size_t length) {
    const std::size_t bytes = length + 1;
    if (g_hook && !g_hook(bytes, g_hook_context)) out_of_memory(bytes);
    std::string text;
    try {
        text.resize(length);
    } catch (const std::bad_alloc&) {
        out_of_memory(bytes);
    } catch (const std::length_error&) {
        out_of_memory(bytes);
    }
    return text;
}

}  // namespace

void out_of_memory(std::size_t bytes) {
    // Memory has just run out: the message is put together in a buffer of
    // its own. The count is the true size asked for; a printf-style %d would
    // turn sizes above 2 GiB into negative numbers.
    constexpr std::string_view head = "\xB7\xD6\xC5\xE4 ";  // 分配 + space
    constexpr std::string_view tail = " \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!";  // 字节内存失败!
    char digits[24];
    char* d = digits + sizeof digits;
    do {
        *--d = static_cast<char>('0' + bytes % 10);
        bytes /= 10;
    } while (bytes != 0);
    char message[head.size() + sizeof digits + tail.size()];
    char* o = message;
    o += head.copy(o, head.size());
    for (; d != digits + sizeof digits; ++d) *o++ = *d;
    o += tail.copy(o, tail.size());
    fatal_error(std::string_view(message, static_cast<std::size_t>(o - message)));
}

std::string copy_text(std::string_view bytes) {
    if (bytes.empty()) return std::string();
    std::string text = allocate_text(bytes.size());
    bytes.copy(text.data(), bytes.size());
    return text;
}

std::string join_texts(std::initializer_list<std::string_view> parts) {
    std::size_t length = 0;
    for (std::string_view part : parts) length += part.size();
    std::string text = allocate_text(length);
    char* out = text.data();
    for (std::string_view part : parts) out += part.copy(out, part.size());
    return text;
}

void set_text_allocation_hook(TextAllocationHook hook, void* context) {
    g_hook = hook;
    g_hook_context = context;
}

}  // namespace tallaro
