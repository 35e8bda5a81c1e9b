// Fixed-point output: the 17-digit expansion, the second rounding to at most
// 7 or 16 significant digits, and the text around it.
#include "text/fixed_point_output.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "tests/text/record_test_support.h"
#include "text/decimal_digits.h"
#include "text/record_format.h"

namespace formreel {

namespace {

using namespace record_test;

constexpr FieldDescriptor Fraction = FixedPointOutput(29, 27);
constexpr FieldDescriptor Number = FixedPointOutput(29, 14);
constexpr FieldDescriptor Large = FixedPointOutput(29, 0);

// The field as composed alone, NUL item and blank tail checked on the way.
std::string Compose(const FieldDescriptor& descriptor, const RecordItem& item) {
  const RecordFormat format{"test", ErrorMode::Returned, {descriptor, TextOutput(1)}, 2};
  Record record;
  EXPECT_EQ(ComposeRecord(record, format, {item, "\0"}), RecordStatus::Ok);
  const std::string all = Str(record);
  const auto width = static_cast<std::size_t>(descriptor.width);
  EXPECT_EQ(all.substr(width), std::string(1, '\0') + Blanks(79 - width));
  return all.substr(0, width);
}

struct Row {
  FieldDescriptor descriptor;
  RecordItem item;
  std::string expected;
};

void CheckRows(std::span<const Row> rows) {
  for (const Row& row : rows)
    EXPECT_EQ(Compose(row.descriptor, row.item), row.expected)
        << "bits " << std::hex << row.item.realBits << " decimals " << row.descriptor.decimals;
}

TEST(FixedPointFraction, SmallValuesSignsAndZeros) {
  const Row rows[] = {
      {Fraction, 0.5, " .5" + Zeros(26)},
      {Fraction, -0.5, "-.5" + Zeros(26)},
      {Fraction, 1e-30, " ." + Zeros(27)},
      {Fraction, -1e-30, " ." + Zeros(27)},
      {Fraction, 6e-28, " ." + Zeros(26) + "1"},  // r = 0, rounds up to one digit
      {Fraction, -5e-28, "-." + Zeros(26) + "1"},
      {Fraction, -4e-28, " ." + Zeros(27)},  // r = 0, rounds to zero: no sign
      {Fraction, 0.0, " ." + Zeros(27)},
      {Fraction, -0.0, " ." + Zeros(27)},
      {Fraction, 5e-324, " ." + Zeros(27)},
      {Fraction, std::numeric_limits<float>::denorm_min(), " ." + Zeros(27)},
  };
  CheckRows(rows);
}

TEST(FixedPointFraction, KeepsSevenOrSixteenSignificantDigits) {
  const Row rows[] = {
      {Fraction, 0.3f, " .3" + Zeros(26)},  // exactly .300000011920928955078125
      {Fraction, 0.1, " .1" + Zeros(26)},   // exactly .1000000000000000055511...
      {Fraction, 0.099999999999999992, " .09999999999999999" + Zeros(10)},
      // 1 - 2^-53: 99999999999999989 at 17 digits, sixteen nines at 16.
      {Fraction, 0.99999999999999989, " .9999999999999999" + Zeros(11)},
      {Fraction, 0.6250000000000004, " .6250000000000004" + Zeros(11)},  // digit 17 is 4
      {Fraction, 0.6250000000000016, " .6250000000000016" + Zeros(11)},  // digit 17 is 5
      {Fraction, 0.6250000000000009, " .6250000000000009" + Zeros(11)},  // digit 17 is 9
      // Exactly .75000000000000754951...: 17 digits end in 55, so the second
      // rounding goes up where rounding the exact value once would not.
      {Fraction, 0.7500000000000075, " .7500000000000076" + Zeros(11)},
      {Fraction, 0.01f, " .01" + Zeros(25)},  // .0099999997764825821: carry through seven nines
      {Fraction, 1e-23f, " ." + Zeros(22) + "1" + Zeros(4)},  // carry at r = 4
      {Fraction, 99999.9921875f, Repeat(29, '*')},
  };
  CheckRows(rows);
}

TEST(FixedPointNumber, RoundingAtDigitEightOfASingle) {
  const Row rows[] = {
      {Number, 5.0, Right("5." + Zeros(14), 29)},
      {Number, 123.456f, Right("123.45600000000000", 29)},
      {Number, 1.0000004768371582f, Right("1.00000000000000", 29)},  // digit 8 is 4
      {Number, 1.0000005960464478f, Right("1.00000100000000", 29)},  // digit 8 is 5
      {Number, 1.0000009536743164f, Right("1.00000100000000", 29)},  // digit 8 is 9
      {Number, -1.0000009536743164f, Right("-1.00000100000000", 29)},
      {Number, 1e11f, "  100000000000." + Zeros(14)},             // 99999997952: carry adds a digit
      {Number, 9999999827968.0f, "10000000000000." + Zeros(14)},  // 14 digits fit
      {Number, -9999999827968.0f, Repeat(29, '*')},               // with the sign they do not
      {Number, 9999999827968.0, " 9999999827968." + Zeros(14)},
      {Number, -1e-14, Right("-.00000000000001", 29)},
      {Number, -5e-15, Right("-.00000000000001", 29)},
      {Number, -4e-15, Right(".00000000000000", 29)},
      {Number, 1.2500000000000075, Right("1.25000000000001", 29)},  // double, r = 15
  };
  CheckRows(rows);
}

TEST(FixedPointLarge, NoDecimalsAndAsterisksBeyondTheWidth) {
  const Row rows[] = {
      {Large, 9.5e13f, Right("95000000000000.", 29)},
      {Large, 1.5e13f, Right("15000000000000.", 29)},
      {Large, 1.5e13, Right("15000000000000.", 29)},
      {Large, 1e28, Repeat(29, '*')},
      {Large, 1e28f, "9999999" + Zeros(21) + "."},  // 9.999999442e27 fits exactly
      {Large, -1e27, Repeat(29, '*')},
      {Large, -1e27f, Repeat(29, '*')},
      {Large, 1e300, Repeat(29, '*')},
      {Large, std::numeric_limits<double>::max(), Repeat(29, '*')},
      {Large, std::numeric_limits<float>::max(), Repeat(29, '*')},
      {Large, 9.0, Right("9.", 29)},
      {Large, 0.4, Right("0.", 29)},  // i = 0, t = 0: the lone 0
      {Large, 0.5, Right("1.", 29)},  // r = 0 rounds up
      {Large, -0.5, Right("-1.", 29)},
      {Large, -0.3, Right("0.", 29)},
      {Large, 0.04, Right("0.", 29)},
      {Large, 0.0, Right("0.", 29)},
      {Large, -0.0, Right("0.", 29)},
  };
  CheckRows(rows);
}

TEST(FixedPointNonFinite, MarkersFollowedByPointsWithoutSign) {
  const std::uint64_t quiet = 0x7FF8000000000001, signalling = 0x7FF0000000000001;
  const std::uint64_t indefinite = 0xFFF8000000000000, negativeQuiet = 0xFFF8000000000001;
  const Row rows[] = {
      {Number, std::numeric_limits<double>::infinity(), "1#INF" + Repeat(24, '.')},
      {Large, -std::numeric_limits<double>::infinity(), "1#INF" + Repeat(24, '.')},
      {Fraction, -std::numeric_limits<float>::infinity(), "1#INF" + Repeat(24, '.')},
      {Number, RecordItem::DoubleBits(indefinite), "1#IND" + Repeat(24, '.')},
      {Number, RecordItem::DoubleBits(signalling), "1#SNAN" + Repeat(23, '.')},
      {Number, RecordItem::DoubleBits(quiet), "1#QNAN" + Repeat(23, '.')},
      {Number, RecordItem::DoubleBits(negativeQuiet), "1#QNAN" + Repeat(23, '.')},
      {Number, RecordItem::DoubleBits(0x7FF8000000000000), "1#QNAN" + Repeat(23, '.')},
      // A single real is widened first: signalling becomes quiet, and the
      // single indefinite becomes the double indefinite.
      {Number, RecordItem::SingleBits(0x7F800001), "1#QNAN" + Repeat(23, '.')},
      {Number, RecordItem::SingleBits(0xFFC00000), "1#IND" + Repeat(24, '.')},
      {Number, RecordItem::SingleBits(0xFFC00001), "1#QNAN" + Repeat(23, '.')},
      {FixedPointOutput(4, 2), RecordItem::DoubleBits(quiet), "1#QN"},
      {FixedPointOutput(1, 0), std::numeric_limits<double>::infinity(), "1"},
  };
  CheckRows(rows);
}

TEST(FixedPointNarrowFields, TextExactlyAsWideFitsOneMoreIsAsterisks) {
  const Row rows[] = {
      {FixedPointOutput(4, 1), -1.25, "-1.3"},
      {FixedPointOutput(3, 1), -1.25, "***"},
      {FixedPointOutput(2, 1), 0.25, ".3"},
      {FixedPointOutput(1, 0), 0.25, "*"},  // "0." is two characters
      {FixedPointOutput(2, 0), 0.25, "0."},
      {FixedPointOutput(1, 0), 0.0, "*"},
      {FixedPointOutput(79, 77), 1.0f, "1." + Zeros(77)},
  };
  CheckRows(rows);
}

TEST(WidenSingle, ExactForNumbersQuietForNaNs) {
  EXPECT_EQ(WidenSingle(Bits(0.1f)), Bits(static_cast<double>(0.1f)));
  EXPECT_EQ(WidenSingle(Bits(-0.0f)), Bits(-0.0));
  EXPECT_EQ(WidenSingle(0x00000001), Bits(0x1p-149));
  EXPECT_EQ(WidenSingle(0x7F800000), Bits(std::numeric_limits<double>::infinity()));
  EXPECT_EQ(WidenSingle(0x7F800001), 0x7FF8000020000000u);
  EXPECT_EQ(WidenSingle(0xFFC00000), 0xFFF8000000000000u);
  EXPECT_EQ(WidenSingle(0x7FBFFFFF), 0x7FFFFFFFE0000000u);
}

TEST(DecimalExpansion, SeventeenDigitsAndTheExponent) {
  const struct {
    double x;
    std::string digits;
    int exponent;
  } rows[] = {
      {0.1, "10000000000000001", 0},
      {1 - 0x1p-53, "99999999999999989", 0},
      {1.0, "1", 1},
      {1234.5, "12345", 4},
      {0.0, "0", 0},
      {-0x1p-15, "30517578125", -4},
      {5e-324, "49406564584124654", -323},
      {1.7976931348623157e308, "17976931348623157", 309},
      {0x1p59, "57646075230342349", 18},  // 576460752303423488 rounded up
  };
  for (const auto& row : rows) {
    const DecimalExpansion e = ExpandDecimal(row.x);
    EXPECT_EQ(std::string(e.digits.data(), static_cast<std::size_t>(e.count)), row.digits) << row.x;
    EXPECT_EQ(e.exponent, row.exponent) << row.x;
  }
}

// The exact integer expansion against the library's correctly rounded
// 17-digit scientific text, over random bit patterns of every magnitude and
// the neighbours of powers of ten.
TEST(DecimalExpansion, AgreesWithTheLibrarysSeventeenDigits) {
  std::uint64_t state = 11;
  const auto next = [&state] {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
  };
  std::vector<double> values;
  for (int k = 0; k < 200000; ++k) values.push_back(std::bit_cast<double>(next()));
  for (int p = -323; p <= 308; ++p) {
    const double power = std::strtod(("1e" + std::to_string(p)).c_str(), nullptr);
    values.insert(values.end(), {power, std::nextafter(power, 0.0),
                                 std::nextafter(power, std::numeric_limits<double>::infinity())});
  }
  values.insert(values.end(), {5e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 0x1p59});
  for (const double x : values) {
    if (!std::isfinite(x) || x == 0) continue;
    std::array<char, 40> text;
    const auto end = std::to_chars(text.data(), text.data() + text.size(), std::fabs(x),
                                   std::chars_format::scientific, 16)
                         .ptr;
    std::string digits = text[0] + std::string(text.data() + 2, 16);
    digits.erase(digits.find_last_not_of('0') + 1);
    const char* exponentText = text.data() + 19;
    int exponent = 0;
    std::from_chars(exponentText + (*exponentText == '+' ? 1 : 0), end, exponent);
    const DecimalExpansion e = ExpandDecimal(x);
    ASSERT_EQ(std::string(e.digits.data(), static_cast<std::size_t>(e.count)), digits) << x;
    ASSERT_EQ(e.exponent, exponent + 1) << x;
    const int estimate = EstimateDecimalExponent(x);
    ASSERT_TRUE(estimate == e.exponent || estimate + 1 == e.exponent || estimate - 1 == e.exponent)
        << x;
  }
}

}  // namespace

}  // namespace formreel
