// The text a number field shows for its value: the display format chosen by
// the value's type and magnitude, then cleaned for the screen.
#pragma once

#include <cstdint>

#include "text/record_format.h"

namespace formreel {

// The bound above which (in magnitude) a real shows without decimals:
// 1.0e13 rounded to single precision, used by both precisions.
inline constexpr float LargeNumberBound = 9999999827968.0f;

// Each writes the display text of `value` into `scratch` as NUL-terminated
// text at position 1 (positions beyond its NUL are left as the cleaning
// leaves them): integers without leading blanks, reals without leading
// blanks and trailing zero digits. Reals strictly between -1 and 1 use
// FractionDisplayFormat, beyond ±LargeNumberBound (strictly)
// LargeNumberDisplayFormat, the rest NumberDisplayFormat; a single real is
// compared in single precision, a double real in double precision.
//
// A real is given by its bit pattern (a single's 32 bits, a double's 64),
// because on 32-bit x86 a real handed over by value may pass through the
// x87 unit, which makes a signalling not-a-number quiet. A double's
// signalling not-a-number shows 1#SNAN; a single is widened first, which
// makes it quiet, so a single's shows 1#QNAN.
void ShortIntegerDisplayText(std::int16_t value, Record& scratch);
void LongIntegerDisplayText(std::int32_t value, Record& scratch);
void SingleRealDisplayText(std::uint32_t bits, Record& scratch);
void DoubleRealDisplayText(std::uint64_t bits, Record& scratch);
// Not a real by value: its bits.
void SingleRealDisplayText(float, Record&) = delete;
void DoubleRealDisplayText(double, Record&) = delete;

}  // namespace formreel
