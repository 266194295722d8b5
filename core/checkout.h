#pragma once
// Checkout settlement: the operations bound to the checkout window. The amount
// due is what the main window's total box shows; the change is the amount
// received less the amount due; ending the bill swaps in a fresh main window.

namespace tallaro {

void open_checkout();
void show_amount_due();
void settle_payment();
void end_bill();

}  // namespace tallaro
