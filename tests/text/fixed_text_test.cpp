#include "text/fixed_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace formreel {

namespace {

using namespace std::string_literals;

template <std::size_t N>
std::string Str(const FixedText<N>& text) {
  return std::string(text.View());
}

TEST(FixedTextConstruction, BlankPadsAndCuts) {
  EXPECT_EQ(Str(FixedText<5>()), "     ");
  EXPECT_EQ(Str(FixedText<5>("AB")), "AB   ");
  EXPECT_EQ(Str(FixedText<5>("ABCDEFG")), "ABCDE");
  EXPECT_EQ(Str(FixedText<3>("\0x"s)), "\0x "s);
}

struct AssignCase {
  std::string destination;
  int dFirst, dLast;
  std::string source;
  int sFirst, sLast;
  std::string expected;
};

TEST(AssignTextTest, BlankFillsTruncatesAndTreatsNulAsACharacter) {
  const AssignCase cases[] = {
      {"xxxxx", 1, 5, "AB", 1, 2, "AB   "},
      {"xxxxx", 1, 2, "ABCDE", 1, 5, "ABxxx"},
      {"xxxxx", 2, 4, "ABCDE", 3, 3, "xC  x"},
      {"xxxxx", 1, 5, "ABCDE", 3, 2, "     "},   // empty source: all blanks
      {"xxxxx", 3, 2, "ABCDE", 1, 5, "xxxxx"},   // empty destination: unchanged
      {"xxxxx", 5, 5, "\0\0\0\0"s, 1, 4, "xxxx\0"s},
      {"xxxxx", 6, 5, "AB", 1, 2, "xxxxx"},      // empty range just past the end
  };
  for (const AssignCase& c : cases) {
    FixedText<5> destination(c.destination);
    FixedText<5> source(c.source);
    AssignText(destination, c.dFirst, c.dLast, source, c.sFirst, c.sLast);
    EXPECT_EQ(Str(destination), c.expected) << c.source << " " << c.dFirst << ".." << c.dLast;
  }
}

TEST(AssignTextTest, FromAConstant) {
  FixedText<8> destination("xxxxxxxx");
  AssignText(destination.Range(2, 6), "open ");
  EXPECT_EQ(Str(destination), "xopen xx");
}

TEST(TextRangeTest, YieldsLocationAndLength) {
  const FixedText<6> text("ABCDEF");
  const TextView range = TextRange(text, 2, 4);
  EXPECT_EQ(std::string_view(range.data(), range.size()), "BCD");
  EXPECT_EQ(TextRange(text, 4, 3).size(), 0u);
  EXPECT_EQ(TextRange(text, 7, 6).size(), 0u);
}

struct CompareCase {
  std::string a, b;
  int expected;
};

TEST(CompareTextTest, UnsignedWithBlankExtension) {
  const CompareCase cases[] = {
      {"AB", "AB", 0},
      {"AB", "AB   ", 0},
      {"AB   ", "AB", 0},
      {"AB", "AB\0"s, -1},
      {"AB\0"s, "AB", 1},
      {"AB", "AB  C", -1},
      {"AB", "AB \x01", -1},
      {"a", "B", 1},
      {"\xC8", "\x7F", 1},
      {"\x7F", "\xC8", -1},
      {"", "", 0},
      {"", "   ", 0},
      {"", "\0"s, -1},
      {"A", "\0\0\0\0"s, 1},
      {"\0"s, "\0\0\0\0"s, -1},
      {" ", "\0\0\0\0"s, 1},
  };
  for (const CompareCase& c : cases) {
    const TextView a(c.a.data(), c.a.size()), b(c.b.data(), c.b.size());
    EXPECT_EQ(CompareText(a, b), c.expected) << '"' << c.a << "\" vs \"" << c.b << '"';
    EXPECT_EQ(TextEqual(a, b), c.expected == 0);
    EXPECT_EQ(TextNotEqual(a, b), c.expected != 0);
  }
}

TEST(CompareTextTest, NoOneCharacterRangeEqualsFourNuls) {
  const std::string nuls = "\0\0\0\0"s;
  for (int code = 0; code < 256; ++code) {
    const char c = static_cast<char>(code);
    EXPECT_TRUE(TextNotEqual(TextView(&c, 1), TextView(nuls.data(), 4))) << code;
  }
}

struct BridgeCase {
  std::string before;
  std::string after;  // the first 32 characters after the operation
};

std::string Apply(void (*operation)(TextSpan), const std::string& before) {
  FixedText<40> text(before);
  operation(text.All());
  return Str(text).substr(0, 32);
}

TEST(StripLeadingBlanksTest, ShiftsInNulsUpToPosition31) {
  const std::string n31(31, '\0');
  const BridgeCase cases[] = {
      {std::string(30, ' '), n31 + " "},
      {"     123\0"s + std::string(31, ' '),
       "123\0"s + std::string(21, ' ') + std::string(6, '\0') + " "},
      {"123" + std::string(37, 'x'), "123" + std::string(27, 'x') + "\0x"s},
      {" A" + std::string(38, 'x'), "A" + std::string(28, 'x') + std::string(2, '\0') + "x"},
  };
  for (const BridgeCase& c : cases) EXPECT_EQ(Apply(StripLeadingBlanks, c.before), c.after);
}

// The cleaned number text up to its first NUL.
std::string Trimmed(const std::string& before) {
  FixedText<40> text(before);
  TrimNumberText(text);
  const std::string all = Str(text);
  return all.substr(0, all.find('\0'));
}

TEST(TrimNumberTextTest, DropsTrailingZerosKeepsThePoint) {
  const std::pair<std::string, std::string> cases[] = {
      {" .5" + std::string(26, '0') + "\0"s, ".5"},
      {" ." + std::string(27, '0') + "\0"s, "0.0"},
      {"5." + std::string(14, '0') + "\0"s, "5."},
      {"-.250\0"s, "-.25"},
      {"   12.50000\0"s, "12.5"},
      {"100.\0"s, "100."},
      {".\0"s, "0.0"},
      {"\0"s, "0.0"},
      {std::string(35, ' '), "0.0"},
      {"0.\0"s, "0."},
      {"-123.4560000000000\0"s, "-123.456"},
  };
  for (const auto& [before, after] : cases) EXPECT_EQ(Trimmed(before), after) << before;
}

TEST(TrimNumberTextTest, TerminatesWithinPosition31) {
  const std::string before = std::string(29, '9') + "0" + "77777";
  FixedText<40> text(before);
  TrimNumberText(text);
  EXPECT_EQ(Str(text).substr(0, 31), std::string(29, '9') + "\0\0"s);
  EXPECT_EQ(Str(text).substr(31), "7777     ");
}

TEST(FixedToTerminatedTest, StopsAtNulOrThirty) {
  std::string destination(40, '#');
  FixedToTerminated(TextView("HELLO\0abc"s.data(), 30),
                    TextSpan(destination.data(), destination.size()));
  EXPECT_EQ(destination.substr(0, 8), "HELLO\0##"s);

  const std::string thirty = std::string(30, 'Z') + "more";
  FixedToTerminated(TextView(thirty.data(), thirty.size()), TextSpan(destination.data(), 31));
  EXPECT_EQ(destination.substr(0, 32), std::string(30, 'Z') + "\0#"s);
}

TEST(TerminatedToFixedTest, TakesAtMostThirtyAndKeepsTheRest) {
  FixedText<40> text(std::string(40, '#'));
  TerminatedToFixed(text.All(), "CLIP");
  EXPECT_EQ(Str(text).substr(0, 6), "CLIP\0#"s);

  const std::string forty(40, 'Q');
  TerminatedToFixed(text.All(), forty.c_str());
  EXPECT_EQ(Str(text).substr(0, 32), std::string(30, 'Q') + "\0#"s);

  TerminatedToFixed(text.All(), "");
  EXPECT_EQ(text(1), '\0');
  EXPECT_EQ(text(2), 'Q');
}

#if GTEST_HAS_DEATH_TEST && !defined(_WIN32)
TEST(FixedTextDeathTest, NegativeLengthsAndStrayPositionsEndTheProgram) {
  FixedText<5> a("ABCDE"), b("VWXYZ");
  EXPECT_EXIT(AssignText(a, 3, 1, b, 1, 2), testing::ExitedWithCode(FatalExitStatus),
              "run-time error: negative text length");
  EXPECT_EXIT(AssignText(a, 1, 2, b, 4, 2), testing::ExitedWithCode(FatalExitStatus),
              "negative text length");
  EXPECT_EXIT(a.Range(0, 2), testing::ExitedWithCode(FatalExitStatus), "outside its storage");
  EXPECT_EXIT(a.Range(4, 6), testing::ExitedWithCode(FatalExitStatus), "outside its storage");
  EXPECT_EXIT(a.Set(6, 'x'), testing::ExitedWithCode(FatalExitStatus), "outside its storage");
  EXPECT_EXIT(StripLeadingBlanks(a.All()), testing::ExitedWithCode(FatalExitStatus), "shorter");
}
#endif

}  // namespace

}  // namespace formreel
