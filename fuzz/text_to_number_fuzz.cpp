// Text to number reads only its own bytes, and only the number at the start:
// whatever follows the first byte that cannot belong to a number changes
// nothing.

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "core/value_texts.h"
#include "fuzz/fuzz_check.h"

namespace {

// The bytes in a block of exactly their size, so that a read past the end is
// caught by AddressSanitizer.
double read_exact(std::string_view bytes) {
    std::unique_ptr<char[]> block(new char[bytes.size() ? bytes.size() : 1]);
    std::memcpy(block.get(), bytes.data(), bytes.size());
    return tallaro::text_to_number(std::string_view(block.get(), bytes.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    (void)read_exact(input);
    if (size == 0) return 0;

    // The first byte says where the text is cut; "xx" cannot belong to a
    // number (even when the first x ends a two-byte character), so what
    // comes after it must not matter.
    const std::size_t cut = data[0] % size;
    const std::string head = std::string(input.substr(1, cut)) + "xx";
    const std::string whole = head + std::string(input.substr(1 + cut));
    const double a = read_exact(head);
    const double b = read_exact(whole);
    FUZZ_CHECK(std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b), "%.17g vs %.17g", a, b);
    return 0;
}
