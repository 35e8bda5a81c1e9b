// The display text of number fields: format chosen by magnitude, then cleaned.
#include "text/display_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tests/text/record_test_support.h"

namespace formreel {

namespace {

using namespace record_test;

constexpr float Bound = LargeNumberBound;

template <typename Value>
struct Row {
  Value value;
  std::string expected;
};

template <typename Value, typename Display>
void CheckRows(std::span<const Row<Value>> rows, Display display) {
  for (const Row<Value>& row : rows) {
    Record scratch(Repeat(80, 'z'));
    display(row.value, scratch);
    EXPECT_EQ(Terminated(scratch), row.expected) << row.value;
    EXPECT_EQ(scratch(static_cast<int>(row.expected.size()) + 1), '\0') << row.value;
  }
}

TEST(IntegerDisplayText, DigitsWithoutLeadingBlanks) {
  const Row<std::int16_t> shorts[] = {{42, "42"}, {0, "0"}, {-32768, "-32768"}, {32767, "32767"}};
  CheckRows<std::int16_t>(shorts, ShortIntegerDisplayText);
  const Row<std::int32_t> longs[] = {
      {42, "42"}, {-1, "-1"}, {2147483647, "2147483647"}, {-2147483647 - 1, "-2147483648"}};
  CheckRows<std::int32_t>(longs, LongIntegerDisplayText);
}

TEST(IntegerDisplayText, LeavesTheBlanksMovedInBeforeTheNul) {
  Record scratch(Repeat(80, 'z'));
  ShortIntegerDisplayText(42, scratch);
  // Composed "      42" NUL and blanks; six blanks removed, NULs fill to 31.
  EXPECT_EQ(Str(scratch),
            "42" + std::string(1, '\0') + Blanks(21) + std::string(7, '\0') + Blanks(49));
}

TEST(SingleDisplayText, FormatByMagnitudeThenTrimmed) {
  const Row<float> rows[] = {
      {0.5f, ".5"},
      {-0.25f, "-.25"},
      {0.0f, "0.0"},
      {-0.0f, "0.0"},
      {5.0f, "5."},
      {123.456f, "123.456"},
      {1.5e13f, "15000000000000."},
      {0.3f, ".3"},
      {1e-30f, "0.0"},
      {1.0f, "1."},  // not a fraction: strict bound
      {-1.0f, "-1."},
      {0.99999994f, ".9999999"},                          // the largest single below 1
      {Bound, "10000000000000."},                         // NumberDisplayFormat, 14 digits fit
      {-Bound, Repeat(29, '*')},                          // and with a sign they do not
      {std::nextafter(Bound, 1e30f), "10000000000000."},  // LargeNumberDisplayFormat
      {1e28f, "9999999000000000000000000000."},
      {-1e27f, Repeat(29, '*')},
      {-1e26f, "-100000000000000000000000000."},
      {std::numeric_limits<float>::infinity(), "1#INF" + Repeat(24, '.')},
      {std::numeric_limits<float>::quiet_NaN(), "1#QNAN" + Repeat(23, '.')},
  };
  CheckRows<float>(rows, SingleDisplayText);
}

TEST(DoubleDisplayText, SameBoundsInDoublePrecision) {
  const Row<double> rows[] = {
      {0.5, ".5"},
      {-0.25, "-.25"},
      {0.0, "0.0"},
      {0.1, ".1"},
      {123.456, "123.456"},
      {1.5e13, "15000000000000."},
      {9999999827968.0, "9999999827968."},  // the bound itself: NumberDisplayFormat
      {-9999999827968.0, "-9999999827968."},
      {9999999827968.5, "9999999827969."},  // above the bound: no decimals
      {9999999827967.5, "9999999827967.5"},
      {1 - 0x1p-53, ".9999999999999999"},
      {-1 + 0x1p-53, "-.9999999999999999"},
      {1e-27, "." + Zeros(26) + "1"},
      {6e-28, "." + Zeros(26) + "1"},
      {1e-28, "0.0"},
      {1e-30, "0.0"},
      {1e28, Repeat(29, '*')},
      {12345.678901234567, "12345.67890123457"},
      {-std::numeric_limits<double>::infinity(), "1#INF" + Repeat(24, '.')},
  };
  CheckRows<double>(rows, DoubleDisplayText);
}

}  // namespace

}  // namespace formreel
