// Which keyboard characters the modal loop turns into form commands.
#pragma once

#include <array>
#include <cstdint>

#include "forms/state.h"

struct KeyCommand {
  std::uint32_t character;
  std::uint32_t command;
};

// The five characters that never reach a control: each becomes a command
// sent to the form window.
inline constexpr std::array<KeyCommand, 5> KeyCommands{{
    {13, CmdNextField},      // ENTER
    {9, CmdNextField},       // TAB
    {10, CmdConfirm},        // CTRL-ENTER
    {27, CmdCancel},         // ESCAPE
    {127, CmdPreviousField}, // CTRL-BACKSPACE
}};

// Some keyboard layers deliver CTRL-BACKSPACE as character 8, the code of a
// plain BACKSPACE and of CTRL-H; only the key that produced it tells them
// apart.
inline constexpr std::uint32_t BackspaceCharacter = 8;

// The command for `character`, or 0 when it is an ordinary character.
// `fromCtrlBackspace` says that the key behind the character was BACKSPACE
// with CTRL held.
constexpr std::uint32_t CommandForCharacter(std::uint32_t character, bool fromCtrlBackspace) {
  if (character == BackspaceCharacter && fromCtrlBackspace) return CmdPreviousField;
  for (const KeyCommand& row : KeyCommands)
    if (row.character == character) return row.command;
  return 0;
}
