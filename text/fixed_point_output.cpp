#include "text/fixed_point_output.h"

#include <algorithm>
#include <bit>
#include <string_view>

#include "text/decimal_digits.h"
#include "text/real_bits.h"

namespace formreel {

namespace {

// Sign set and only the highest fraction bit: the processor's default NaN.
constexpr std::uint64_t IndefiniteBits = DoubleSignBit | DoubleExponentMask | DoubleQuietBit;

constexpr std::string_view NonFiniteMarker(std::uint64_t bits) {
  if ((bits & DoubleFractionMask) == 0) return "1#INF";
  if (bits == IndefiniteBits) return "1#IND";
  if ((bits & DoubleQuietBit) == 0) return "1#SNAN";
  return "1#QNAN";
}

void WriteMarker(std::string_view marker, TextSpan field) {
  const std::size_t shown = std::min(marker.size(), field.size());
  std::copy_n(marker.begin(), shown, field.begin());
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(shown), field.end(), '.');
}

}  // namespace

std::uint64_t WidenSingle(std::uint32_t bits) {
  const std::uint32_t fraction = bits & SingleFractionMask;
  if ((bits & SingleExponentMask) == SingleExponentMask && fraction != 0) {
    const std::uint64_t sign = (bits & SingleSignBit) != 0 ? DoubleSignBit : 0;
    return sign | DoubleExponentMask | DoubleQuietBit |
           (static_cast<std::uint64_t>(fraction) << (DoubleFractionBits - SingleFractionBits));
  }
  return std::bit_cast<std::uint64_t>(static_cast<double>(std::bit_cast<float>(bits)));
}

void WriteFixedPoint(std::uint64_t bits, int precision, int decimals, TextSpan field) {
  if ((bits & DoubleExponentMask) == DoubleExponentMask) {
    WriteMarker(NonFiniteMarker(bits), field);
    return;
  }
  const double x = std::bit_cast<double>(bits);
  const int width = static_cast<int>(field.size());
  // Far outside what the field can show, the digits do not matter: the text
  // is zero or asterisks whatever they are. (The estimate is within one of
  // the exponent; one more of margin on each side.)
  const int estimate = EstimateDecimalExponent(x);
  if (estimate - 2 > width) {
    std::fill(field.begin(), field.end(), '*');
    return;
  }
  DecimalExpansion expansion;
  if (estimate + 2 < -decimals) {
    expansion.digits[0] = '0';
    expansion.count = 1;
    expansion.exponent = -decimals - 1;
  } else {
    expansion = ExpandDecimal(x);
  }
  bool negative = (bits & DoubleSignBit) != 0 && x != 0;
  bool nonZero = x != 0;
  if (expansion.exponent < -decimals) {
    // Rounds to zero at this many decimals, whatever the sign.
    negative = false;
    nonZero = false;
    expansion = DecimalExpansion{};
    expansion.digits[0] = '0';
    expansion.count = 1;
    expansion.exponent = -decimals;  // nothing before the point, zeros after
  } else if (nonZero) {
    const int shown = decimals + expansion.exponent;
    if (!RoundExpansion(expansion, std::min(precision, shown))) negative = false;
  }
  const int before = expansion.exponent;  // digits before the point (i)
  const bool leadingZero = before == 0 && decimals + before == 0;
  const int length =
      (negative ? 1 : 0) + (leadingZero ? 1 : 0) + std::max(before, 0) + 1 + decimals;
  if (length > width) {
    std::fill(field.begin(), field.end(), '*');
    return;
  }
  char* out = field.data();
  std::fill(out, out + (width - length), Blank);
  out += width - length;
  if (negative) *out++ = '-';
  if (leadingZero) *out++ = '0';
  // Digits first.. of the expansion into n places, zeros once it has run out.
  const auto digits = [&expansion](char* to, int first, int n) {
    const int available = std::clamp(expansion.count - first, 0, n);
    if (available > 0) std::copy_n(expansion.digits.begin() + first, available, to);
    std::fill_n(to + available, n - available, '0');
    return to + n;
  };
  if (before > 0) out = digits(out, 0, before);
  *out++ = '.';
  if (before < 0) {
    const int zeros = std::min(-before, decimals);
    out = std::fill_n(out, zeros, '0');
    digits(out, 0, decimals - zeros);
  } else {
    digits(out, before, decimals);
  }
}

}  // namespace formreel
