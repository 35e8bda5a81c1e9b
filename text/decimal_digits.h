// The decimal digits of a binary real: the 17-digit expansion of its exact
// value and the second, shorter rounding that fixed-point output applies.
#pragma once

#include <array>
#include <cstdint>

namespace formreel {

// |x| = 0.D1 D2 ... Dcount × 10^exponent, with D1 non-zero unless the value is
// zero, whose expansion is the single digit 0 with exponent 0. Trailing zero
// digits are not kept, so count is 1..17 and Dcount is non-zero for a non-zero
// value.
struct DecimalExpansion {
  std::array<char, 17> digits{};  // '0'..'9'
  int count = 0;
  int exponent = 0;
};

inline constexpr int ExpansionDigits = 17;

// The first 17 significant digits of the exact value of |x|, rounded to
// nearest (ties to even), as the standard library's scientific conversion
// gives them. A value that is not finite gives the expansion of zero.
DecimalExpansion ExpandDecimal(double x);

// An estimate of the exponent of ExpandDecimal(x) from the binary exponent
// alone: at most one below or above it (0 for zero).
int EstimateDecimalExponent(double x);

// Rounds `expansion` to `keep` (>= 0) significant digits by looking at digit
// keep + 1 alone: 4 or less drops the digits from there on, 5 or more drops
// them and adds one to what remains, carrying leftwards. A carry out of the
// first digit, or rounding up with keep = 0, leaves the single digit 1 and
// raises the exponent by 1. Returns false when no non-zero digit remains
// (the value rounded to zero); the expansion is then the digit 0.
bool RoundExpansion(DecimalExpansion& expansion, int keep);

}  // namespace formreel
