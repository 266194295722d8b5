#pragma once
// What start-up makes ready before any window exists.

namespace tallaro {

// Maps the forms' font faces to installed CJK faces and sets the default
// control font. Must run before any font is resolved.
void prepare_fonts();

// Ties the program to its desktop entry and gives every window the
// application's icon.
void prepare_desktop_identity();

}  // namespace tallaro
