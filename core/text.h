#pragma once
// Fresh texts. Every text the register logic hands out (a copy, a join, a
// value text) gets its memory here, so that running out of memory always ends
// in the fatal error "分配 N 字节内存失败!" instead of an exception. N counts
// the text's bytes plus its terminating zero byte.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace tallaro {

// A fresh copy of the bytes; an empty text is handed out absent, and an
// absent text asks for no memory at all.
std::string copy_text(std::string_view bytes);

// The parts one after another, in order, as one fresh text (never absent:
// even an empty join asks for its zero byte).
std::string join_texts(std::initializer_list<std::string_view> parts);

// The fatal error "分配 N 字节内存失败!" for a request of `bytes` that could
// not be met. The message is made without asking for memory.
[[noreturn]] void out_of_memory(std::size_t bytes);

// Test seam: while a hook is set, every text allocation first asks it, with
// the byte count about to be requested; false makes that allocation fail.
using TextAllocationHook = bool (*)(std::size_t bytes, void* context);
void set_text_allocation_hook(TextAllocationHook hook, void* context);

}  // namespace tallaro
