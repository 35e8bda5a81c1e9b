// Real input: collection, syntax, significant digits, exponents, rounding
// to the nearest double and then single, and the range limits.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "tests/text/record_test_support.h"
#include "text/record_format.h"

namespace formreel {

namespace {

using namespace std::string_literals;
using namespace record_test;

constexpr double UntouchedDouble = 271.828;
constexpr float UntouchedSingle = 31.4159f;
constexpr double DoubleMax = std::numeric_limits<double>::max();
constexpr float SingleMax = std::numeric_limits<float>::max();

template <typename Real>
struct Row {
  std::string field;  // from column 1; columns after it are blank
  RecordStatus status;
  Real value;  // compared bit for bit, so -0 differs from 0
};

template <typename Real>
void Check(std::span<const Row<Real>> rows, Real untouched) {
  for (const Row<Real>& row : rows) {
    Real target = untouched;
    EXPECT_EQ(ParseRecord(Field(row.field), RealReadFormat, target), row.status) << row.field;
    const Real expected = row.status == RecordStatus::Ok ? row.value : untouched;
    EXPECT_EQ(Bits(target), Bits(expected)) << row.field << " gave " << target;
  }
}

void CheckDouble(std::span<const Row<double>> rows) { Check(rows, UntouchedDouble); }
void CheckSingle(std::span<const Row<float>> rows) { Check(rows, UntouchedSingle); }

TEST(RealInputSyntax, PointsSignsAndExponentMarkers) {
  const Row<double> rows[] = {
      {".5", RecordStatus::Ok, 0.5},
      {"0.5", RecordStatus::Ok, 0.5},
      {"-.5", RecordStatus::Ok, -0.5},
      {"+.5", RecordStatus::Ok, 0.5},
      {"1.5E3", RecordStatus::Ok, 1500},
      {"1.5e3", RecordStatus::Ok, 1500},
      {"1.5D3", RecordStatus::Ok, 1500},
      {"1.5d3", RecordStatus::Ok, 1500},
      {"1.5+3", RecordStatus::Ok, 1500},
      {"1.5E+3", RecordStatus::Ok, 1500},
      {"1.5-3", RecordStatus::Ok, 0.0015},
      {"1.5D-3", RecordStatus::Ok, 0.0015},
      {"15.E-1", RecordStatus::Ok, 1.5},
      {"1.+3", RecordStatus::Ok, 1000},
      {"-5", RecordStatus::Ok, -5},
      {"1.5E", RecordStatus::InvalidCharacter, 0},
      {"1.5E+", RecordStatus::InvalidCharacter, 0},
      {"1.5+", RecordStatus::InvalidCharacter, 0},
      {"1.5-+3", RecordStatus::InvalidCharacter, 0},  // a bare sign is the exponent's sign
      {"1.5E+-3", RecordStatus::InvalidCharacter, 0},
      {"1.5E3.0", RecordStatus::InvalidCharacter, 0},
      {"1.5E3E3", RecordStatus::InvalidCharacter, 0},
      {"1.2.3", RecordStatus::InvalidCharacter, 0},
      {"E5", RecordStatus::InvalidCharacter, 0},
      {"1.5x", RecordStatus::InvalidCharacter, 0},
      {"--5", RecordStatus::Ok, -0.0},  // "-0-5" once collected: -0 times 10^-5
      {"+-5", RecordStatus::Ok, 0.0},
      {"1#5", RecordStatus::InvalidCharacter, 0},
      {"1\0"s, RecordStatus::InvalidCharacter, 0},
  };
  CheckDouble(rows);
}

TEST(RealInputCollection, BlanksZerosAndFieldEnds) {
  const Row<double> rows[] = {
      {"", RecordStatus::Ok, 0.0},
      {Blanks(30), RecordStatus::Ok, 0.0},
      {".", RecordStatus::Ok, 0.0},
      {"+", RecordStatus::Ok, 0.0},
      {"-", RecordStatus::Ok, -0.0},
      {"-0", RecordStatus::Ok, -0.0},
      {"-0.000E7", RecordStatus::Ok, -0.0},
      {"-E5", RecordStatus::Ok, -0.0},  // "-0E5" once collected
      {"12,5", RecordStatus::Ok, 12},
      {"1 . 5", RecordStatus::Ok, 1.5},
      {"- 5", RecordStatus::Ok, -5},
      {"\t2\t", RecordStatus::Ok, 2},
      {"3\r4", RecordStatus::Ok, 3},
      {"3\n4", RecordStatus::Ok, 3},
      {"\x1a", RecordStatus::EndOfFileMark, 0},
      {"1.5\x1a", RecordStatus::EndOfFileMark, 0},
      {"1.5,\x1a", RecordStatus::Ok, 1.5},
      {"0.0000000000000000000000000001", RecordStatus::Ok, 1e-28},
  };
  CheckDouble(rows);
}

TEST(RealInputDigits, TwentyFiveSignificantDigitsAndTiesToEven) {
  const Row<double> rows[] = {
      {"9007199254740993", RecordStatus::Ok, 9007199254740992.0},            // tie: even below
      {"9007199254740995", RecordStatus::Ok, 9007199254740996.0},            // tie: even above
      {"9007199254740993.000000001", RecordStatus::Ok, 9007199254740994.0},  // 25 digits
      // 27 digits: the 26th and 27th are ignored, leaving the tie.
      {"9007199254740993.00000000001", RecordStatus::Ok, 9007199254740992.0},
      // Digits before the point beyond the 25th still count for the power.
      {"90071992547409930000000000.01", RecordStatus::Ok, 9.007199254740993e25},
      {"123456789012345678901234567890", RecordStatus::Ok, 1.2345678901234568e29},
      {"0.1", RecordStatus::Ok, 0.1},
      // Short texts some libraries round with a floating-point multiply.
      {"2635973351404253E12", RecordStatus::Ok, 2.635973351404253e27},
      {"2635973351404253000000000000.", RecordStatus::Ok, 2.635973351404253e27},
      {"1.7976931348623157e308", RecordStatus::Ok, DoubleMax},
      {"2.2250738585072014e-308", RecordStatus::Ok, 2.2250738585072014e-308},
  };
  CheckDouble(rows);
}

TEST(RealInputExponents, OverflowFailsUnderflowGivesSubnormalOrZero) {
  const Row<double> rows[] = {
      {"1E39", RecordStatus::Ok, 1e39},
      {"1E308", RecordStatus::Ok, 1e308},
      {"1E309", RecordStatus::ValueTooLarge, 0},
      {"1E400", RecordStatus::ValueTooLarge, 0},
      {"-1E400", RecordStatus::ValueTooLarge, 0},
      {"1.7976931348623159e308", RecordStatus::ValueTooLarge, 0},
      {"0.000000000000000000001e329", RecordStatus::Ok, 1e308},
      {"1e5201", RecordStatus::ValueTooLarge, 0},
      {"1e99999999999999999999", RecordStatus::ValueTooLarge, 0},
      {"0e99999999999999999999", RecordStatus::Ok, 0.0},
      {"1E-400", RecordStatus::Ok, 0.0},
      {"-1E-400", RecordStatus::Ok, -0.0},
      {"1e-99999999999999999999", RecordStatus::Ok, 0.0},
      {"4.9406564584124654e-324", RecordStatus::Ok, 0x1p-1074},
      {"2.4703282292062328e-324", RecordStatus::Ok, 0x1p-1074},
      {"2.4703282292062327e-324", RecordStatus::Ok, 0.0},
      {"2e-320", RecordStatus::Ok, 1.999977734365366e-320},
      {"-2e-320", RecordStatus::Ok, -1.999977734365366e-320},
  };
  CheckDouble(rows);
}

TEST(RealInputSingleTarget, RangeCheckThenNearestSingleTiesToEven) {
  const Row<float> rows[] = {
      {"1.5", RecordStatus::Ok, 1.5f},
      {"0.1", RecordStatus::Ok, 0.1f},
      {"-0", RecordStatus::Ok, -0.0f},
      {"3.4028234663852886e38", RecordStatus::Ok, SingleMax},
      {"3.402823466385289e38", RecordStatus::Ok, SingleMax},
      {"-3.402823466385289e38", RecordStatus::Ok, -SingleMax},
      {"3.4028234663852894e38", RecordStatus::OutOfTargetRange, 0},
      {"3.4028235e38", RecordStatus::OutOfTargetRange, 0},
      {"1E39", RecordStatus::OutOfTargetRange, 0},
      {"-1E39", RecordStatus::OutOfTargetRange, 0},
      {"1E400", RecordStatus::ValueTooLarge, 0},
      {"1E-400", RecordStatus::Ok, 0.0f},
      // 1 + 2^-24 and 1 + 3 * 2^-24 are exact doubles halfway between singles.
      {"1.000000059604644775390625", RecordStatus::Ok, 1.0f},
      {"1.000000178813934326171875", RecordStatus::Ok, 1.000000238418579f},
      // Just above the first tie, but its nearest double is the tie itself.
      {"1.0000000596046447753907", RecordStatus::Ok, 1.0f},
      {"1.4e-45", RecordStatus::Ok, std::numeric_limits<float>::denorm_min()},
      {"2.2e-45", RecordStatus::Ok, 2 * std::numeric_limits<float>::denorm_min()},
      {"7e-46", RecordStatus::Ok, 0.0f},
      {"-7e-46", RecordStatus::Ok, -0.0f},
      {"x", RecordStatus::InvalidCharacter, 0},
  };
  CheckSingle(rows);
}

TEST(RealInputColumns, OnlyTheFirstThirtyColumnsAreRead) {
  const Row<double> rows[] = {
      {Blanks(27) + "1.5" + "E9", RecordStatus::Ok, 1.5},
      {Blanks(27) + "1.5" + "\x1a", RecordStatus::Ok, 1.5},
      {Blanks(26) + "1.5E" + "3", RecordStatus::InvalidCharacter, 0},
      {Blanks(30) + "7", RecordStatus::Ok, 0.0},
  };
  CheckDouble(rows);
}

TEST(RealInputFormats, OnlyARealInputDescriptorReadsAReal) {
  double value = UntouchedDouble;
  EXPECT_EQ(ParseRecord(Field("1"), IntegerReadFormat, value), RecordStatus::ItemTypeMismatch);
  const RecordFormat narrow{"narrow", ErrorMode::Returned, {RealInput(2)}, 1};
  EXPECT_EQ(ParseRecord(Field("1.5"), narrow, value), RecordStatus::Ok);
  EXPECT_EQ(value, 1.0);
  float single = UntouchedSingle;
  EXPECT_EQ(ParseRecord(Field("1"), OpenCommandFormat, single), RecordStatus::ItemTypeMismatch);
  EXPECT_EQ(single, UntouchedSingle);
}

}  // namespace

}  // namespace formreel
