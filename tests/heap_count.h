#pragma once
// Counts the bytes that operator new hands out while a HeapCount lives. The
// test program that includes this header replaces the global operator new
// (tests/heap_count.cpp) so that every C++ allocation passes through here.

#include <cstddef>

namespace tallaro::support {

std::size_t& heap_counter();
bool& heap_counting();

class HeapCount {
public:
    HeapCount() {
        heap_counter() = 0;
        heap_counting() = true;
    }
    ~HeapCount() { heap_counting() = false; }
    HeapCount(const HeapCount&) = delete;
    HeapCount& operator=(const HeapCount&) = delete;

    std::size_t bytes() const { return heap_counter(); }
};

}  // namespace tallaro::support
