#pragma once
// Bill entry: the operations bound to the main window. They reset the
// register for a fresh main window, stamp the start of a bill into the sales
// log, and for every article append a numbered line to the log and add the
// price to the running total shown in the total box.

#include <array>
#include <string>
#include <string_view>

namespace tallaro {

// One fixed-price button: its price and the tail of the article line it logs
// (GBK bytes, fixed at compile time).
struct FixedPrice {
    std::string_view button;  // control name, UTF-8
    double price;
    std::string_view label;
};

extern const std::array<FixedPrice, 10> fixed_prices;

void reset_register();
void start_bill();
void enter_fixed_price(const FixedPrice& row);
void enter_custom_price();

}  // namespace tallaro
