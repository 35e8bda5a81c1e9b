// The integer input rule: decimal and radix forms.
#include <array>

#include "text/field_input.h"

namespace formreel {

namespace {

constexpr std::uint32_t RadixLimit = 4294967295;
constexpr std::uint32_t DefaultRadix = 16;
constexpr std::uint32_t MaxRadix = 36;
constexpr std::uint8_t NotADigit = 255;

// The digit value of each character code: 0-9, then a-z or A-Z as 10-35.
constexpr std::array<std::uint8_t, 256> DigitValues = [] {
  std::array<std::uint8_t, 256> values{};
  values.fill(NotADigit);
  for (int k = 0; k < 10; ++k)
    values[static_cast<std::size_t>('0' + k)] = static_cast<std::uint8_t>(k);
  for (int k = 0; k < 26; ++k) {
    values[static_cast<std::size_t>('a' + k)] = static_cast<std::uint8_t>(10 + k);
    values[static_cast<std::size_t>('A' + k)] = static_cast<std::uint8_t>(10 + k);
  }
  return values;
}();

std::uint8_t DigitValue(char c) { return DigitValues[static_cast<unsigned char>(c)]; }

}  // namespace

RecordStatus ConvertInteger(std::string_view text, std::int32_t& value) {
  std::size_t k = 0;
  bool negative = false;
  if (k < text.size() && (text[k] == '+' || text[k] == '-')) negative = text[k++] == '-';
  // The decimal form, which in front of "#" gives the radix.
  std::uint32_t number = 0;
  for (; k < text.size() && text[k] != '#'; ++k) {
    const std::uint8_t digit = DigitValue(text[k]);
    if (digit > 9) return RecordStatus::InvalidCharacter;
    if (number > (DecimalLimit - digit) / 10) return RecordStatus::ValueTooLarge;
    number = number * 10 + digit;
  }
  if (k < text.size()) {
    ++k;  // the "#"
    const std::uint32_t radix = number == 0 ? DefaultRadix : number;
    if (radix < 2 || radix > MaxRadix) return RecordStatus::BadRadix;
    const std::uint32_t limit = radix == 10 ? DecimalLimit : RadixLimit;
    number = 0;
    for (; k < text.size(); ++k) {
      if (text[k] == '#') return RecordStatus::SecondRadixMark;
      const std::uint8_t digit = DigitValue(text[k]);
      if (digit >= radix) return RecordStatus::InvalidCharacter;
      if (number > (limit - digit) / radix) return RecordStatus::ValueTooLarge;
      number = number * radix + digit;
    }
  }
  // Radix numbers are 32-bit patterns: negation, like the reading of the
  // pattern as signed, is modulo 2^32.
  if (negative) number = 0u - number;
  value = static_cast<std::int32_t>(number);
  return RecordStatus::Ok;
}

}  // namespace formreel
