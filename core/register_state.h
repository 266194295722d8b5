#pragma once
// The register state: one program-wide record that belongs to no window. It
// is zero at program start and lives until the process ends; only the bill
// entry and checkout operations change it.

#include <cstdint>

namespace tallaro {

struct RegisterState {
    std::int32_t item_number;  // the number the next article line will carry
    float running_total;
    float amount_due;
    float amount_received;
    float change;
};

extern RegisterState register_state;

}  // namespace tallaro
