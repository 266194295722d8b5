#include "core/text.h"

#include <new>
#include <stdexcept>

#include "app/window_ops.h"
#include "core/gbk.h"

namespace tallaro {

namespace {

TextAllocationHook g_hook = nullptr;
void* g_hook_context = nullptr;

[[noreturn]] void out_of_memory(std::size_t bytes) {
    // The count is the true size asked for; a printf-style %d would turn
    // sizes above 2 GiB into negative numbers.
    static const std::string head = gbk_from_utf8("分配 ");
    static const std::string tail = gbk_from_utf8(" 字节内存失败!");
    fatal_error(head + std::to_string(bytes) + tail);
}

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

std::string copy_text(std::string_view bytes) {
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
