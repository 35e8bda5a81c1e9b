#include "forms/terminal/key_decoding.h"

#include <gtest/gtest.h>

namespace formreel {

namespace {

struct Row {
  std::string bytes;
  Key key;
  std::size_t length;
};

// The bytes tmux 3.3 sends with extended-keys on to a program that asked
// for modifyOtherKeys level 2, xterm's forms, the Linux console's, and the
// common cursor keys.
TEST(DecodeKey, TheTable) {
  const Row rows[] = {
      {"\r", Key::Enter, 1},
      {"\t", Key::Tab, 1},
      {"\x1b[Z", Key::ShiftTab, 3},
      {"\x1b[13;5u", Key::CtrlEnter, 7},
      {"\x1b[27;5;13~", Key::CtrlEnter, 10},
      {"\x1b[13;2u", Key::Enter, 7},
      {"\n", Key::CtrlJ, 1},
      {"\x7f", Key::Backspace, 1},
      {"\b", Key::CtrlBackspace, 1},
      {"\x1b[127;5u", Key::CtrlBackspace, 8},
      {"\x1b[27;5;127~", Key::CtrlBackspace, 11},
      {"\x03", Key::CtrlC, 1},
      {" ", Key::Space, 1},
      {"\x1b[A", Key::Up, 3},
      {"\x1bOB", Key::Down, 3},
      {"\x1b[1;5C", Key::Right, 6},
      {"\x1b[D", Key::Left, 3},
      {"\x1b[H", Key::Home, 3},
      {"\x1b[1~", Key::Home, 4},
      {"\x1bOF", Key::End, 3},
      {"\x1b[4~", Key::End, 4},
      {"\x1b[3~", Key::Delete, 4},
      {"\x1bOS", Key::ShowList, 3},
      {"\x1b[14~", Key::ShowList, 5},
      {"\x1b[1;3B", Key::ShowList, 6},
      {"\x1b[[D", Key::ShowList, 4},  // the Linux console's F4
      {"\x1b\t", Key::ShiftTab, 2},    // and its SHIFT-TAB
      {"\x1b[[A", Key::None, 4},
      // Sequences that mean nothing here are taken whole.
      {"\x1b[15~", Key::None, 5},
      {"\x1b[?1;2c", Key::None, 7},
      {"\x1b[200~", Key::None, 6},
      {"\x1bx", Key::None, 2},
      {"\x01", Key::None, 1},
  };
  for (const Row& row : rows) {
    const DecodedKey decoded = DecodeKey(row.bytes + "rest", Utf8Page, false);
    EXPECT_EQ(decoded.press.key, row.key) << testing::PrintToString(row.bytes);
    EXPECT_EQ(decoded.length, row.length) << testing::PrintToString(row.bytes);
  }
}

TEST(DecodeKey, CharactersAreWholeCharactersOfThePage) {
  struct Case {
    std::string bytes;
    CodePage page;
    Key key;
    std::size_t length;
  };
  const Case cases[] = {
      {"a", Utf8Page, Key::Character, 1},
      {"\xd0\x96", Utf8Page, Key::Character, 2},          // Ж
      {"\xe5\x90\x8d", Utf8Page, Key::Character, 3},      // 名
      {"\xf0\x9f\x98\x80", Utf8Page, Key::Character, 4},  // an emoji
      {"\xc2\x9b", Utf8Page, Key::None, 2},               // C1 CSI: no character to type
      {"\xff", Utf8Page, Key::None, 1},
      {"\xe5\x41", Utf8Page, Key::None, 1},  // broken off: the A is a key of its own
      {"\xe9", SingleBytePage, Key::Character, 1},
  };
  for (const Case& c : cases) {
    const DecodedKey decoded = DecodeKey(c.bytes + "x", c.page, false);
    EXPECT_EQ(decoded.press.key, c.key) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.length, c.length) << testing::PrintToString(c.bytes);
    if (c.key == Key::Character) EXPECT_EQ(decoded.press.text, c.bytes);
  }
}

// What more bytes could complete waits for them; once none come in time,
// an ESCAPE alone is the ESCAPE key.
TEST(DecodeKey, AnUnfinishedKeyWaitsUntilNothingMoreComes) {
  for (const std::string bytes : {"\x1b", "\x1b[", "\x1b[13;", "\x1bO", "\xe5\x90"}) {
    EXPECT_EQ(DecodeKey(bytes, Utf8Page, false).length, 0u) << testing::PrintToString(bytes);
    EXPECT_EQ(DecodeKey(bytes, Utf8Page, true).length, bytes.size()) << testing::PrintToString(bytes);
  }
  EXPECT_EQ(DecodeKey("\x1b", Utf8Page, true).press.key, Key::Escape);
  EXPECT_EQ(DecodeKey("\x1b[", Utf8Page, true).press.key, Key::None);
  // ESCAPE just before another key is ESCAPE.
  EXPECT_EQ(DecodeKey("\x1b\r", Utf8Page, false).press.key, Key::Escape);
  EXPECT_EQ(DecodeKey("\x1b\x1b[A", Utf8Page, false).length, 1u);
}

}  // namespace

}  // namespace formreel
