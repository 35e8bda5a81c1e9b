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
  // 0-based index of the list entry chosen in field `field`, or -1 when
  // none is chosen or the field has no list.
  virtual std::int32_t ChosenEntry(std::int32_t field) = 0;
  // Reads the text of field `field` into `text` as NUL-terminated text of
  // at most 255 bytes and returns its length.
  virtual std::int32_t ReadText(std::int32_t field, FieldText& text) = 0;
  // The boxes checked in M field `field`, as bits (bit K-1 for box K).
  virtual std::uint8_t CheckedBoxes(std::int32_t field) = 0;
};

// Texts of text fields, held back until every field has converted, so that
// a form that stops at a bad value and is then cancelled leaves the
// caller's buffers as they were.
struct PendingTexts {
  Table<FieldText, 1, MaxFields> texts;
  Table<bool, 1, MaxFields> due;
};

// Whether a field with a text is as the form built it: no list entry
// chosen (`selection` 0) and its `text` the same bytes, and as many, as the
// `shown` text its control held then.
bool IsUntouched(std::int8_t selection, TextView text, TextView shown);

// Walks fields 1..fieldCount of `state` with currentField as the index:
// sets every field's selection (a chosen entry or button as its 1-based
// number; `groupButton` is the pressed group button, 0 for none), converts
// the typed numbers (an empty number field reads as 0), collects the typed
// texts into `pending` and an M field's boxes; an untouched field
// (IsUntouched against its shownTexts entry, boxes as shownChecks) keeps
// the caller's value or text exactly. Each answer then meets its checks
// (state.rules). Sets `confirmed`; returns true when every field converted
// and passed, and only then are the new values stored in `values`.
// Otherwise stops at the field that did not, leaving currentField and the
// focus target on it, the reason in `refusal`, and every value as it was.
[[nodiscard]] bool ReadBackFields(FormState& state, std::int32_t groupButton, FieldControls& controls,
                    PendingTexts& pending);

// Writes the collected texts (at most their field's maxBytes and a NUL)
// into the caller's buffers named by the fields' value slots.
void DeliverPendingTexts(const FormState& state, const PendingTexts& pending);

// A confirmation (O.K., CTRL-ENTER, or group button `groupButton`, 0 for
// none): ReadBackFields, then, only when every field converted, the C texts
// written into the caller's buffers. True when the form may close.
[[nodiscard]] bool ConfirmFields(FormState& state, std::int32_t groupButton, FieldControls& controls);

// Prepares a typed number for parsing: an empty text becomes "0" and a text
// shorter than 30 characters is right-aligned in columns 1..30.
void AlignNumberText(Record& scratch, std::int32_t length);

}  // namespace formreel
