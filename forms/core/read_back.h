// Reading a confirmed form's fields back into the caller's types. The walk
// is platform-free: the controls are reached through FieldControls, which
// the form window implements with the real combo boxes and the form model
// with the controls it holds.
#pragma once

#include <cstdint>
#include <string_view>

#include "forms/core/state.h"
#include "text/record_format.h"

namespace formreel {

// What the walk asks of the form's controls.
class FieldControls {
 public:
  virtual ~FieldControls() = default;
  // 0-based index of the list entry chosen in field `field`'s combo box, or
  // -1 when none is chosen.
  virtual std::int32_t ChosenEntry(std::int32_t field) = 0;
  // Reads the text of field `field`'s combo box into `scratch` as
  // NUL-terminated text of at most 79 characters and returns its length;
  // positions after the NUL keep their contents.
  virtual std::int32_t ReadText(std::int32_t field, Record& scratch) = 0;
};

// Texts of C fields, held back until every field has converted, so that a
// form that stops at a bad value and is then cancelled leaves the caller's
// buffers as they were.
struct PendingTexts {
  Table<FixedText<TextValueLength + 1>, 1, MaxFields> texts;
  Table<bool, 1, MaxFields> due;
};

// Whether a C, I, L, R or D field is as the form built it: no list entry
// chosen (`selection` 0) and its `text` the same bytes, and as many, as the
// `shown` text its control held then.
bool IsUntouched(std::int8_t selection, TextView text, TextView shown);

// Walks fields 1..fieldCount of `state` with currentField as the index:
// sets every field's selection (a chosen entry or button as its 1-based
// number; `groupButton` is the pressed group button, 0 for none), converts
// the typed numbers (an empty number field reads as 0) and collects the
// typed C texts into `pending`; an untouched field (IsUntouched against its
// shownTexts entry) is not typed, and keeps the caller's value or text
// exactly. Sets `confirmed`; returns true when every field converted, and
// only then are the converted numbers stored in `values`. Otherwise stops at
// the field whose text does not convert, leaving currentField and the focus
// target on it and every value as it was.
[[nodiscard]] bool ReadBackFields(FormState& state, std::int32_t groupButton, FieldControls& controls,
                    PendingTexts& pending);

// Writes the collected C texts (at most 30 characters and a NUL) into the
// caller's buffers named by the fields' value slots.
void DeliverPendingTexts(const FormState& state, const PendingTexts& pending);

// A confirmation (O.K., CTRL-ENTER, or group button `groupButton`, 0 for
// none): ReadBackFields, then, only when every field converted, the C texts
// written into the caller's buffers. True when the form may close.
[[nodiscard]] bool ConfirmFields(FormState& state, std::int32_t groupButton, FieldControls& controls);

// Prepares a typed number for parsing: an empty text becomes "0" and a text
// shorter than 30 characters is right-aligned in columns 1..30.
void AlignNumberText(Record& scratch, std::int32_t length);

}  // namespace formreel
