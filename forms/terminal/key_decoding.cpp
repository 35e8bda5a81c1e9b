#include "forms/terminal/key_decoding.h"

#include <algorithm>
#include <array>
#include <optional>

namespace formreel {

namespace {

constexpr char Esc = '\x1b';

// Single bytes, and the sequences that carry no parameters.
struct Sequence {
  std::string_view bytes;
  Key key;
};
constexpr std::array<Sequence, 22> Sequences{{
    {"\r", Key::Enter},
    {"\t", Key::Tab},
    {"\n", Key::CtrlJ},
    {"\x7f", Key::Backspace},
    {"\b", Key::CtrlBackspace},
    {"\x03", Key::CtrlC},
    {" ", Key::Space},
    // SS3: cursor keys in application mode, and F4.
    {"\x1bOA", Key::Up},
    {"\x1bOB", Key::Down},
    {"\x1bOC", Key::Right},
    {"\x1bOD", Key::Left},
    {"\x1bOH", Key::Home},
    {"\x1bOF", Key::End},
    {"\x1bOS", Key::ShowList},
    {"\x1bOM", Key::Enter},  // the keypad's ENTER
    {"\x1bOI", Key::Tab},
    // The Linux console: SHIFT-TAB, and F1 to F5.
    {"\x1b\t", Key::ShiftTab},
    {"\x1b[[A", Key::None},
    {"\x1b[[B", Key::None},
    {"\x1b[[C", Key::None},
    {"\x1b[[D", Key::ShowList},
    {"\x1b[[E", Key::None},
}};

// CSI sequences, by their final byte and first parameter (0 for none);
// `ctrl` is the key when the modifiers hold CTRL, `shift` when they hold
// SHIFT alone, `alt` when ALT alone. Key::None: the plain key is the same.
struct CsiKey {
  char final;
  int code;
  Key key;
  Key ctrl = Key::None;
  Key shift = Key::None;
  Key alt = Key::None;
};
constexpr std::array<CsiKey, 19> CsiKeys{{
    {'A', 0, Key::Up},
    {'A', 1, Key::Up},
    {'B', 0, Key::Down},
    {'B', 1, Key::Down, Key::None, Key::None, Key::ShowList},
    {'C', 0, Key::Right},
    {'C', 1, Key::Right},
    {'D', 0, Key::Left},
    {'D', 1, Key::Left},
    {'H', 0, Key::Home},
    {'H', 1, Key::Home},
    {'F', 0, Key::End},
    {'F', 1, Key::End},
    {'Z', 0, Key::ShiftTab},
    {'~', 1, Key::Home},
    {'~', 7, Key::Home},
    {'~', 4, Key::End},
    {'~', 8, Key::End},
    {'~', 3, Key::Delete},
    {'~', 14, Key::ShowList},
}};

// Modified characters in the extended report, CSI code ; modifiers u, or
// xterm's CSI 27 ; modifiers ; code ~.
struct ReportedKey {
  int code;
  Key key;
  Key ctrl;
  Key shift;
};
constexpr std::array<ReportedKey, 5> ReportedKeys{{
    {13, Key::Enter, Key::CtrlEnter, Key::Enter},
    {9, Key::Tab, Key::Tab, Key::ShiftTab},
    {127, Key::Backspace, Key::CtrlBackspace, Key::Backspace},
    {8, Key::CtrlBackspace, Key::CtrlBackspace, Key::CtrlBackspace},
    {27, Key::Escape, Key::Escape, Key::Escape},
}};

// Modifier bits of a parameter m (m - 1): 1 SHIFT, 2 ALT, 4 CTRL.
constexpr int ShiftBit = 1, AltBit = 2, CtrlBit = 4;

Key ByModifiers(int modifiers, Key plain, Key ctrl, Key shift, Key alt) {
  const int bits = modifiers > 1 ? modifiers - 1 : 0;
  if ((bits & CtrlBit) != 0 && ctrl != Key::None) return ctrl;
  if (bits == ShiftBit && shift != Key::None) return shift;
  if (bits == AltBit && alt != Key::None) return alt;
  return plain;
}

// Parameters of a CSI sequence: up to three numbers.
struct CsiParameters {
  std::array<int, 3> values{};
  std::size_t count = 0;
  bool plain = true;  // digits and ";" only, no private marker
};

Key CsiMeaning(const CsiParameters& p, char final) {
  if (!p.plain) return Key::None;
  const int first = p.count > 0 ? p.values[0] : 0;
  const int modifiers = p.count > 1 ? p.values[1] : 1;
  if (final == 'u' || (final == '~' && first == 27 && p.count == 3)) {
    const int code = final == 'u' ? first : p.values[2];
    const int mods = final == 'u' ? modifiers : p.values[1];
    for (const ReportedKey& k : ReportedKeys)
      if (k.code == code) return ByModifiers(mods, k.key, k.ctrl, k.shift, Key::None);
    return Key::None;
  }
  for (const CsiKey& k : CsiKeys)
    if (k.final == final && k.code == first) return ByModifiers(modifiers, k.key, k.ctrl, k.shift, k.alt);
  return Key::None;
}

// An escape sequence at the start of `input`, which starts with ESC.
DecodedKey DecodeEscape(std::string_view input, bool complete) {
  if (input.size() == 1) return complete ? DecodedKey{{Key::Escape, {}}, 1} : DecodedKey{};
  for (const Sequence& s : Sequences) {
    if (s.bytes.size() < 2) continue;
    if (input.starts_with(s.bytes)) return {{s.key, {}}, s.bytes.size()};
    if (!complete && s.bytes.starts_with(input)) return {};  // the rest may follow
  }
  const char second = input[1];
  if (second == 'O') {  // SS3 of a key the table lacks: one more byte
    if (input.size() < 3) return complete ? DecodedKey{{Key::None, {}}, 2} : DecodedKey{};
    return {{Key::None, {}}, 3};
  }
  if (second != '[') {
    // ESCAPE just before a control key (ESCAPE, then ENTER, in one read);
    // ALT with a printable key means nothing here.
    const auto code = static_cast<unsigned char>(second);
    if (code < 0x20 || code == 0x7f) return {{Key::Escape, {}}, 1};
    return {{Key::None, {}}, 2};
  }
  // CSI: parameter bytes 0x30..0x3F, intermediate bytes 0x20..0x2F, one
  // final byte 0x40..0x7E.
  CsiParameters parameters;
  bool inNumber = false;
  for (std::size_t k = 2; k < input.size(); ++k) {
    const auto c = static_cast<unsigned char>(input[k]);
    if (c >= 0x40 && c <= 0x7e) return {{CsiMeaning(parameters, static_cast<char>(c)), {}}, k + 1};
    if (c >= '0' && c <= '9') {
      if (!inNumber) {
        if (parameters.count < parameters.values.size()) ++parameters.count;
        inNumber = true;
      }
      int& value = parameters.values[parameters.count - 1];
      value = std::min(value * 10 + (c - '0'), 100000);
    } else if (c == ';') {
      if (!inNumber && parameters.count < parameters.values.size()) ++parameters.count;
      inNumber = false;
    } else if (c >= 0x20 && c <= 0x3f) {
      parameters.plain = false;  // a private marker or an intermediate
    } else {
      return {{Key::None, {}}, k};  // broken off: the byte starts a key of its own
    }
  }
  return complete ? DecodedKey{{Key::None, {}}, input.size()} : DecodedKey{};
}

}  // namespace

DecodedKey DecodeKey(std::string_view input, const CodePage& page, bool complete) {
  if (input.empty()) return {};
  if (input[0] == Esc) return DecodeEscape(input, complete);
  for (const Sequence& s : Sequences)
    if (s.bytes.size() == 1 && input[0] == s.bytes[0]) return {{s.key, {}}, 1};
  const auto lead = static_cast<unsigned char>(input[0]);
  if (lead < 0x20 || lead == 0x7f) return {{Key::None, {}}, 1};
  if (lead < 0x80) return {{Key::Character, std::string(1, input[0])}, 1};
  if (page.kind != CodePage::Kind::Utf8) return {{Key::Character, std::string(1, input[0])}, 1};

  // A UTF-8 character: its lead byte says how many bytes it needs; a byte
  // that leads no character is none.
  if (lead < 0xc2 || lead > 0xf4) return {{Key::None, {}}, 1};
  const std::size_t needed = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
  const TextExtent character = FirstCharacter(page, TextView(input.data(), input.size()));
  // Cut short by the end of what has arrived: wait for the rest.
  if (character.bytes == input.size() && input.size() < needed && !complete) return {};
  if (character.bytes < needed) return {{Key::None, {}}, character.bytes};
  // C1 controls (U+0080..U+009F) are no characters to type.
  if (lead == 0xc2 && static_cast<unsigned char>(input[1]) < 0xa0) return {{Key::None, {}}, 2};
  return {{Key::Character, std::string(input.substr(0, needed))}, needed};
}

}  // namespace formreel
