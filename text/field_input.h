// The input rules of a parse: collecting a field's characters, then
// converting the collected text to an integer or a real.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "text/fixed_text.h"
#include "text/record_format.h"

namespace formreel {

enum class InputRule : std::uint8_t { Integer, Real };

// The largest magnitude a decimal integer text may have: 2^31 - 1.
inline constexpr std::uint32_t DecimalLimit = 2147483647;

// True for the decimal digits '0'..'9'.
inline bool IsDigit(char c) { return static_cast<unsigned>(c - '0') < 10; }

// The first character of p[0..n) that is not a blank, or p + n. Typed
// numbers arrive right-aligned, so whole words of blanks are stepped over.
const char* SkipBlanks(const char* p, std::size_t n);

// The characters of a field that take part in the conversion. A field of at
// most ReadableColumns characters collects at most one more (an added 0).
struct CollectedText {
  std::array<char, ReadableColumns + 1> chars{};
  int length = 0;
  std::string_view View() const { return {chars.data(), static_cast<std::size_t>(length)}; }
};

// Collects `field` (at most ReadableColumns characters, more is fatal) from
// left to right: blanks and tabs are skipped, a comma, CR or LF ends the
// field, the character of code 26 fails with EndOfFileMark. For integers a
// "0" before anything else is collected is dropped; for reals a first "+" or
// "-" is followed by an added "0" and a first "." is preceded by one.
// On failure `collected` holds no meaningful text.
RecordStatus CollectField(TextView field, InputRule rule, CollectedText& collected);

// Converts collected integer text: an optional sign, then decimal digits up
// to 2147483647, or a radix (2..36, none meaning 16) and "#" and digits of
// that radix up to 4294967295 (2147483647 for radix 10) taken as a signed
// 32-bit value; no digits give 0; the sign negates (modulo 2^32).
// `value` is written only on success.
RecordStatus ConvertInteger(std::string_view text, std::int32_t& value);

// Converts collected real text: an optional sign, digits with at most one
// point, an optional exponent (E, e, D or d with an optional sign, or a bare
// sign) with at least one digit; no digits at all give 0. Significant digits
// after the 25th are ignored and exponents are counted up to 5201 in
// magnitude; the result is the nearest double (ties to even), a subnormal or
// zero below the double range, ValueTooLarge beyond it. `value` is written
// only on success.
RecordStatus ConvertReal(std::string_view text, double& value);

// Fast readers of the plain forms: blanks, then the text the standard
// library's from_chars reads (an optional "-", digits; for reals at most 25
// digits with an optional point and an optional "e" or "E" exponent), then
// only blanks up to the field's end, a comma, CR or LF. Each returns true
// and writes `value` when the field is plain and its value lies in range,
// which is then the value the general rules give; false otherwise, leaving
// `value` alone.
[[nodiscard]] bool ReadPlainInteger(TextView field, std::int32_t& value);
[[nodiscard]] bool ReadPlainReal(TextView field, double& value);

}  // namespace formreel
