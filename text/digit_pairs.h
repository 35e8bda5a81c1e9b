// Decimal digits two at a time, for the writers of number texts.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// "00" "01" ... "99", each pair in order.
inline constexpr std::array<char, 200> DigitPairs = [] {
  std::array<char, 200> pairs{};
  for (int k = 0; k < 100; ++k) {
    pairs[static_cast<std::size_t>(2 * k)] = static_cast<char>('0' + k / 10);
    pairs[static_cast<std::size_t>(2 * k + 1)] = static_cast<char>('0' + k % 10);
  }
  return pairs;
}();

// Writes the digits of `value` without leading zeros so that they end just
// before `end`; returns the position of the first digit.
inline char* WriteDigitsBefore(char* end, std::uint32_t value) {
  while (value >= 100) {
    const std::size_t pair = 2 * static_cast<std::size_t>(value % 100);
    value /= 100;
    *--end = DigitPairs[pair + 1];
    *--end = DigitPairs[pair];
  }
  if (value >= 10) {
    *--end = DigitPairs[2 * static_cast<std::size_t>(value) + 1];
    *--end = DigitPairs[2 * static_cast<std::size_t>(value)];
  } else {
    *--end = static_cast<char>('0' + value);
  }
  return end;
}

// Writes exactly `count` digits of `value`, leading zeros included, from `out` on.
inline void WriteFixedDigits(char* out, std::uint32_t value, int count) {
  char* p = out + count;
  for (; count >= 2; count -= 2) {
    const std::size_t pair = 2 * static_cast<std::size_t>(value % 100);
    value /= 100;
    *--p = DigitPairs[pair + 1];
    *--p = DigitPairs[pair];
  }
  if (count == 1) *--p = static_cast<char>('0' + value % 10);
}
