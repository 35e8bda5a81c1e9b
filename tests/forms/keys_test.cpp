#include "forms/core/keys.h"

#include <gtest/gtest.h>

namespace formreel {

namespace {

TEST(CommandForCharacterTest, TheFiveFormKeys) {
  EXPECT_EQ(CommandForCharacter(13, false), CmdNextField);
  EXPECT_EQ(CommandForCharacter(9, false), CmdNextField);
  EXPECT_EQ(CommandForCharacter(10, false), CmdConfirm);
  EXPECT_EQ(CommandForCharacter(27, false), CmdCancel);
  EXPECT_EQ(CommandForCharacter(127, false), CmdPreviousField);
}

TEST(CommandForCharacterTest, BackspaceMovesOnlyWhenCtrlBackspaceMadeIt) {
  EXPECT_EQ(CommandForCharacter(8, true), CmdPreviousField);
  EXPECT_EQ(CommandForCharacter(8, false), 0u);  // BACKSPACE or CTRL-H
}

TEST(CommandForCharacterTest, EverythingElseIsOrdinary) {
  for (std::uint32_t c = 0; c < 256; ++c) {
    if (c == 13 || c == 9 || c == 10 || c == 27 || c == 127) continue;
    EXPECT_EQ(CommandForCharacter(c, false), 0u) << c;
  }
  EXPECT_EQ(CommandForCharacter('A', true), 0u);
}

// AltGr holds CTRL on many layouts: AltGr+BACKSPACE is not CTRL-BACKSPACE.
TEST(IsCtrlBackspaceKeyTest, NeedsCtrlDownAndAltUp) {
  struct Case {
    std::uint32_t key;
    bool ctrl, alt, expected;
  };
  const Case cases[] = {
      {BackspaceKey, true, false, true},  {BackspaceKey, true, true, false},
      {BackspaceKey, false, false, false}, {BackspaceKey, false, true, false},
      {'H', true, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsCtrlBackspaceKey(c.key, c.ctrl, c.alt), c.expected) << c.key << c.ctrl << c.alt;
}

}  // namespace

}  // namespace formreel
