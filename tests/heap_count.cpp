#include "tests/heap_count.h"

#include <cstdlib>
#include <new>

namespace tallaro::support {

std::size_t& heap_counter() {
    static std::size_t bytes = 0;
    return bytes;
}

bool& heap_counting() {
    static bool on = false;
    return on;
}

}  // namespace tallaro::support

void* operator new(std::size_t size) {
    if (tallaro::support::heap_counting()) tallaro::support::heap_counter() += size;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
