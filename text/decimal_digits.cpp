#include "text/decimal_digits.h"

#include <bit>

#include "text/digit_pairs.h"
#include "text/fatal_error.h"

namespace {

// An unsigned integer of up to 40 32-bit limbs (1280 bits), least
// significant first: room for any double times 10^341 or shifted left by 971.
// 32-bit limbs keep every step in 64-bit arithmetic on every processor.
class BigNumber {
 public:
  explicit BigNumber(std::uint64_t value) {
    limbs_[0] = static_cast<std::uint32_t>(value);
    limbs_[1] = static_cast<std::uint32_t>(value >> 32);
    size_ = limbs_[1] != 0 ? 2 : 1;
  }

  void MultiplyBy(std::uint32_t factor) {
    std::uint64_t carry = 0;
    for (int k = 0; k < size_; ++k) {
      const std::uint64_t product = static_cast<std::uint64_t>(limbs_[Index(k)]) * factor + carry;
      limbs_[Index(k)] = static_cast<std::uint32_t>(product);
      carry = product >> 32;
    }
    if (carry != 0) Append(static_cast<std::uint32_t>(carry));
  }

  void MultiplyByPowerOfTen(int power) {
    for (; power >= 9; power -= 9) MultiplyBy(Billion);
    if (power > 0) MultiplyBy(SmallPowersOfTen[static_cast<std::size_t>(power)]);
  }

  void ShiftLeft(int bits) {
    const int words = bits / 32;
    const int rest = bits % 32;
    if (size_ + words + 1 > Capacity) FatalRunTimeError("decimal expansion beyond its capacity");
    limbs_[Index(size_ + words)] = 0;
    for (int k = size_ - 1; k >= 0; --k) {
      const std::uint64_t wide = static_cast<std::uint64_t>(limbs_[Index(k)]) << rest;
      limbs_[Index(k + words + 1)] |= static_cast<std::uint32_t>(wide >> 32);
      limbs_[Index(k + words)] = static_cast<std::uint32_t>(wide);
    }
    for (int k = 0; k < words; ++k) limbs_[Index(k)] = 0;
    size_ += words + 1;
    Trim();
  }

  // Divides in place and returns the remainder.
  std::uint32_t DivideBy(std::uint32_t divisor) {
    std::uint64_t remainder = 0;
    for (int k = size_ - 1; k >= 0; --k) {
      const std::uint64_t part = (remainder << 32) | limbs_[Index(k)];
      limbs_[Index(k)] = static_cast<std::uint32_t>(part / divisor);
      remainder = part % divisor;
    }
    Trim();
    return static_cast<std::uint32_t>(remainder);
  }

  // Divides in place by 10^power; true when the division was exact.
  bool DivideByPowerOfTen(int power) {
    bool exact = true;
    for (; power >= 9; power -= 9) exact = DivideBy(Billion) == 0 && exact;
    if (power > 0)
      exact = DivideBy(SmallPowersOfTen[static_cast<std::size_t>(power)]) == 0 && exact;
    return exact;
  }

  // How the lowest `bits` bits compare with one half of 2^bits.
  int CompareLowBitsWithHalf(int bits) const {
    const int top = bits - 1;
    if (!Bit(top)) return -1;
    for (int k = 0; k < top / 32; ++k)
      if (limbs_[Index(k)] != 0) return 1;
    const std::uint32_t below = (std::uint32_t{1} << (top % 32)) - 1;
    return (Limb(top / 32) & below) != 0 ? 1 : 0;
  }

  // The value shifted right by `bits`, which must fit 64 bits.
  std::uint64_t High64(int bits) const {
    const int word = bits / 32;
    const int rest = bits % 32;
    const std::uint64_t low = Limb(word) | (Limb(word + 1) << 32);
    const std::uint64_t high = Limb(word + 2);
    const bool beyond = (rest == 0 ? high != 0 : (high >> rest) != 0) || size_ > word + 3;
    if (beyond) FatalRunTimeError("decimal expansion digits beyond 64 bits");
    return rest == 0 ? low : (low >> rest) | (high << (64 - rest));
  }

