// Properties over many pseudo-random values and texts: display texts read
// back as the value rounded to the digits shown, failed parses leave their
// target alone, and every runtime produces the same texts and values.
#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/text/record_test_support.h"
#include "tests/support/random.h"
#include "text/display_text.h"
#include "text/record_format.h"

namespace formreel {

namespace {

using namespace record_test;

// The bits of a double spread over many decades: any pattern at all, or a
// random sign and fraction with a binary exponent between -107 and 107
// (about 1e-32 to 1e32). Built from integers alone, so that every platform
// draws the same values.
std::uint64_t RandomDoubleBits(Random& random) {
  const std::uint64_t bits = random.Next();
  if (random.Below(2) == 0) return bits;
  const auto exponent = static_cast<std::uint64_t>(1023 - 107 + random.Below(215));
  return (bits & 0x800FFFFFFFFFFFFF) | (exponent << 52);
}

// The decimal places a display shows for `x`, by the choice of format.
template <typename Real>
int DisplayDecimals(Real x) {
  const Real bound = static_cast<Real>(LargeNumberBound);
  if (x > -1 && x < 1) return 27;
  if (x > bound || x < -bound) return 0;
  return 14;
}

// The value a display of `x` should read back as, computed apart from the
// code under test: the 17 correctly rounded digits of to_chars, rounded
// half up at min(precision, decimals + exponent) digits, read by strtod (a
// reference apart from the library conversion the parse uses).
// Also gives the count of digits before the point of that rounded value.
double ShownValue(double x, int precision, int decimals, int& digitsBeforePoint) {
  std::array<char, 40> text;
  const auto end = std::to_chars(text.data(), text.data() + text.size(), std::fabs(x),
                                 std::chars_format::scientific, 16)
                       .ptr;
  std::string digits = std::string(1, text[0]) + std::string(text.data() + 2, 16);
  // The exponent after "d.dddddddddddddddde", whose "+" from_chars refuses.
  const char* sign = text.data() + 19;
  int exponent = 0;
  std::from_chars(sign + (*sign == '+' ? 1 : 0), end, exponent);
  exponent += 1;  // |x| = 0.ddd... × 10^exponent
  digitsBeforePoint = 0;
  if (x == 0 || exponent < -decimals) return 0;
  const int keep = std::min(precision, decimals + exponent);
  std::uint64_t kept = 0;
  for (int k = 0; k < keep; ++k)
    kept = kept * 10 + static_cast<std::uint64_t>(digits[static_cast<std::size_t>(k)] - '0');
  if (digits[static_cast<std::size_t>(keep)] >= '5') ++kept;
  if (kept == 0) return 0;
  const std::string keptText = std::to_string(kept);
  digitsBeforePoint = static_cast<int>(keptText.size()) + exponent - keep;
  const std::string decimal = keptText + "e" + std::to_string(exponent - keep);
  const double value = std::strtod(decimal.c_str(), nullptr);
  return x < 0 ? -value : value;
}

template <typename Real, typename Display>
void CheckDisplayReadsBack(Real x, int precision, Display display, int& asterisks) {
  Record scratch;
  display(x, scratch);
  const std::string text = Terminated(scratch);
  const int decimals = DisplayDecimals(x);
  int before = 0;
  const Real shown = static_cast<Real>(ShownValue(x, precision, decimals, before));
  if (text == Repeat(29, '*')) {
    // Only when the text would be longer than the field.
    EXPECT_GT((shown < 0 ? 1 : 0) + before + 1 + decimals, 29) << x;
    ++asterisks;
    return;
  }
  Real back = -shown - 1;
  ASSERT_EQ(ParseRecord(TypedField(text), RealReadFormat, back), RecordStatus::Ok)
      << x << " " << text;
  EXPECT_EQ(back, shown) << "value " << x << " shows as " << text;
}

TEST(DisplayRoundTrip, DoubleReadsBackAsTheValueRoundedToTheShownDigits) {
  Random random{1};
  int checked = 0, asterisks = 0;
  for (int k = 0; k < 200000; ++k) {
    const double x = std::bit_cast<double>(RandomDoubleBits(random));
    if (!std::isfinite(x)) continue;
    CheckDisplayReadsBack(x, 16, DoubleDisplayText, asterisks);
    ++checked;
    if (HasFailure()) break;
  }
  EXPECT_GT(checked, 190000);
  EXPECT_GT(asterisks, 1000);
}

TEST(DisplayRoundTrip, SingleReadsBackAsTheValueRoundedToTheShownDigits) {
  Random random{2};
  int checked = 0, asterisks = 0;
  for (int k = 0; k < 200000; ++k) {
    const float x = random.Below(2) == 0
                        ? std::bit_cast<float>(static_cast<std::uint32_t>(random.Next()))
                        : static_cast<float>(std::bit_cast<double>(RandomDoubleBits(random)));
    if (!std::isfinite(x)) continue;
    CheckDisplayReadsBack(x, 7, SingleDisplayText, asterisks);
    ++checked;
    if (HasFailure()) break;
  }
  EXPECT_GT(checked, 150000);  // doubles beyond the single range widen to infinity
  EXPECT_GT(asterisks, 1000);
}

// Characters that matter to the input rules, and a few that never do.
constexpr std::string_view Alphabet =
    "0123456789012345678901234567890123456789"
    "   \t,\r\n\x1a+-+-..eEdD#xXfFzZ\0\xff"
    "0000000000000000000011111111119999999999";

Record RandomField(Random& random) {
  Record record;
  const int length = random.Below(36);
  for (int k = 1; k <= length; ++k)
    record.Set(k,
               Alphabet[static_cast<std::size_t>(random.Below(static_cast<int>(Alphabet.size())))]);
  return record;
}

// Each record is parsed into two targets of every kind, preset to different
// values: a failure leaves each as it was; a success writes both, so they
// agree whatever they held before.
TEST(ParseTargets, WrittenOnlyOnSuccessAndAlwaysInRange) {
  Random random{3};
  int failures = 0, successes = 0;
  for (int k = 0; k < 100000; ++k) {
    const Record record = RandomField(random);
    std::int16_t shortTarget = 0x1234, otherShort = -0x1234;
    std::int32_t longTarget = 0x12345678, otherLong = -0x12345678;
    float singleTarget = 1.25f, otherSingle = -3.5f;
    double doubleTarget = 2.5, otherDouble = -7.25;
    const RecordStatus shortStatus = ParseRecord(record, IntegerReadFormat, shortTarget);
    const RecordStatus longStatus = ParseRecord(record, IntegerReadFormat, longTarget);
    const RecordStatus singleStatus = ParseRecord(record, RealReadFormat, singleTarget);
    const RecordStatus doubleStatus = ParseRecord(record, RealReadFormat, doubleTarget);
    ASSERT_EQ(ParseRecord(record, IntegerReadFormat, otherShort), shortStatus);
    ASSERT_EQ(ParseRecord(record, IntegerReadFormat, otherLong), longStatus);
    ASSERT_EQ(ParseRecord(record, RealReadFormat, otherSingle), singleStatus);
    ASSERT_EQ(ParseRecord(record, RealReadFormat, otherDouble), doubleStatus);
    // A failed parse leaves its target alone; a successful one writes it,
    // and in range.
    if (shortStatus == RecordStatus::Ok) {
      EXPECT_EQ(shortTarget, otherShort);
    } else {
      EXPECT_EQ(shortTarget, 0x1234);
      EXPECT_EQ(otherShort, -0x1234);
    }
    EXPECT_GE(shortTarget, -32767);
    if (longStatus == RecordStatus::Ok) {
      EXPECT_EQ(longTarget, otherLong);
    } else {
      EXPECT_EQ(longTarget, 0x12345678);
      EXPECT_EQ(otherLong, -0x12345678);
    }
    if (singleStatus == RecordStatus::Ok) {
      EXPECT_EQ(Bits(singleTarget), Bits(otherSingle));
    } else {
      EXPECT_EQ(Bits(singleTarget), Bits(1.25f));
      EXPECT_EQ(Bits(otherSingle), Bits(-3.5f));
    }
    EXPECT_TRUE(std::isfinite(singleTarget));
    if (doubleStatus == RecordStatus::Ok) {
      EXPECT_EQ(Bits(doubleTarget), Bits(otherDouble));
    } else {
      EXPECT_EQ(Bits(doubleTarget), Bits(2.5));
      EXPECT_EQ(Bits(otherDouble), Bits(-7.25));
    }
    EXPECT_TRUE(std::isfinite(doubleTarget));
    // A short is the long's value when both read, and fails only by range.
    if (longStatus == RecordStatus::Ok && shortStatus == RecordStatus::Ok) {
      EXPECT_EQ(shortTarget, longTarget);
    }
    if (longStatus != shortStatus) {
      EXPECT_EQ(shortStatus, RecordStatus::OutOfTargetRange);
    }
    (doubleStatus == RecordStatus::Ok ? successes : failures) += 1;
    if (HasFailure()) break;
  }
  // The alphabet makes both outcomes common.
  EXPECT_GT(successes, 10000);
  EXPECT_GT(failures, 10000);
}

std::string RandomDigits(Random& random, int count) {
  std::string digits;
  for (int k = 0; k < count; ++k) digits += static_cast<char>('0' + random.Below(10));
  return digits;
}

TEST(RealTexts, ReadAsTheNearestDoubleOfTheirDigitsAsStrtodReadsThem) {
  Random random{4};
  constexpr std::string_view markers[] = {"E", "e", "D", "d", "E+", "e-", "+", "-"};
  for (int k = 0; k < 100000; ++k) {
    // At most 25 digits in all, with the point anywhere among them.
    const int count = 1 + random.Below(25);
    const std::string digits = RandomDigits(random, count);
    const int point = random.Below(count + 1);
    const bool negative = random.Below(2) == 0;
    std::string typed = (negative ? "-" : "") + digits.substr(0, static_cast<std::size_t>(point)) +
                        "." + digits.substr(static_cast<std::size_t>(point));
    std::string plain = typed;
    if (random.Below(2) == 0) {
      const std::string_view marker = markers[random.Below(8)];
      const int exponent = random.Below(700);
      typed += std::string(marker) + std::to_string(exponent);
      plain += (marker.back() == '-' ? "e-" : "e") + std::to_string(exponent);
    }
    if (typed.size() > 30) continue;
    errno = 0;
    const double expected = std::strtod(plain.c_str(), nullptr);
    const bool outOfRange = errno == ERANGE;
    double value = 7;
    const RecordStatus status = ParseRecord(TypedField(typed), RealReadFormat, value);
    if (std::isinf(expected)) {
      EXPECT_EQ(status, RecordStatus::ValueTooLarge) << typed;
    } else {
      // Below the double range (where strtod may report ERANGE) the result
      // is the subnormal or zero all the same.
      ASSERT_EQ(status, RecordStatus::Ok) << typed << (outOfRange ? " (underflow)" : "");
      EXPECT_EQ(Bits(value), Bits(expected)) << typed;
    }
    if (HasFailure()) break;
  }
}

TEST(IntegerTexts, EveryRadixReadsBackItsPattern) {
  Random random{5};
  for (int k = 0; k < 100000; ++k) {
    const auto pattern = static_cast<std::uint32_t>(random.Next() >> random.Below(64));
    const int radix = 2 + random.Below(35);
    std::array<char, 40> digits;
    const auto end =
        std::to_chars(digits.data(), digits.data() + digits.size(), pattern, radix).ptr;
    std::string typed = std::to_string(radix) + "#" + std::string(digits.data(), end);
    if (typed.size() > 30) continue;
    if (random.Below(2) == 0)
      for (char& c : typed) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::int32_t value = 0;
    const RecordStatus status = ParseRecord(TypedField(typed), IntegerReadFormat, value);
    if (radix == 10 && pattern > 2147483647u) {
      EXPECT_EQ(status, RecordStatus::ValueTooLarge) << typed;
    } else {
      ASSERT_EQ(status, RecordStatus::Ok) << typed;
      EXPECT_EQ(value, static_cast<std::int32_t>(pattern)) << typed;
    }
    if (HasFailure()) break;
  }
}

// FNV-1a over everything the runs produce.
struct Digest {
  std::uint64_t value = 0xCBF29CE484222325;
  void Add(std::string_view bytes) {
    for (const char c : bytes) value = (value ^ static_cast<unsigned char>(c)) * 0x100000001B3;
  }
  template <typename T>
  void AddValue(const T& v) {
    Add(std::string_view(reinterpret_cast<const char*>(&v), sizeof v));
  }
};

// The digest of display texts and parse results over fixed pseudo-random
// inputs. The constants were recorded from the native run; the Windows runs
// must reproduce them exactly, so any difference between the runtimes'
// conversions shows here.
TEST(RuntimeAgreement, DisplayTextsMatchTheRecordedDigest) {
  Random random{6};
  Digest digest;
  Record scratch;
  for (int k = 0; k < 50000; ++k) {
    const std::uint64_t bits = random.Next();
    DoubleRealDisplayText(bits, scratch);
    digest.Add(scratch.View());
    DoubleRealDisplayText(RandomDoubleBits(random), scratch);
    digest.Add(scratch.View());
    SingleRealDisplayText(static_cast<std::uint32_t>(bits), scratch);
    digest.Add(scratch.View());
    LongIntegerDisplayText(static_cast<std::int32_t>(bits >> 32), scratch);
    digest.Add(scratch.View());
  }
  EXPECT_EQ(digest.value, 17312417446475600612u);
}

TEST(RuntimeAgreement, ParseResultsMatchTheRecordedDigest) {
  Random random{7};
  Digest digest;
  for (int k = 0; k < 50000; ++k) {
    const Record record = RandomField(random);
    std::int32_t longTarget = 0;
    double doubleTarget = 0;
    float singleTarget = 0;
    digest.AddValue(ParseRecord(record, IntegerReadFormat, longTarget));
    digest.AddValue(ParseRecord(record, RealReadFormat, doubleTarget));
    digest.AddValue(ParseRecord(record, RealReadFormat, singleTarget));
    digest.AddValue(longTarget);
    digest.AddValue(Bits(doubleTarget));
    digest.AddValue(Bits(singleTarget));
    // Typed numbers as a user writes them, through the digit path.
    const int count = 1 + random.Below(20);
    std::string typed = RandomDigits(random, count);
    typed.insert(static_cast<std::size_t>(random.Below(count + 1)), ".");
    if (random.Below(2) == 0) typed.insert(0, "-");
    typed += "E" + std::to_string(random.Below(640) - 320);
    if (typed.size() <= 30) {
      digest.AddValue(ParseRecord(TypedField(typed), RealReadFormat, doubleTarget));
      digest.AddValue(Bits(doubleTarget));
    }
  }
  EXPECT_EQ(digest.value, 8779793317793448982u);
}

}  // namespace

}  // namespace formreel
