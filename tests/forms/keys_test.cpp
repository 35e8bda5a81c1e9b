#include "forms/keys.h"

#include <gtest/gtest.h>

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

}  // namespace
