// The real input rule: syntax check, significant digits and exponent, then
// the nearest double from the standard library's conversion.
#include <array>
#include <charconv>
#include <system_error>

#include "text/field_input.h"
#include "text/x87_rounding.h"

namespace formreel {

namespace {

constexpr int MaxSignificantDigits = 25;
constexpr int ExponentCap = 5201;

}  // namespace

RecordStatus ConvertReal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';

  // Mantissa. |value| = 0.S1 S2 ... × 10^pointPower, S1 the first non-zero
  // digit; only the first 25 significant digits are kept.
  std::array<char, MaxSignificantDigits + 8> digits;  // digits, then "e" and the power
  int kept = 0;
  int pointPower = 0;
  bool anyDigit = false;
  bool seenPoint = false;
  for (; p < end; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      anyDigit = true;
      if (kept == 0 && c == '0') {
        if (seenPoint) --pointPower;  // a zero between the point and S1
        continue;
      }
      if (!seenPoint) ++pointPower;
      if (kept < MaxSignificantDigits) digits[static_cast<std::size_t>(kept++)] = c;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) {
    // Only an empty text has no digit: the collection adds a 0 after a sign
    // and before a point.
    if (p != end) return RecordStatus::InvalidCharacter;
    value = negative ? -0.0 : 0.0;
    return RecordStatus::Ok;
  }

  // Exponent: a letter with an optional sign, or a bare sign.
  int exponent = 0;
  if (p < end) {
    const char marker = *p++;
    bool exponentNegative = false;
    if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
      if (p < end && (*p == '+' || *p == '-')) exponentNegative = *p++ == '-';
    } else if (marker == '+' || marker == '-') {
      exponentNegative = marker == '-';
    } else {
      return RecordStatus::InvalidCharacter;
    }
    if (p == end) return RecordStatus::InvalidCharacter;  // a marker without digits
    for (; p < end; ++p) {
      if (!IsDigit(*p)) return RecordStatus::InvalidCharacter;
      if (exponent < ExponentCap) exponent = exponent * 10 + (*p - '0');
    }
    if (exponent > ExponentCap) exponent = ExponentCap;
    if (exponentNegative) exponent = -exponent;
  }

  if (kept == 0) {
    value = negative ? -0.0 : 0.0;
    return RecordStatus::Ok;
  }
  // S1 ... Skept e (pointPower + exponent - kept): an integer times a power of
  // ten, at most 5201 + 30 + 25 in magnitude.
  const int power = pointPower + exponent - kept;
  char* out = digits.data() + kept;
  *out++ = 'e';
  out = std::to_chars(out, digits.data() + digits.size(), power).ptr;
  double magnitude = 0;
  std::from_chars_result read;
  {
    const X87DoubleRounding rounding;
    read = std::from_chars(digits.data(), out, magnitude);
  }
  const auto [last, ec] = read;
  if (ec == std::errc::result_out_of_range) {
    // The library leaves the value alone out of range. The decimal exponent
    // of the leading digit tells the two ends apart: below the double range
    // the result is zero, above it the conversion fails.
    if (pointPower + exponent > 0) return RecordStatus::ValueTooLarge;
    magnitude = 0;
  } else if (ec != std::errc() || last != out) {
    FatalRunTimeError("real conversion rejected its own canonical text");
  }
  value = negative ? -magnitude : magnitude;
  return RecordStatus::Ok;
}

}  // namespace formreel
