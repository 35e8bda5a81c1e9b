// Composition: field layout, text and integer output, and the failures of
// both error modes.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "tests/text/record_test_support.h"
#include "text/record_format.h"

namespace formreel {

namespace {

using namespace std::string_literals;
using namespace record_test;

constexpr char AliasTail[] = " alias test\0\0";  // 11 characters and two NULs

TEST(OpenCommandLayout, FileNameRightJustifiedInThirtyColumnsOrCut) {
  const struct {
    std::string name;
    std::string expected;
  } rows[] = {
      {"CLIP01.AVI", "open " + Blanks(20) + "CLIP01.AVI" + " alias test\0"s + Blanks(33)},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789",
       "open ABCDEFGHIJKLMNOPQRSTUVWXYZ0123" + " alias test\0"s + Blanks(33)},
      {"", "open " + Blanks(30) + " alias test\0"s + Blanks(33)},
      {"A\0B"s, "open " + Blanks(27) + "A\0B"s + " alias test\0"s + Blanks(33)},
  };
  for (const auto& row : rows) {
    Record record(Repeat(80, 'x'));
    const RecordItem items[] = {RecordItem("open "), RecordItem(TextView(row.name)),
                                RecordItem(AliasTail)};
    ASSERT_EQ(ComposeRecord(record, OpenCommandFormat, items), RecordStatus::Ok);
    EXPECT_EQ(Str(record), row.expected) << row.name;
  }
}

TEST(OpenCommandLayout, NameTakenFromARangeOfAnotherRecord) {
  const Record name("MOVIE.AVI" + Blanks(21));
  Record command;
  ASSERT_EQ(ComposeRecord(command, OpenCommandFormat, {"open ", TextRange(name, 1, 9), AliasTail}),
            RecordStatus::Ok);
  EXPECT_EQ(Str(command), "open " + Blanks(21) + "MOVIE.AVI alias test\0"s + Blanks(33));
}

TEST(WindowCommandLayout, HandleRightJustifiedInTwelveColumns) {
  const struct {
    std::int32_t handle;
    std::string expected;
  } rows[] = {
      {1234, "window test handle" + Blanks(8) + "1234" + "\0"s + Blanks(49)},
      {-1, "window test handle" + Blanks(10) + "-1" + "\0"s + Blanks(49)},
      {0, "window test handle" + Blanks(11) + "0" + "\0"s + Blanks(49)},
      {-2147483647 - 1, "window test handle -2147483648\0"s + Blanks(49)},
  };
  for (const auto& row : rows) {
    Record record;
    ASSERT_EQ(
        ComposeRecord(record, WindowCommandFormat, {"window test handle", row.handle, "\0\0"}),
        RecordStatus::Ok);
    EXPECT_EQ(Str(record), row.expected) << row.handle;
  }
}

TEST(IntegerOutput, DigitsWithMinusOnlyAndAsterisksWhenTooLong) {
  const struct {
    FieldDescriptor descriptor;
    RecordItem item;
    std::string expected;
  } rows[] = {
      {IntegerOutput(8), std::int16_t{0}, "       0"},
      {IntegerOutput(8), std::int16_t{-32768}, "  -32768"},
      {IntegerOutput(8), std::int16_t{32767}, "   32767"},
      {IntegerOutput(18), std::int32_t{2147483647}, Right("2147483647", 18)},
      {IntegerOutput(18), std::int32_t{-2147483647 - 1}, Right("-2147483648", 18)},
      {IntegerOutput(6), std::int16_t{-32768}, "-32768"},
      {IntegerOutput(5), std::int16_t{-32768}, "*****"},
      {IntegerOutput(1), std::int32_t{10}, "*"},
      {IntegerOutput(1), std::int32_t{7}, "7"},
  };
  for (const auto& row : rows) {
    const RecordFormat format{"test", ErrorMode::Returned, {row.descriptor}, 1};
    Record record;
    ASSERT_EQ(ComposeRecord(record, format, {row.item}), RecordStatus::Ok);
    EXPECT_EQ(Str(record), row.expected + Blanks(80 - row.expected.size())) << row.item.integer;
  }
}

TEST(RecordLayout, FieldsFollowEachOtherAndTheRestIsBlank) {
  const RecordFormat format{
      "test", ErrorMode::Returned, {TextOutput(3), IntegerOutput(4), FixedPointOutput(6, 2)}, 3};
  Record record(Repeat(80, '#'));
  ASSERT_EQ(ComposeRecord(record, format, {"abcdef", std::int32_t{-5}, 2.5}), RecordStatus::Ok);
  EXPECT_EQ(Str(record), "abc  -5  2.50" + Blanks(67));
}

TEST(RecordLayout, ItemsMayComeFromTheRecordItself) {
  Record record("HELLO" + Blanks(75));
  ASSERT_EQ(ComposeRecord(record, OpenCommandFormat, {"open ", record.Range(1, 5), AliasTail}),
            RecordStatus::Ok);
  EXPECT_EQ(Str(record), "open " + Blanks(25) + "HELLO alias test\0"s + Blanks(33));
}

TEST(ComposeFailures, ReturnedStatusAndRecordUntouched) {
  const RecordFormat tooWide{"test", ErrorMode::Returned, {TextOutput(40), TextOutput(41)}, 2};
  const RecordFormat exactlyFull{"test", ErrorMode::Returned, {TextOutput(40), TextOutput(40)}, 2};
  const RecordFormat zeroWidth{"test", ErrorMode::Returned, {TextOutput(0)}, 1};
  const RecordFormat negativeDecimals{"test", ErrorMode::Returned, {FixedPointOutput(10, -1)}, 1};
  const RecordFormat manyDecimals{"test", ErrorMode::Returned, {FixedPointOutput(10, 81)}, 1};
  const struct {
    const RecordFormat& format;
    std::vector<RecordItem> items;
    RecordStatus expected;
  } rows[] = {
      {tooWide, {"a", "b"}, RecordStatus::FieldBeyondRecord},
      {exactlyFull, {"a", "b"}, RecordStatus::Ok},
      {zeroWidth, {"a"}, RecordStatus::BadDescriptor},
      {negativeDecimals, {1.0}, RecordStatus::BadDescriptor},
      {manyDecimals, {1.0}, RecordStatus::BadDescriptor},
      {OpenCommandFormat, {"open ", "x"}, RecordStatus::ItemCountMismatch},
      {OpenCommandFormat, {"open ", "x", "y", "z"}, RecordStatus::ItemCountMismatch},
      {OpenCommandFormat, {"open ", std::int32_t{1}, "y"}, RecordStatus::ItemTypeMismatch},
      {WindowCommandFormat, {"w", 1.0, "\0"}, RecordStatus::ItemTypeMismatch},
      {WindowCommandFormat, {"w", std::int16_t{1}, "\0"}, RecordStatus::Ok},
      {IntegerReadFormat, {std::int32_t{1}}, RecordStatus::ItemTypeMismatch},
      {RealReadFormat, {1.0}, RecordStatus::ItemTypeMismatch},
  };
  for (const auto& row : rows) {
    Record record(Repeat(80, 'q'));
    EXPECT_EQ(ComposeRecord(record, row.format, row.items), row.expected)
        << static_cast<int>(row.expected);
    if (row.expected != RecordStatus::Ok) {
      EXPECT_EQ(Str(record), Repeat(80, 'q'));
    }
  }
}

TEST(RecordStatusText, EveryFailureHasItsOwnDescription) {
  std::vector<std::string_view> seen;
  for (int k = 0; k <= static_cast<int>(RecordStatus::SecondRadixMark); ++k) {
    const std::string_view text = RecordStatusText(static_cast<RecordStatus>(k));
    EXPECT_NE(text, "unknown record status") << k;
    for (std::string_view other : seen) EXPECT_NE(text, other) << k;
    seen.push_back(text);
  }
  EXPECT_EQ(RecordStatusText(static_cast<RecordStatus>(99)), "unknown record status");
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
// A fatal format's status is never returned, so these statements discard it.
TEST(ComposeFailuresDeathTest, FatalFormatsReportNamingTheFormatAndEnd) {
  Record record;
  EXPECT_EXIT(std::ignore = ComposeRecord(record, NumberDisplayFormat, {1.0}),
              testing::ExitedWithCode(FatalExitStatus),
              "run-time error: NumberDisplayFormat: the items do not match the field descriptors "
              "in number");
  EXPECT_EXIT(std::ignore = ComposeRecord(record, ShortIntegerDisplayFormat, {1.0, "\0"}),
              testing::ExitedWithCode(FatalExitStatus),
              "ShortIntegerDisplayFormat: an item or target does not suit its field descriptor");
  const RecordFormat fatalRead{"FatalRead", ErrorMode::Fatal, {IntegerInput(30)}, 1};
  std::int32_t target = 0;
  EXPECT_EXIT(std::ignore = ParseRecord(Field("x"), fatalRead, target), testing::ExitedWithCode(FatalExitStatus),
              "FatalRead: the field holds a character its input rule does not accept");
}
#endif

}  // namespace

}  // namespace formreel
