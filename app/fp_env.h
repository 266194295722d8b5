#pragma once
// The floating-point environment the register logic computes in: extended
// precision (64-bit significand), round to nearest, every exception masked.

namespace tallaro {

void set_floating_point_environment();

}  // namespace tallaro
