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

// A fresh copy of the bytes.
std::string copy_text(std::string_view bytes);

// The parts one after another, in order, as one fresh text (never absent).
std::string join_texts(std::initializer_list<std::string_view> parts);

// Test seam: the n-th text allocation from now on fails (1 = the next one);
// 0 switches failures off. Returns how many text allocations were made since
// the last call, so a test can count the allocations of a run.
std::uint64_t fail_text_allocation(std::uint64_t n);

}  // namespace tallaro
