// Fixed-point output of a real: the text of a number with a given count of
// digits after the point, right-justified in its field.
#pragma once

#include <cstdint>

#include "text/fixed_text.h"

namespace formreel {

// Significant digits a real keeps on output.
inline constexpr int SinglePrecisionDigits = 7;
inline constexpr int DoublePrecisionDigits = 16;

// The double real with the value of the single real `bits`. The widening is
// exact; a not-a-number keeps its sign and payload and becomes quiet, as the
// processor's own conversion does.
std::uint64_t WidenSingle(std::uint32_t bits);

// Writes the real whose double bit pattern is `bits` into the whole of
// `field`, with `decimals` (>= 0) digits after the point and at most
// `precision` (>= 1) significant digits: right-justified after blanks,
// asterisks when the text is longer than the field, and for a value that is
// not finite a marker (1#INF, 1#IND, 1#SNAN or 1#QNAN) followed by points.
void WriteFixedPoint(std::uint64_t bits, int precision, int decimals, TextSpan field);

}  // namespace formreel
