// Fast readers for the forms typed numbers nearly always take: blanks, an
// optional minus, decimal digits (for reals with a point and an "e"
// exponent), then blanks. The standard library converts such a text
// exactly as the input rules do; any other field is left to the general
// collection and conversion.
#include <charconv>
#include <system_error>

#include "text/field_input.h"
#include "text/x87_rounding.h"

namespace formreel {

namespace {

// Plain reals have at most this many digits, so no digit is ignored.
constexpr int MaxPlainDigits = 25;

// The digits of a number's text up to its exponent.
int CountDigits(const char* p, const char* end) {
  int digits = 0;
  for (; p < end && *p != 'e' && *p != 'E'; ++p) digits += IsDigit(*p) ? 1 : 0;
  return digits;
}

// True when only blanks (or a field end: comma, CR, LF) follow from p on.
bool RestIsBlank(const char* p, const char* end) {
  for (; p < end; ++p) {
    const char c = *p;
    if (c == ',' || c == '\r' || c == '\n') return true;
    if (c != ' ') return false;
  }
  return true;
}

}  // namespace

bool ReadPlainInteger(TextView field, std::int32_t& value) {
  const char* const end = field.data() + field.size();
  const char* p = SkipBlanks(field.data(), field.size());
  const bool negative = p < end && *p == '-';
  p += negative ? 1 : 0;
  // Up to 19 digits cannot overflow 64 bits; more are left to the rule.
  const char* const digits = p;
  std::uint64_t number = 0;
  for (; p < end && IsDigit(*p) && p - digits < 19; ++p)
    number = number * 10 + static_cast<std::uint64_t>(*p - '0');
  // No digits, or beyond the decimal limit (-2147483648 included), or more
  // after them: the general rule decides.
  if (p == digits || number > DecimalLimit || !RestIsBlank(p, end)) return false;
  const auto magnitude = static_cast<std::int32_t>(number);
  value = negative ? -magnitude : magnitude;
  return true;
}

bool ReadPlainReal(TextView field, double& value) {
  const char* const end = field.data() + field.size();
  const char* const start = SkipBlanks(field.data(), field.size());
  // The library would also read "inf" and "nan", which are not numbers here.
  const char* const first = start + (start < end && *start == '-' ? 1 : 0);
  if (first == end || !(IsDigit(*first) || *first == '.')) return false;
  double result = 0;
  std::from_chars_result read;
  {
    const X87DoubleRounding rounding;
    read = std::from_chars(start, end, result);
  }
  // Out of range (at either end) is left to the general rule.
  if (read.ec != std::errc() || !RestIsBlank(read.ptr, end)) return false;
  // Beyond 25 digits the rule ignores the rest, the library would not.
  if (read.ptr - start > MaxPlainDigits && CountDigits(start, read.ptr) > MaxPlainDigits)
    return false;
  value = result;
  return true;
}

}  // namespace formreel