 private:
  static constexpr int Capacity = 40;
  static constexpr std::uint32_t Billion = 1'000'000'000;
  static constexpr std::uint32_t SmallPowersOfTen[] = {
      1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

  static std::size_t Index(int k) { return static_cast<std::size_t>(k); }
  std::uint64_t Limb(int k) const { return k < size_ ? limbs_[Index(k)] : 0; }
  bool Bit(int bit) const { return ((Limb(bit / 32) >> (bit % 32)) & 1) != 0; }
  void Append(std::uint32_t limb) {
    if (size_ == Capacity) FatalRunTimeError("decimal expansion beyond its capacity");
    limbs_[Index(size_++)] = limb;
  }
  void Trim() {
    while (size_ > 1 && limbs_[Index(size_ - 1)] == 0) --size_;
  }

  // Only limbs below size_ are ever read: no need to clear the rest.
  std::array<std::uint32_t, Capacity> limbs_;
  int size_ = 1;
};

constexpr std::uint64_t SeventeenDigits = 100'000'000'000'000'000;  // 10^17
constexpr std::uint64_t SixteenDigits = 10'000'000'000'000'000;     // 10^16

// 5^k for k = 0..55 as 128-bit numbers (5^55 < 2^128).
struct Wide {
  std::uint64_t high;
  std::uint64_t low;
};
constexpr int MaxFastPower = 55;
constexpr std::array<Wide, MaxFastPower + 1> PowersOfFive = [] {
  std::array<Wide, MaxFastPower + 1> powers{};
  Wide power{0, 1};
  for (auto& entry : powers) {
    entry = power;
    // power × 5 = power × 4 + power
    const std::uint64_t low = (power.low << 2) + power.low;
    const std::uint64_t carry = ((power.low >> 62) + (low < (power.low << 2) ? 1 : 0));
    power = {(power.high << 2) + power.high + carry, low};
  }
  return powers;
}();

Wide Multiply(std::uint64_t a, std::uint64_t b) {
#if defined(__SIZEOF_INT128__)
  const unsigned __int128 product = static_cast<unsigned __int128>(a) * b;
  return {static_cast<std::uint64_t>(product >> 64), static_cast<std::uint64_t>(product)};
#else
  const std::uint64_t aLow = a & 0xFFFFFFFF, aHigh = a >> 32;
  const std::uint64_t bLow = b & 0xFFFFFFFF, bHigh = b >> 32;
  const std::uint64_t lowLow = aLow * bLow;
  const std::uint64_t highLow = aHigh * bLow;
  const std::uint64_t lowHigh = aLow * bHigh;
  const std::uint64_t middle = (lowLow >> 32) + (highLow & 0xFFFFFFFF) + (lowHigh & 0xFFFFFFFF);
  return {aHigh * bHigh + (highLow >> 32) + (lowHigh >> 32) + (middle >> 32),
          (middle << 32) | (lowLow & 0xFFFFFFFF)};
#endif
}

// floor(mantissa × 5^power / 2^shift) for 0 < shift, when it fits 64 bits
// (false otherwise), and how the dropped bits compare with one half. The
// product has at most 53 + 128 bits: three 64-bit words.
bool ScaledByFive(std::uint64_t mantissa, int power, int shift, std::uint64_t& result,
                  int& comparison) {
  const Wide five = PowersOfFive[static_cast<std::size_t>(power)];
  const Wide low = Multiply(mantissa, five.low);
  const Wide high = Multiply(mantissa, five.high);
  std::array<std::uint64_t, 3> words{low.low, low.high + high.low, high.high};
  words[2] += words[1] < low.high ? 1 : 0;
  if (shift >= 192) return false;
  const int word = shift / 64;
  const int rest = shift % 64;
  const auto at = [&words](int k) { return k < 3 ? words[static_cast<std::size_t>(k)] : 0; };
  // The result: bits shift .. shift + 63, and nothing above them.
  result = rest == 0 ? at(word) : (at(word) >> rest) | (at(word + 1) << (64 - rest));
  const std::uint64_t above =
      rest == 0 ? at(word + 1) | at(word + 2) : (at(word + 1) >> rest) | at(word + 2);
  if (above != 0) return false;
  // The half bit is bit shift - 1; below it, any set bit makes it more.
  const int halfBit = shift - 1;
  const bool half = ((at(halfBit / 64) >> (halfBit % 64)) & 1) != 0;
  bool below = (at(halfBit / 64) & ((std::uint64_t{1} << (halfBit % 64)) - 1)) != 0;
  for (int k = 0; k < halfBit / 64; ++k) below = below || words[static_cast<std::size_t>(k)] != 0;
  comparison = !half ? -1 : below ? 1 : 0;
  return true;
}

// floor(|x| × 10^power), and how the part below the point compares with one
// half. |x| = mantissa × 2^binaryExponent.
std::uint64_t ScaledFloor(std::uint64_t mantissa, int binaryExponent, int power, int& comparison) {
  // Most values shown: |x| × 10^power = mantissa × 5^power × 2^(binaryExponent
  // + power), one product of three words and a shift.
  if (power >= 0 && power <= MaxFastPower && binaryExponent + power < 0) {
    std::uint64_t result = 0;
    if (ScaledByFive(mantissa, power, -(binaryExponent + power), result, comparison)) return result;
  }
  BigNumber number(mantissa);
  if (power >= 0) {
    number.MultiplyByPowerOfTen(power);
    if (binaryExponent >= 0) {
      number.ShiftLeft(binaryExponent);
      comparison = -1;
      return number.High64(0);
    }
    comparison = number.CompareLowBitsWithHalf(-binaryExponent);
    return number.High64(-binaryExponent);
  }
  // |x| >= 10^17 here, so the binary exponent is positive.
  number.ShiftLeft(binaryExponent);
  const bool exact = number.DivideByPowerOfTen(-power - 1);
  const std::uint32_t lastDigit = number.DivideBy(10);
  comparison = lastDigit > 5 || (lastDigit == 5 && !exact) ? 1 : lastDigit == 5 ? 0 : -1;
  return number.High64(0);
}

}  // namespace

int EstimateDecimalExponent(double x) {
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & 0x000FFFFFFFFFFFFF;
  if (biased == 0 && fraction == 0) return 0;
  // floor(log2 |x|)
  const int log2 = biased != 0 ? biased - 1023 : -1074 + 63 - std::countl_zero(fraction);
  // floor(log2 × log10(2)) + 1, with log10(2) as 78913 / 2^18.
  return ((log2 * 78913) >> 18) + 1;
}

DecimalExpansion ExpandDecimal(double x) {
  DecimalExpansion expansion;
  const auto bits = std::bit_cast<std::uint64_t>(x);
  const auto biased = static_cast<int>((bits >> 52) & 0x7FF);
  const std::uint64_t fraction = bits & 0x000FFFFFFFFFFFFF;
  if ((biased == 0 && fraction == 0) || biased == 0x7FF) {
    expansion.digits[0] = '0';
    expansion.count = 1;
    return expansion;
  }
  const std::uint64_t mantissa = biased != 0 ? fraction | (std::uint64_t{1} << 52) : fraction;
  const int binaryExponent = biased != 0 ? biased - 1075 : -1074;

  // N = |x| × 10^(17 - e) rounded, 10^16 <= N < 10^17. The estimate of e is
  // at most one off either way.
  int exponent = EstimateDecimalExponent(x);
  int comparison = 0;
  std::uint64_t scaled = 0;
  for (int tries = 0;; ++tries) {
    if (tries == 3) FatalRunTimeError("decimal exponent estimate failed");
    scaled = ScaledFloor(mantissa, binaryExponent, ExpansionDigits - exponent, comparison);
    if (scaled < SixteenDigits) {
      --exponent;
    } else if (scaled >= SeventeenDigits) {
      ++exponent;
    } else {
      break;
    }
  }
  // Round to nearest, ties to even.
  if (comparison > 0 || (comparison == 0 && scaled % 2 == 1)) ++scaled;
  if (scaled == SeventeenDigits) {
    scaled = SixteenDigits;
    ++exponent;
  }
  // 17 digits: the first 9 and the last 8, each in 32-bit arithmetic.
  WriteFixedDigits(expansion.digits.data(), static_cast<std::uint32_t>(scaled / 100000000), 9);
  WriteFixedDigits(expansion.digits.data() + 9, static_cast<std::uint32_t>(scaled % 100000000), 8);
  int count = ExpansionDigits;
  while (count > 1 && expansion.digits[static_cast<std::size_t>(count - 1)] == '0') --count;
  expansion.count = count;
  expansion.exponent = exponent;
  return expansion;
}

bool RoundExpansion(DecimalExpansion& expansion, int keep) {
  if (keep < 0) FatalRunTimeError("negative digit count in rounding");
  if (expansion.count <= keep) return expansion.digits[0] != '0';
  const char next = expansion.digits[static_cast<std::size_t>(keep)];
  int count = keep;
  if (next >= '5') {
    // Add one at digit `keep`; trailing nines become zeros and are dropped.
    while (count > 0 && expansion.digits[static_cast<std::size_t>(count - 1)] == '9') --count;
    if (count == 0) {
      expansion.digits[0] = '1';
      expansion.count = 1;
      expansion.exponent += 1;
      return true;
    }
    ++expansion.digits[static_cast<std::size_t>(count - 1)];
  } else {
    while (count > 0 && expansion.digits[static_cast<std::size_t>(count - 1)] == '0') --count;
    if (count == 0) {
      expansion.digits[0] = '0';
      expansion.count = 1;
      return false;
    }
  }
  expansion.count = count;
  return true;
}
