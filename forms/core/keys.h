// Which keyboard characters the window's modal loop turns into form
// commands, and what every command does.
#pragma once

#include <array>
#include <cstdint>

#include "forms/core/state.h"

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

// What a form does for a command value: a command from the keys, or a
// button's identifier (O.K., CANCEL, group button j with j in groupButton).
struct CommandMeaning {
  enum class Act : std::uint8_t { None, NextField, PreviousField, Confirm, Cancel };
  Act act = Act::None;
  std::int32_t groupButton = 0;  // 1-based, for a group button's Confirm; 0 for none
};

// The whole value counts: a control's notification code in the high bits
// makes it no command.
constexpr CommandMeaning MeaningOf(std::uint64_t command) {
  using Act = CommandMeaning::Act;
  switch (command) {
    case IdOkButton:
    case CmdConfirm: return {Act::Confirm, 0};
    case IdCancelButton:
    case CmdCancel: return {Act::Cancel, 0};
    case CmdNextField: return {Act::NextField, 0};
    case CmdPreviousField: return {Act::PreviousField, 0};
    default: break;
  }
  if (command >= IdFirstGroupButton && command < IdFirstGroupButton + MaxGroupButtons)
    return {Act::Confirm, static_cast<std::int32_t>(command - (IdFirstGroupButton - 1))};
  return {};
}

}  // namespace formreel
