// What the bytes a terminal sends mean: one table from byte sequences to
// keys, for the terminals of xterm's family (tmux, screen, the Linux
// console's common keys) with and without the extended report of modified
// keys (modifyOtherKeys, and the CSI u form). Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/characters.h"

namespace formreel {

enum class Key : std::uint8_t {
  None,           // nothing the form uses: an unknown sequence, a stray byte
  Character,      // a printable character, other than the blank; its bytes in `text`
  Space,
  Enter,
  Tab,
  ShiftTab,
  CtrlEnter,      // reported only by terminals asked for modified keys
  CtrlJ,          // character 10, which most terminals send for CTRL-ENTER too
  Backspace,      // character 127
  CtrlBackspace,  // character 8 in most terminals, or the extended report
  Escape,
  CtrlC,
  Up,
  Down,
  Left,
  Right,
  Home,
  End,
  Delete,
  ShowList,       // F4 or ALT-DOWN: a combo box's whole list
};

struct KeyPress {
  Key key = Key::None;
  std::string text;  // the character's bytes, for Key::Character
  friend bool operator==(const KeyPress&, const KeyPress&) = default;
};

struct DecodedKey {
  KeyPress press;
  std::size_t length = 0;  // bytes taken from the input; 0: more bytes are needed
};

// The key that the bytes at the start of `input` make. A sequence that more
// bytes could still complete (an ESC alone, the first bytes of a longer
// sequence or of a multi-byte character) gives length 0 unless `complete`
// says no more bytes are coming soon: then an ESC alone is ESCAPE, and any
// other unfinished sequence is taken up to where it stops. Escape sequences
// that mean nothing here are taken whole and give Key::None, so that none
// of their bytes is typed. Characters are decoded in `page`: a UTF-8 page
// takes whole valid characters; bytes that make none give Key::None. A
// printable key reported with its modifiers (CSI 27 ; m ; code ~ or
// CSI code ; m u) types its character when pressed plainly or with SHIFT
// alone, and nothing with CTRL or ALT, unless CTRL makes a key of it as
// the control byte it stands for would (CTRL-C, CTRL-H, CTRL-I, CTRL-J,
// CTRL-M, CTRL-[). Key::Character's text holds no C0 control or DELETE,
// nor in a UTF-8 page a C1 control.
DecodedKey DecodeKey(std::string_view input, const CodePage& page, bool complete);

}  // namespace formreel
