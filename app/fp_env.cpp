#include "app/fp_env.h"

#include <cfenv>

namespace tallaro {

void set_floating_point_environment() {
    std::fesetround(FE_TONEAREST);
#if defined(__x86_64__) || defined(__i386__)
    // x87 control word: all six exceptions masked (bits 0-5), precision
    // control 11 = 64-bit significand, rounding control 00 = to nearest.
    const unsigned short control = 0x037F;
    __asm__ volatile("fldcw %0" : : "m"(control));
    // SSE: exceptions masked, round to nearest, no flush-to-zero.
    const unsigned int mxcsr = 0x1F80;
    __asm__ volatile("ldmxcsr %0" : : "m"(mxcsr));
#endif
}

}  // namespace tallaro
