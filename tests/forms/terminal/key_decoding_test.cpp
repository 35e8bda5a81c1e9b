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
      {"\x1b\x1b[B", Key::ShowList, 4},  // rxvt-unicode's ALT-DOWN
      {"\x1b[P", Key::Delete, 3},        // st's DELETE
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

// A printable key in the extended report (xterm's CSI 27 ; m ; code ~,
// the CSI u form) types its character plainly or with SHIFT; CTRL makes a
// key of it only where the control byte it stands for is one; everything
// else is taken whole and types nothing.
TEST(DecodeKey, ReportedKeysTypeTheirCharacterOrNothing) {
  struct Case {
    std::string bytes;
    CodePage page;
    KeyPress press;
  };
  const Case cases[] = {
      {"\x1b[27;2;77~", Utf8Page, {Key::Character, "M"}},  // xterm's SHIFT-M
      {"\x1b[27;2;64~", Utf8Page, {Key::Character, "@"}},
      {"\x1b[109;2u", Utf8Page, {Key::Character, "M"}},    // the key, not the character
      {"\x1b[233u", Utf8Page, {Key::Character, "\u00e9"}},
      {"\x1b[27;2;201~", Utf8Page, {Key::Character, "\u00c9"}},
      {"\x1b[128512;1u", Utf8Page, {Key::Character, "\U0001F600"}},
      {"\x1b[27;2;65~", SingleBytePage, {Key::Character, "A"}},
      {"\x1b[233u", SingleBytePage, {}},  // no byte of the page known for it
      {"\x1b[27;2;32~", Utf8Page, {Key::Space, ""}},
      {"\x1b[27;5;99~", Utf8Page, {Key::CtrlC, ""}},
      {"\x1b[27;6;67~", Utf8Page, {Key::CtrlC, ""}},  // CTRL-SHIFT-C
      {"\x1b[99;5u", Utf8Page, {Key::CtrlC, ""}},
      {"\x1b[27;5;106~", Utf8Page, {Key::CtrlJ, ""}},
      {"\x1b[27;6;74~", Utf8Page, {Key::CtrlJ, ""}},
      {"\x1b[27;5;104~", Utf8Page, {Key::CtrlBackspace, ""}},
      {"\x1b[27;5;105~", Utf8Page, {Key::Tab, ""}},
      {"\x1b[27;5;109~", Utf8Page, {Key::Enter, ""}},
      {"\x1b[27;5;91~", Utf8Page, {Key::Escape, ""}},
      // Nothing the form uses.
      {"\x1b[27;5;97~", Utf8Page, {}},  // CTRL-A
      {"\x1b[27;3;97~", Utf8Page, {}},  // ALT-A
      {"\x1b[27;5;32~", Utf8Page, {}},  // CTRL-SPACE
      {"\x1b[27;9;97~", Utf8Page, {}},  // SUPER-A
      {"\x1b[1;2u", Utf8Page, {}},      // C0
      {"\x1b[155u", Utf8Page, {}},      // C1
      {"\x1b[55296u", Utf8Page, {}},    // a surrogate
      {"\x1b[1114112u", Utf8Page, {}},  // beyond U+10FFFF
      {"\x1b[99999999999999u", Utf8Page, {}},
  };
  for (const Case& c : cases) {
    const DecodedKey decoded = DecodeKey(c.bytes + "x", c.page, false);
    EXPECT_EQ(decoded.press, c.press) << testing::PrintToString(c.bytes);
    EXPECT_EQ(decoded.length, c.bytes.size()) << testing::PrintToString(c.bytes);
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
