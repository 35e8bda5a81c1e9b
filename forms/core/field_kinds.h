// What each item letter of a descriptor means, in one table: whether it is
// a field, which control it gets, what its value slot holds, how its value
// is shown and read back, and how a script prints it. Every step of the
// facility that depends on the letter reads this table. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "forms/core/state.h"
#include "text/record_format.h"

namespace formreel {

// How an item appears on the form.
enum class ItemShape : std::uint8_t {
  Unknown,    // not an item letter
  TextLines,  // T: centred text lines; not a field
  Heading,    // H: the window caption; not a field
  Field,      // a field, shown as its control kind says
};

// What a person works a field with. Every front end draws each kind its
// own way, once.
enum class ControlKind : std::uint8_t {
  None,          // T and H: no control
  EditableList,  // C, X, D, I, L, R: a typed text, and a list to choose from
  ListOnly,      // S: only an entry of its list, nothing typed
  ButtonRow,     // B: the prompt and every choice as buttons; pressing one confirms
  HiddenText,    // P: a typed text that is never shown
  CheckBoxes,    // M: every choice a box of its own, any number of them checked
};

struct FieldKind {
  char letter;
  ItemShape shape;
  ControlKind control;
  SlotHolds slot;
  // The longest text the field takes, in bytes: what its text field holds
  // (C 30, X and P 255) or what a number's text is read from; 0 for the
  // fields that take no typed text.
  int maxBytes = 0;
  // Writes the text the field starts with for `slot` into `shown`,
  // NUL-terminated (a text cut to its whole characters of maxBytes bytes, a
  // number by its display format); null for a field that shows no value.
  void (*showValue)(const ValueSlot& slot, const CodePage& page, FieldText& shown) = nullptr;
  // Reads the first 30 columns of `typed` by the field's input rule into
  // `slot` (zeros after the value), which is written only on success; null
  // for a field whose typed text is not a number.
  RecordStatus (*readValue)(const Record& typed, ValueSlot& slot) = nullptr;
  // The value as a script prints it (AnswerText); null when the slot holds
  // nothing.
  std::string (*answerText)(const ValueSlot& slot) = nullptr;
  // What a number field takes, in words, for a person told what to type or
  // why a text does not convert ("a 16-bit integer"); empty for the other
  // letters.
  std::string_view valueName = {};
  // An integer field's type's lowest and highest value, which a person is
  // told with its name ("a 16-bit integer (-32768 to 32767)"); both 0 for
  // the reals, whose range is no help to a person, and the other letters.
  std::int64_t lowest = 0;
  std::int64_t highest = 0;
  // A number field's value as a double, for its bounds; null for the
  // letters that hold no number.
  double (*numberOf)(const ValueSlot& slot) = nullptr;

  constexpr bool IsItem() const { return shape != ItemShape::Unknown; }
  constexpr bool IsField() const { return shape == ItemShape::Field; }
  // T and H: items that make no field.
  constexpr bool IsTextItem() const { return shape == ItemShape::TextLines || shape == ItemShape::Heading; }
  constexpr bool IsNumber() const { return slot == SlotHolds::Number; }
  constexpr bool HasBounds() const { return lowest != highest; }
  // B: the prompt is the row's first button, the choices the others.
  constexpr bool PromptIsFirstChoice() const { return control == ControlKind::ButtonRow; }
  // B and M: a row of positions of their own, one per button or box, that
  // the focus steps through.
  constexpr bool HasPositions() const {
    return control == ControlKind::ButtonRow || control == ControlKind::CheckBoxes;
  }
  // Whether a typed text is the field's answer (C, X, P and the numbers).
  constexpr bool TakesText() const { return maxBytes > 0; }
  // Whether the field's text may be longer than the 30 columns it shows,
  // which then scroll sideways (X, P).
  constexpr bool ScrollsSideways() const { return slot == SlotHolds::Text && maxBytes > TextValueLength; }
  // Whether the field's text is never shown, nor said, nor echoed.
  constexpr bool Hidden() const { return control == ControlKind::HiddenText; }
  // Whether a program may require the field: a text not left empty, a
  // list-only choice made, a box checked.
  constexpr bool Requirable() const {
    return slot == SlotHolds::Text || slot == SlotHolds::Bits || control == ControlKind::ListOnly;
  }
};

// The row of an item letter as it stands in a normalised descriptor; the
// Unknown row (no control, no value) for any other character, NUL included.
const FieldKind& KindOf(char letter);
inline const FieldKind& KindOf(FieldType type) { return KindOf(Letter(type)); }

// The item letters in words, in the table's order: "B, C, D, I, L, M, P, R,
// S, X, T and H".
std::string ItemLettersInWords();

}  // namespace formreel
