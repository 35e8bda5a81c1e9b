// Which keyboard characters the modal loop turns into form commands.
#pragma once

#include <array>
#include <cstdint>

#include "forms/state.h"

namespace formreel {

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
inline constexpr std::uint32_t BackspaceKey = 0x08;  // the BACKSPACE key's virtual-key code

// Whether a key going down is CTRL-BACKSPACE: the BACKSPACE key with CTRL
// held and ALT up. AltGr holds CTRL down on many layouts, and AltGr+BACKSPACE
// is not a form command.
constexpr bool IsCtrlBackspaceKey(std::uint32_t virtualKey, bool ctrlDown, bool altDown) {
  return virtualKey == BackspaceKey && ctrlDown && !altDown;
}

// The command for `character`, or 0 when it is an ordinary character.
// `fromCtrlBackspace` says that the key behind the character was
// CTRL-BACKSPACE (IsCtrlBackspaceKey).
constexpr std::uint32_t CommandForCharacter(std::uint32_t character, bool fromCtrlBackspace) {
  if (character == BackspaceCharacter && fromCtrlBackspace) return CmdPreviousField;
  for (const KeyCommand& row : KeyCommands)
    if (row.character == character) return row.command;
  return 0;
}

}  // namespace formreel
