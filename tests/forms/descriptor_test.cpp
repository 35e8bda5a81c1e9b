#include "forms/core/descriptor.h"

#include <gtest/gtest.h>

#include <string>

namespace formreel {

namespace {

using namespace std::string_literals;

struct CountCase {
  std::string text;  // handed over with length text.size()
  int fieldCount, textLineCount, descriptorLength;
};

TEST(NormaliseDescriptorTest, CountsFieldsLinesAndLength) {
  const CountCase cases[] = {
      {"CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s, 1, 0, 41},
      {"SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|hOOPS! Chose Next Action|\0"s,
       1, 0, 96},
      {"\0"s, 0, 0, 0},
      {"THELLO\\WORLD\\|HA HEADING|\0"s, 0, 2, 25},
      {"tline\\|\0"s, 0, 1, 7},
      {"CA^|IB^|LC^|\0"s, 3, 0, 12},
      {"CA^|TX\\|IB^|\0"s, 2, 1, 12},
      {"cA^|ib^|\0"s, 2, 0, 8},
      {"CA^\0"s, 0, 0, 3},              // no closing "|": not counted
      {"CA^|\0IB^|"s, 1, 0, 4},         // counting stops at the NUL
  };
  for (const CountCase& c : cases) {
    FixedText<DescriptorCapacity> descriptor;
    const DescriptorCounts counts =
        NormaliseDescriptor(c.text.data(), static_cast<std::int32_t>(c.text.size()), descriptor);
    EXPECT_EQ(counts.fieldCount, c.fieldCount) << c.text;
    EXPECT_EQ(counts.textLineCount, c.textLineCount) << c.text;
    EXPECT_EQ(counts.descriptorLength, c.descriptorLength) << c.text;
  }
}

TEST(NormaliseDescriptorTest, RaisesItemLettersOnly) {
  const std::string text = "sNext^a^|hheading|\0"s;
  FixedText<DescriptorCapacity> descriptor;
  NormaliseDescriptor(text.data(), static_cast<std::int32_t>(text.size()), descriptor);
  EXPECT_EQ(std::string(descriptor.View().substr(0, text.size())), "SNext^a^|Hheading|\0"s);
  EXPECT_EQ(descriptor(DescriptorCapacity), ' ');
}

TEST(NormaliseDescriptorTest, RaisingFollowsTheCodeRule) {
  EXPECT_EQ(RaiseLetter('a'), 'A');
  EXPECT_EQ(RaiseLetter('z'), 'Z');
  EXPECT_EQ(RaiseLetter('|'), '\\');
  EXPECT_EQ(RaiseLetter('~'), '^');
  EXPECT_EQ(RaiseLetter('\x7F'), '_');
  EXPECT_EQ(RaiseLetter('`'), '`');
  EXPECT_EQ(RaiseLetter('\xE9'), '\xE9');
}

TEST(NormaliseDescriptorTest, LengthWithOrWithoutTheNulGivesTheSameForm) {
  const std::string withNul = "CNAME^|\0"s;
  const std::string padded = "CNAME^|";
  FixedText<DescriptorCapacity> a, b;
  const auto ca = NormaliseDescriptor(withNul.data(), 8, a);
  const auto cb = NormaliseDescriptor(padded.data(), 7, b);
  EXPECT_EQ(ca.fieldCount, cb.fieldCount);
  EXPECT_EQ(ca.textLineCount, cb.textLineCount);
  EXPECT_EQ(ca.fieldCount, 1);
  // Without a NUL the descriptor runs to 1999, the rest being inert blanks.
  EXPECT_EQ(ca.descriptorLength, 7);
  EXPECT_EQ(cb.descriptorLength, 1999);
  EXPECT_EQ(a.View().substr(0, 7), b.View().substr(0, 7));
}

TEST(NormaliseDescriptorTest, TakesAtMost2000Characters) {
  std::string text(2500, 'x');
  text[0] = 'T';
  text[1998] = '|';
  text[1999] = 'c';  // raised, position 2000
  FixedText<DescriptorCapacity> descriptor;
  const auto counts = NormaliseDescriptor(text.data(), 2500, descriptor);
  EXPECT_EQ(descriptor(2000), 'C');
  EXPECT_EQ(counts.descriptorLength, 1999);
  EXPECT_EQ(counts.fieldCount, 0);  // one "|" before C, less one for the leading T

  FixedText<DescriptorCapacity> empty;
  EXPECT_EQ(NormaliseDescriptor(text.data(), -5, empty).descriptorLength, 1999);
  EXPECT_EQ(empty(1), ' ');
}

}  // namespace

}  // namespace formreel
