#include "text/decimal_digits.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>

#include "text/fatal_error.h"
#include "text/real_bits.h"

namespace formreel {

namespace {

// "d.ddddddddddddddde-308" is the longest text of 17 significant digits:
// 22 characters, so the library's conversion never runs out of room.
constexpr int ScientificRoom = 32;

}  // namespace

int EstimateDecimalExponent(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits & DoubleExponentMask) >> DoubleFractionBits);
  const std::uint64_t fraction = bits & DoubleFractionMask;
  if (biased == 0 && fraction == 0) return 0;
  // floor(log2 |x|); a subnormal's lowest bit is 2^(1 - bias - fraction bits).
  constexpr int lowestBit = 1 - DoubleExponentBias - DoubleFractionBits;
  const int log2 = biased != 0 ? biased - DoubleExponentBias : lowestBit + 63 - std::countl_zero(fraction);
  // floor(log2 × log10(2)) + 1, with log10(2) as 78913 / 2^18.
  return ((log2 * 78913) >> 18) + 1;
}

DecimalExpansion ExpandDecimal(double x) {
  DecimalExpansion expansion;
  if (!std::isfinite(x) || x == 0) {
    expansion.digits[0] = '0';
    expansion.count = 1;
    return expansion;
  }
  // The library's scientific text with 16 digits after the point holds the
  // first 17 significant digits, correctly rounded: "d.dddddddddddddddde±x".
  std::array<char, ScientificRoom> text;
  const char* const end = std::to_chars(text.data(), text.data() + text.size(), std::fabs(x),
                                        std::chars_format::scientific, ExpansionDigits - 1)
                              .ptr;
  expansion.digits[0] = text[0];
  std::copy_n(text.begin() + 2, ExpansionDigits - 1, expansion.digits.begin() + 1);
  // The exponent's sign, then at least two digits.
  const char* p = text.data() + ExpansionDigits + 2;
  const bool negative = *p++ == '-';
  int power = 0;
  for (; p < end; ++p) power = power * 10 + (*p - '0');
  // 0.D1 D2 ... rather than D1.D2 ...
  expansion.exponent = (negative ? -power : power) + 1;
  int count = ExpansionDigits;
  while (count > 1 && expansion.digits[static_cast<std::size_t>(count - 1)] == '0') --count;
  expansion.count = count;
  return expansion;
}

bool RoundExpansion(DecimalExpansion& expansion, int keep) {
  if (keep < 0) FatalRunTimeError("negative digit count in rounding");
  if (expansion.count <= keep) return expansion.digits[0] != '0';
  const char next = expansion.digits[static_cast<std::size_t>(keep)];
  int count = keep;
  if (next >= '5') {
    // Add one at digit `keep`; trailing nines become zeros and are dropped.
    while (count > 0 && expansion.digits[static_cast<std::size_t>(count - 1)] == '9') --count;
    if (count == 0) {
      expansion.digits[0] = '1';
      expansion.count = 1;
      expansion.exponent += 1;
      return true;
    }
    ++expansion.digits[static_cast<std::size_t>(count - 1)];
  } else {
    while (count > 0 && expansion.digits[static_cast<std::size_t>(count - 1)] == '0') --count;
    if (count == 0) {
      expansion.digits[0] = '0';
      expansion.count = 1;
      return false;
    }
  }
  expansion.count = count;
  return true;
}

}  // namespace formreel
