// Integer input: collection, decimal and radix forms, and the targets' ranges.
#include <gtest/gtest.h>

#include <string>

#include "tests/text/record_test_support.h"
#include "text/record_format.h"

namespace formreel {

namespace {

using namespace std::string_literals;
using namespace record_test;

constexpr std::int32_t Untouched = 0x5A5A5A5A;
constexpr std::int16_t UntouchedShort = 0x5A5A;

struct Row {
  std::string field;  // from column 1; columns after it are blank
  RecordStatus status;
  std::int32_t value;
};

// Parses each row into a long target, checking that failure leaves it alone.
void CheckLong(std::span<const Row> rows) {
  for (const Row& row : rows) {
    std::int32_t target = Untouched;
    EXPECT_EQ(ParseRecord(Field(row.field), IntegerReadFormat, target), row.status) << row.field;
    EXPECT_EQ(target, row.status == RecordStatus::Ok ? row.value : Untouched) << row.field;
  }
}

TEST(IntegerInputCollection, BlanksTabsCommasLineEndsAndCode26) {
  const Row rows[] = {
      {"   -12", RecordStatus::Ok, -12},
      {"1 2 3", RecordStatus::Ok, 123},
      {"\t7\t", RecordStatus::Ok, 7},
      {"12,5", RecordStatus::Ok, 12},
      {"12\r34", RecordStatus::Ok, 12},
      {"12\n34", RecordStatus::Ok, 12},
      {"12,\x1a", RecordStatus::Ok, 12},  // not read after the comma
      {"", RecordStatus::Ok, 0},
      {",99", RecordStatus::Ok, 0},
      {"\x1a", RecordStatus::EndOfFileMark, 0},
      {"12\x1a", RecordStatus::EndOfFileMark, 0},
      {"1\0"s, RecordStatus::InvalidCharacter, 0},
      {"0000000000000000000000000042", RecordStatus::Ok, 42},
      {"- 0 0 7", RecordStatus::Ok, -7},
  };
  CheckLong(rows);
}

TEST(IntegerInputDecimal, SignDigitsAndTheLimit) {
  const Row rows[] = {
      {"+5", RecordStatus::Ok, 5},
      {"-", RecordStatus::Ok, 0},
      {"+", RecordStatus::Ok, 0},
      {"2147483647", RecordStatus::Ok, 2147483647},
      {"-2147483647", RecordStatus::Ok, -2147483647},
      {"2147483648", RecordStatus::ValueTooLarge, 0},
      {"-2147483648", RecordStatus::ValueTooLarge, 0},
      {"99999999999999999999", RecordStatus::ValueTooLarge, 0},
      {"+-5", RecordStatus::InvalidCharacter, 0},
      {"5-", RecordStatus::InvalidCharacter, 0},
      {"1.0", RecordStatus::InvalidCharacter, 0},
      {"1E3", RecordStatus::InvalidCharacter, 0},
      {"x", RecordStatus::InvalidCharacter, 0},
      {"12a", RecordStatus::InvalidCharacter, 0},
  };
  CheckLong(rows);
}

TEST(IntegerInputRadix, RadixDigitsLimitsAndFailures) {
  const Row rows[] = {
      {"16#FF", RecordStatus::Ok, 255},
      {"#ff", RecordStatus::Ok, 255},
      {"0#10", RecordStatus::Ok, 16},    // the leading 0 is dropped: no radix digits
      {"-0#10", RecordStatus::Ok, -16},  // radix 0 means 16
      {"2#1010", RecordStatus::Ok, 10},
      {"8#777", RecordStatus::Ok, 511},
      {"36#zZ", RecordStatus::Ok, 1295},
      {"10#2147483647", RecordStatus::Ok, 2147483647},
      {"10#2147483648", RecordStatus::ValueTooLarge, 0},
      {"16#FFFFFFFF", RecordStatus::Ok, -1},
      {"16#80000000", RecordStatus::Ok, -2147483647 - 1},
      {"-16#80000000", RecordStatus::Ok, -2147483647 - 1},  // negation modulo 2^32
      {"-16#FFFFFFFF", RecordStatus::Ok, 1},
      {"-16#1", RecordStatus::Ok, -1},
      {"36#ZZZZZZ", RecordStatus::Ok, -2118184961},           // 2176782335 as signed
      {"2#" + Repeat(32, '1'), RecordStatus::Ok, 268435455},  // 28 ones up to column 30
      {"16#100000000", RecordStatus::ValueTooLarge, 0},
      {"#", RecordStatus::Ok, 0},
      {"2#", RecordStatus::Ok, 0},
      {"2#102", RecordStatus::InvalidCharacter, 0},
      {"16#G", RecordStatus::InvalidCharacter, 0},
      {"16#-1", RecordStatus::InvalidCharacter, 0},
      {"37#1", RecordStatus::BadRadix, 0},
      {"1#1", RecordStatus::BadRadix, 0},
      {"1#", RecordStatus::BadRadix, 0},
      {"16#F#F", RecordStatus::SecondRadixMark, 0},
      {"##", RecordStatus::SecondRadixMark, 0},
      {"99999999999#1", RecordStatus::ValueTooLarge, 0},
  };
  CheckLong(rows);
}

TEST(IntegerInputShortTarget, AcceptsOnlyMinus32767To32767) {
  const Row rows[] = {
      {"32767", RecordStatus::Ok, 32767},
      {"-32767", RecordStatus::Ok, -32767},
      {"32768", RecordStatus::OutOfTargetRange, 0},
      {"-32768", RecordStatus::OutOfTargetRange, 0},
      {"16#FFFF", RecordStatus::OutOfTargetRange, 0},
      {"16#FFFFFFFF", RecordStatus::Ok, -1},
      {"2147483648", RecordStatus::ValueTooLarge, 0},
      {"", RecordStatus::Ok, 0},
  };
  for (const Row& row : rows) {
    std::int16_t target = UntouchedShort;
    EXPECT_EQ(ParseRecord(Field(row.field), IntegerReadFormat, target), row.status) << row.field;
    EXPECT_EQ(target, row.status == RecordStatus::Ok ? row.value : UntouchedShort) << row.field;
  }
}

TEST(IntegerInputColumns, OnlyTheFirstThirtyColumnsAreRead) {
  const Row rows[] = {
      {Blanks(29) + "7" + "9", RecordStatus::Ok, 7},
      {Blanks(29) + "7" + "x\x1a#", RecordStatus::Ok, 7},
      {Blanks(30) + "123", RecordStatus::Ok, 0},
      {Zeros(29) + "1" + "2", RecordStatus::Ok, 1},
      {"16#" + Blanks(27) + "FF", RecordStatus::Ok, 0},
  };
  CheckLong(rows);
}

TEST(IntegerInputFormats, OnlyAnIntegerInputDescriptorReadsAnInteger) {
  const RecordFormat narrow{"narrow", ErrorMode::Returned, {IntegerInput(3)}, 1};
  const RecordFormat wide{"wide", ErrorMode::Returned, {IntegerInput(31)}, 1};
  const RecordFormat empty{"empty", ErrorMode::Returned, {}, 0};
  const struct {
    const RecordFormat& format;
    RecordStatus status;
    std::int32_t value;
  } rows[] = {
      {narrow, RecordStatus::Ok, 123},
      {wide, RecordStatus::BadDescriptor, 0},
      {empty, RecordStatus::ItemCountMismatch, 0},
      {RealReadFormat, RecordStatus::ItemTypeMismatch, 0},
  };
  for (const auto& row : rows) {
    std::int32_t target = Untouched;
    EXPECT_EQ(ParseRecord(Field("12345"), row.format, target), row.status) << row.format.name;
    EXPECT_EQ(target, row.status == RecordStatus::Ok ? row.value : Untouched) << row.format.name;
  }
}

}  // namespace

}  // namespace formreel
