#pragma once

#include <string_view>

namespace tolvane {

// What the numeric fields of the pages and dialogs store for a typed text. One reading for every field, so a value
// means the same whether a page, a dialog or a test types it. A comma counts as the decimal sign as much as a full
// stop, so that "12,5" means twelve and a half whatever the keyboard.

// The leading whole number: blanks, a sign and digits; anything else ends it, and a text without digits gives 0.
// Digits beyond the sixteenth no longer change a value that no field can hold anyway (never wrapped).
long long typedInteger(std::string_view text);

// The leading number in tenths, cut (not rounded) after the first decimal: "2.55" gives 25, "9" gives 90. Read as
// decimal digits, so every typed value gives exactly its tenths.
long long typedTenths(std::string_view text);

// The leading number as a real value with all its decimals ("12,25" gives 12.25).
double typedReal(std::string_view text);

// A value in units typed as a real number with one decimal, as tenths: truncated, with a small tolerance so that
// values such as 0.3 (2.999... tenths in binary) keep their digit; held within 0-65535, NaN giving 0.
int tenthsFromTyped(double units);

} // namespace tolvane
