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
constexpr std::array<Sequence, 23> Sequences{{
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
    // rxvt-unicode: ALT-DOWN, as ESC before DOWN.
    {"\x1b\x1b[B", Key::ShowList},
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
constexpr std::array<CsiKey, 20> CsiKeys{{
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
    {'P', 0, Key::Delete},  // st, outside the keypad's application mode
    {'~', 14, Key::ShowList},
}};

// Keys in the extended report, CSI code ; modifiers u, or xterm's
// CSI 27 ; modifiers ; code ~, that are more than the character `code`.
// `key` is the key plain and with modifiers the others do not name, `ctrl`
// the key with CTRL (whatever else is held), `shift` with SHIFT alone;
// Key::Character: the character, typed as the modifiers allow. With CTRL a
// capital takes its small letter's row (CTRL-SHIFT-J is CTRL-J). A code no
// row names is a character.
struct ReportedKey {
  int code;
  Key key;
  Key ctrl;
  Key shift;
};
constexpr std::array<ReportedKey, 11> ReportedKeys{{
    {13, Key::Enter, Key::CtrlEnter, Key::Enter},
    {9, Key::Tab, Key::Tab, Key::ShiftTab},
    {127, Key::Backspace, Key::CtrlBackspace, Key::Backspace},
    {8, Key::CtrlBackspace, Key::CtrlBackspace, Key::CtrlBackspace},
    {27, Key::Escape, Key::Escape, Key::Escape},
    // xterm at modifyOtherKeys level 2 reports CTRL with these as
    // CSI 27 ; 5 ; code ~ where other terminals send the control byte they
    // make (03, 08, 09, 0A, 0D, 1B): the key is the byte's.
    {'c', Key::Character, Key::CtrlC, Key::Character},
    {'h', Key::Character, Key::CtrlBackspace, Key::Character},
    {'i', Key::Character, Key::Tab, Key::Character},
    {'j', Key::Character, Key::CtrlJ, Key::Character},
    {'m', Key::Character, Key::Enter, Key::Character},
    {'[', Key::Character, Key::Escape, Key::Character},
}};

// Modifier bits of a parameter m (m - 1): 1 SHIFT, 2 ALT, 4 CTRL.
constexpr int ShiftBit = 1, AltBit = 2, CtrlBit = 4;

int ModifierBits(int modifiers) { return modifiers > 1 ? modifiers - 1 : 0; }

Key ByModifiers(int modifiers, Key plain, Key ctrl, Key shift, Key alt) {
  const int bits = ModifierBits(modifiers);
  if ((bits & CtrlBit) != 0 && ctrl != Key::None) return ctrl;
  if (bits == ShiftBit && shift != Key::None) return shift;
  if (bits == AltBit && alt != Key::None) return alt;
  return plain;
}

// The character `code` typed with `modifiers`: only plain or with SHIFT
// alone, which makes a small ASCII letter its capital (a terminal may
// report the key rather than the character). Nothing for a control, a
// surrogate, a code beyond U+10FFFF, or beyond ASCII in a single-byte page,
// whose byte for it is unknown.
KeyPress Typed(int code, int modifiers, const CodePage& page) {
  const int bits = ModifierBits(modifiers);
  if ((bits & ~ShiftBit) != 0) return {};
  if (code == ' ') return {Key::Space, {}};
  if (bits == ShiftBit && code >= 'a' && code <= 'z') code -= 'a' - 'A';
  const auto character = static_cast<char32_t>(code);
  if (IsControlCode(character) || (character >= 0xD800 && character <= 0xDFFF) || character > 0x10FFFF) return {};
  if (page.kind != CodePage::Kind::Utf8 && character >= 0x80) return {};
  return {Key::Character, Utf8Of(character)};
}

// The key an extended report of `code` with `modifiers` makes.
KeyPress Reported(int code, int modifiers, const CodePage& page) {
  const bool ctrl = (ModifierBits(modifiers) & CtrlBit) != 0;
  const int row = ctrl && code >= 'A' && code <= 'Z' ? code + ('a' - 'A') : code;
  Key key = Key::Character;
  for (const ReportedKey& k : ReportedKeys)
    if (k.code == row) key = ByModifiers(modifiers, k.key, k.ctrl, k.shift, Key::None);
  if (key != Key::Character) return {key, {}};
  return Typed(code, modifiers, page);
}

// Where a parameter stops growing: beyond every code point, so that a
// larger number cannot pass for a character.
constexpr int BeyondUnicode = 0x110000;

// Parameters of a CSI sequence: up to three numbers.
struct CsiParameters {
  std::array<int, 3> values{};
  std::size_t count = 0;
  bool plain = true;  // digits and ";" only, no private marker
};

KeyPress CsiMeaning(const CsiParameters& p, char final, const CodePage& page) {
  if (!p.plain) return {};
  const int first = p.count > 0 ? p.values[0] : 0;
  const int modifiers = p.count > 1 ? p.values[1] : 1;
  if (final == 'u') return Reported(first, modifiers, page);
  if (final == '~' && first == 27 && p.count == 3) return Reported(p.values[2], modifiers, page);
  for (const CsiKey& k : CsiKeys)
    if (k.final == final && k.code == first) return {ByModifiers(modifiers, k.key, k.ctrl, k.shift, k.alt), {}};
  return {};
}

// An escape sequence at the start of `input`, which starts with ESC.
DecodedKey DecodeEscape(std::string_view input, const CodePage& page, bool complete) {
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
    if (c >= 0x40 && c <= 0x7e) return {CsiMeaning(parameters, static_cast<char>(c), page), k + 1};
    if (c >= '0' && c <= '9') {
      if (!inNumber) {
        if (parameters.count < parameters.values.size()) ++parameters.count;
        inNumber = true;
      }
      int& value = parameters.values[parameters.count - 1];
      value = std::min(value * 10 + (c - '0'), BeyondUnicode);
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
  if (input[0] == Esc) return DecodeEscape(input, page, complete);
  for (const Sequence& s : Sequences)
    if (s.bytes.size() == 1 && input[0] == s.bytes[0]) return {{s.key, {}}, 1};
  const auto lead = static_cast<unsigned char>(input[0]);
  if (IsControlCode(lead)) return {{Key::None, {}}, 1};
  if (lead < 0x80 || page.kind != CodePage::Kind::Utf8) return {{Key::Character, std::string(1, input[0])}, 1};

  const Utf8Character character = FirstUtf8(TextView(input.data(), input.size()));
  switch (character.status) {
    case Utf8Status::CutShort:  // by the end of what has arrived: wait for the rest
      return complete ? DecodedKey{{Key::None, {}}, character.bytes} : DecodedKey{};
    case Utf8Status::Invalid: return {{Key::None, {}}, 1};
    case Utf8Status::Whole: break;
  }
  if (IsControlCode(character.code)) return {{Key::None, {}}, character.bytes};  // C1: none to type
  return {{Key::Character, std::string(input.substr(0, character.bytes))}, character.bytes};
}

}  // namespace formreel
