#include "text/characters.h"

#include <gtest/gtest.h>

#include <string>

namespace formreel {

namespace {

using namespace std::string_literals;

// Shift-JIS (932): lead bytes 81-9F and E0-FC.
constexpr CodePage ShiftJis{CodePage::Kind::DoubleByte, {{{0x81, 0x9F}, {0xE0, 0xFC}}}, 2};

struct PrefixCase {
  const char* page;
  std::string text;
  std::size_t maxBytes;
  std::size_t maxColumns;
  TextExtent expected;
};

const CodePage& Page(const std::string& name) {
  if (name == "utf8") return Utf8Page;
  if (name == "932") return ShiftJis;
  return SingleBytePage;
}

TEST(WholePrefixTest, StopsAtTheLastWholeCharacterWithinBothLimits) {
  const PrefixCase cases[] = {
      // Single-byte: bytes are characters.
      {"1252", "\xC4\xD6\xDC", 2, 9, {2, 2}},
      {"1252", "ABCDE", 9, 3, {3, 3}},
      // UTF-8: "Привет" is 12 bytes, 6 columns; a cut inside a letter steps back.
      {"utf8", "Привет", 30, 30, {12, 6}},
      {"utf8", "Привет", 11, 30, {10, 5}},
      {"utf8", "Привет", 30, 4, {8, 4}},
      {"utf8", "AБ", 2, 30, {1, 1}},
      // CJK: three bytes, two columns each.
      {"utf8", "名前", 5, 30, {3, 2}},
      {"utf8", "名前", 30, 3, {3, 2}},
      {"utf8", "名前", 30, 4, {6, 4}},
      {"utf8", "\xEF\xBC\xA1x", 30, 30, {4, 3}},       // fullwidth A
      {"utf8", "\xF0\x9F\x98\x80", 3, 30, {0, 0}},     // an emoji: 4 bytes, 2 columns
      {"utf8", "\xF0\x9F\x98\x80", 4, 30, {4, 2}},
      // Bytes that make no character count one byte, one column each.
      {"utf8", "\x80\xBF", 30, 30, {2, 2}},
      {"utf8", "\xC0\xAF", 30, 30, {2, 2}},             // overlong "/"
      {"utf8", "\xED\xA0\x80", 30, 30, {3, 3}},         // a surrogate
      {"utf8", "\xD0x", 30, 30, {2, 2}},                // a lead byte continued by nothing
      {"utf8", "x\xE5\x90", 2, 30, {1, 1}},             // cut short by the end: one character
      // 932: a lead byte takes the next byte with it, whatever it is.
      {"932", "\x82\xA0\x82\xA2", 3, 30, {2, 2}},
      {"932", "A\x88\x9F", 2, 30, {1, 1}},
      {"932", "\xE0\x40\xFC\x7C", 30, 3, {2, 2}},
      {"932", "\xA0\xDF\x80", 30, 30, {3, 3}},         // half-width kana and 80 are single
      {"932", "x\x81", 30, 30, {2, 2}},                // a lone lead byte at the end
  };
  for (const PrefixCase& c : cases)
    EXPECT_EQ(WholePrefix(Page(c.page), c.text, c.maxBytes, c.maxColumns), c.expected)
        << c.page << " \"" << c.text << "\" " << c.maxBytes << "/" << c.maxColumns;
}

TEST(TextColumnsTest, WideCharactersTakeTwoColumns) {
  EXPECT_EQ(TextColumns(Utf8Page, "Мой клип"s), 8u);
  EXPECT_EQ(TextColumns(Utf8Page, "ИМЯ 名前 ㄅ 한"s), 14u);
  EXPECT_EQ(TextColumns(Utf8Page, "Καλημέρα"s), 8u);
  EXPECT_EQ(TextColumns(ShiftJis, "\x96\xBC\x91\x4F:"s), 5u);
  EXPECT_EQ(TextColumns(SingleBytePage, "\xC4\xD6\xDC"s), 3u);
}

}  // namespace

}  // namespace formreel
