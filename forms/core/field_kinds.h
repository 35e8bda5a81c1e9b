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
  Unknown,      // not an item letter
  TextLines,    // T: centred text lines; not a field
  Heading,      // H: the window caption; not a field
  ComboField,   // C, I, L, R, D, S: a combo box, its choices a list
  ButtonGroup,  // B: the prompt and every choice as push buttons in one row
};

struct FieldKind {
  char letter;
  ItemShape shape;
  SlotHolds slot;
  // S: only a choice from the list is taken, nothing typed.
  bool listOnly = false;
  // B: the prompt is the group's first button, the choices the others.
  bool promptIsFirstChoice = false;
  // Writes the text the field starts with for `slot` into `scratch`,
  // NUL-terminated (a C text cut to its whole characters of 30 bytes, a
  // number by its display format); null for a field that shows no value.
  void (*showValue)(const ValueSlot& slot, const CodePage& page, Record& scratch) = nullptr;
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
  constexpr bool IsField() const { return shape == ItemShape::ComboField || shape == ItemShape::ButtonGroup; }
  // T and H: items that make no field.
  constexpr bool IsTextItem() const { return shape == ItemShape::TextLines || shape == ItemShape::Heading; }
  constexpr bool IsNumber() const { return slot == SlotHolds::Number; }
  constexpr bool HasBounds() const { return lowest != highest; }
  // Whether a program may require the field: a text not left empty, a
  // list-only choice made.
  constexpr bool Requirable() const { return slot == SlotHolds::Text || listOnly; }
  // The window style of the field's combo box; 0 for a field without one.
  constexpr std::uint32_t ComboStyle() const {
    if (shape != ItemShape::ComboField) return 0;
    return listOnly ? ListComboStyle : EditComboStyle;
  }
};

// The row of an item letter as it stands in a normalised descriptor; the
// Unknown row (no control, no value) for any other character, NUL included.
const FieldKind& KindOf(char letter);
inline const FieldKind& KindOf(FieldType type) { return KindOf(Letter(type)); }

// The item letters in words, in the table's order: "B, C, D, I, L, R, S, T
// and H".
std::string ItemLettersInWords();

}  // namespace formreel
