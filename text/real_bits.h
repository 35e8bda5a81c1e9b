// The bit layout of the single and double reals, for code that reads a real
// from its bit pattern: on the x87 unit any floating load of a signalling
// not-a-number makes it quiet, so a real whose kind of not-a-number matters
// is carried and examined as bits.
#pragma once

#include <cstdint>

namespace formreel {

// Bits of the fraction, below the exponent.
inline constexpr int DoubleFractionBits = 52;
inline constexpr int DoubleExponentBias = 1023;
inline constexpr std::uint64_t DoubleSignBit = 0x8000000000000000;
// Also the bit pattern of +infinity.
inline constexpr std::uint64_t DoubleExponentMask = 0x7FF0000000000000;
inline constexpr std::uint64_t DoubleFractionMask = 0x000FFFFFFFFFFFFF;
// Set in a quiet not-a-number, clear in a signalling one.
inline constexpr std::uint64_t DoubleQuietBit = 0x0008000000000000;

inline constexpr int SingleFractionBits = 23;
inline constexpr std::uint32_t SingleSignBit = 0x80000000;
// Also the bit pattern of +infinity.
inline constexpr std::uint32_t SingleExponentMask = 0x7F800000;
inline constexpr std::uint32_t SingleFractionMask = 0x007FFFFF;

}  // namespace formreel
