// The real input rule in stages: the sign, the significant digits and the
// point's place, the exponent, then the nearest double from the standard
// library's conversion of the canonical text they make.
#include <array>
#include <charconv>
#include <system_error>

#include "text/field_input.h"
#include "text/x87_rounding.h"

namespace formreel {

namespace {

constexpr int MaxSignificantDigits = 25;
constexpr int ExponentCap = 5201;

// |value| = 0.S1 S2 ... × 10^pointPower, S1 the first non-zero digit; only
// the first 25 significant digits are kept, followed by room for "e" and a
// power.
struct Mantissa {
  std::array<char, MaxSignificantDigits + 8> digits;
  int kept = 0;
  int pointPower = 0;
  bool anyDigit = false;
};

// An optional "+" or "-"; true for "-".
bool ReadSign(const char*& p, const char* end) {
  if (p < end && (*p == '+' || *p == '-')) return *p++ == '-';
  return false;
}

// Digits with at most one point, up to the first other character.
Mantissa ReadMantissa(const char*& p, const char* end) {
  Mantissa mantissa;
  bool seenPoint = false;
  for (; p < end; ++p) {
    const char c = *p;
    if (IsDigit(c)) {
      mantissa.anyDigit = true;
      if (mantissa.kept == 0 && c == '0') {
        if (seenPoint) --mantissa.pointPower;  // a zero between the point and S1
        continue;
      }
      if (!seenPoint) ++mantissa.pointPower;
      if (mantissa.kept < MaxSignificantDigits) mantissa.digits[static_cast<std::size_t>(mantissa.kept++)] = c;
    } else if (c == '.' && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  return mantissa;
}

// The rest of the text as an exponent: a letter with an optional sign, or a
// bare sign, then at least one digit; counted up to the cap. None is 0.
RecordStatus ReadExponent(const char* p, const char* end, int& exponent) {
  exponent = 0;
  if (p == end) return RecordStatus::Ok;
  const char marker = *p++;
  bool negative = false;
  if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
    negative = ReadSign(p, end);
  } else if (marker == '+' || marker == '-') {
    negative = marker == '-';
  } else {
    return RecordStatus::InvalidCharacter;
  }
  if (p == end) return RecordStatus::InvalidCharacter;  // a marker without digits
  for (; p < end; ++p) {
    if (!IsDigit(*p)) return RecordStatus::InvalidCharacter;
    if (exponent < ExponentCap) exponent = exponent * 10 + (*p - '0');
  }
  if (exponent > ExponentCap) exponent = ExponentCap;
  if (negative) exponent = -exponent;
  return RecordStatus::Ok;
}

// The nearest double to the kept digits (at least one) times the power:
// S1 ... Skept e (pointPower + exponent - kept), an integer times a power of
// ten, at most 5201 + 30 + 25 in magnitude.
RecordStatus NearestDouble(Mantissa& mantissa, int exponent, double& magnitude) {
  const int power = mantissa.pointPower + exponent - mantissa.kept;
  char* const first = mantissa.digits.data();
  char* out = first + mantissa.kept;
  *out++ = 'e';
  out = std::to_chars(out, first + mantissa.digits.size(), power).ptr;
  std::from_chars_result read;
  {
    const X87DoubleRounding rounding;
    read = std::from_chars(first, out, magnitude);
  }
  if (read.ec == std::errc::result_out_of_range) {
    // The library leaves the value alone out of range. The decimal exponent
    // of the leading digit tells the two ends apart: below the double range
    // the result is zero, above it the conversion fails.
    if (mantissa.pointPower + exponent > 0) return RecordStatus::ValueTooLarge;
    magnitude = 0;
  } else if (read.ec != std::errc() || read.ptr != out) {
    FatalRunTimeError("real conversion rejected its own canonical text");
  }
  return RecordStatus::Ok;
}

}  // namespace

RecordStatus ConvertReal(std::string_view text, double& value) {
  const char* p = text.data();
  const char* const end = p + text.size();
  const bool negative = ReadSign(p, end);
  Mantissa mantissa = ReadMantissa(p, end);
  // Only an empty text has no digit: the collection adds a 0 after a sign
  // and before a point.
  if (!mantissa.anyDigit && p != end) return RecordStatus::InvalidCharacter;
  int exponent = 0;
  if (mantissa.anyDigit) {
    const RecordStatus status = ReadExponent(p, end, exponent);
    if (status != RecordStatus::Ok) return status;
  }
  double magnitude = 0;
  if (mantissa.kept > 0) {
    const RecordStatus status = NearestDouble(mantissa, exponent, magnitude);
    if (status != RecordStatus::Ok) return status;
  }
  value = negative ? -magnitude : magnitude;
  return RecordStatus::Ok;
}

}  // namespace formreel
