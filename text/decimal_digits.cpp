#include "text/decimal_digits.h"

#include <charconv>
#include <cmath>
#include <system_error>

#include "text/fatal_error.h"

DecimalExpansion ExpandDecimal(double x) {
  DecimalExpansion expansion;
  if (x == 0 || !std::isfinite(x)) {
    expansion.digits[0] = '0';
    expansion.count = 1;
    return expansion;
  }
  // to_chars with a precision rounds the exact binary value correctly:
  // "d.dddddddddddddddde±xx[x]", 17 significant digits.
  std::array<char, 32> text;
  const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), std::fabs(x),
                                       std::chars_format::scientific, ExpansionDigits - 1);
  if (ec != std::errc()) FatalRunTimeError("decimal expansion does not fit its buffer");
  expansion.digits[0] = text[0];
  for (int k = 1; k < ExpansionDigits; ++k) expansion.digits[static_cast<std::size_t>(k)] = text[static_cast<std::size_t>(k) + 1];
  // The exponent after "e": a sign and two or three digits.
  const char* p = text.data() + ExpansionDigits + 2;
  const bool negative = *p++ == '-';
  int power = 0;
  for (; p < end; ++p) power = power * 10 + (*p - '0');
  // d.ddd × 10^power = 0.dddd × 10^(power + 1)
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
