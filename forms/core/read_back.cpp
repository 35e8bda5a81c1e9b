#include "forms/core/read_back.h"

#include <algorithm>

#include "forms/core/field_checks.h"
#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/navigation.h"

namespace formreel {

namespace {

// The 0-based position of the pressed button within field i's group, or -1
// when the press belongs to no button of that group.
std::int32_t GroupAnswer(const FormState& state, std::int32_t field, std::int32_t groupButton) {
  if (groupButton < 1 || groupButton > state.buttonCount) return -1;
  if (state.buttonField[groupButton] != field) return -1;
  return groupButton - state.groupStart[field] - 1;
}

// `text` up to its first NUL (all of it when it has none).
TextView UpToNul(TextView text) {
  return text.first(static_cast<std::size_t>(std::find(text.begin(), text.end(), Nul) - text.begin()));
}

// Stops the walk on currentField, with the focus target on it (on the
// first box of an M field, which has no control of its own), for `reason`.
bool Refuse(FormState& state, std::string reason) {
  const std::int32_t i = state.currentField;
  const bool boxes = KindOf(state.fieldTypes[i]).control == ControlKind::CheckBoxes;
  state.refusal = std::move(reason);
  state.groupPosition = boxes ? 1 : 0;
  state.controls[FocusTargetSlot] = boxes ? PositionControl(state, i, 1) : state.controls[i];
  return false;
}

}  // namespace

void AlignNumberText(Record& scratch, std::int32_t length) {
  if (length < 1) {
    scratch.Set(1, '0');
    length = 1;
  }
  if (length >= ReadableColumns) return;
  const std::int32_t shift = ReadableColumns - length;
  for (std::int32_t p = ReadableColumns; p >= 1; --p)
    scratch.Set(p, p > shift ? scratch(p - shift) : Blank);
}

bool ReadTypedValue(char letter, std::string_view text, ValueSlot& slot) {
  const FieldKind& kind = KindOf(letter);
  if (!kind.IsNumber() || text.size() > static_cast<std::size_t>(Record::length - 1)) return false;
  Record scratch;
  const auto length = static_cast<std::int32_t>(text.size());
  AssignText(scratch.All(), text);
  scratch.Set(length + 1, Nul);
  AlignNumberText(scratch, length);
  return kind.readValue(scratch, slot) == RecordStatus::Ok;
}

bool IsUntouched(std::int8_t selection, TextView text, TextView shown) {
  return selection == 0 && std::ranges::equal(text, shown);
}

bool ReadBackFields(FormState& state, std::int32_t groupButton, FieldControls& controls,
                    PendingTexts& pending) {
  state.confirmed = true;
  state.readBackIncomplete = true;
  state.refusal.clear();
  pending.due.Fill(false);
  // Stored only when every field converted: until the form ends `values`
  // holds the caller's values, which an untouched field hands back even
  // after a confirmation that stopped at a bad value.
  Table<ValueSlot, 1, MaxFields> converted = state.values;
  FieldText typedText;
  for (state.currentField = 1; state.currentField <= state.fieldCount; ++state.currentField) {
    const std::int32_t i = state.currentField;
    const FieldKind& kind = KindOf(state.fieldTypes[i]);
    const bool buttons = kind.control == ControlKind::ButtonRow;
    // An M field has boxes, no control of its own, and no list to choose from.
    const bool hasBoxes = kind.control == ControlKind::CheckBoxes;
    const std::int32_t answer =
        buttons ? GroupAnswer(state, i, groupButton) : hasBoxes ? -1 : controls.ChosenEntry(i);
    // Selections hold a signed byte; descriptors are refused before a list
    // could hold more entries than one can number.
    state.selections[i] = static_cast<std::int8_t>(answer + 1);
    if (buttons) continue;
    FieldAnswer checked{i, state.selections[i], converted[i], {}};

    if (hasBoxes) {
      // Boxes as they were shown hand back the caller's value exactly.
      const std::uint8_t boxes = controls.CheckedBoxes(i);
      if (boxes != state.shownChecks[i]) converted[i].Put(boxes);
      checked.value.Put(boxes);
    } else {
      // Every field with a text is read, an S field's for the checks: its
      // text is its chosen entry's.
      const std::int32_t length = std::clamp(controls.ReadText(i, typedText), 0, LongTextLength);
      const TextView typed = typedText.Range(1, length);
      // A chosen entry answers by its number alone; an untouched field keeps
      // the caller's value or text as it came, whatever its text would read.
      const TextView shown = UpToNul(state.shownTexts[i].All());
      const bool untouched = IsUntouched(state.selections[i], typed, shown);
      if (untouched) {
        if (kind.slot == SlotHolds::Text) checked.text = std::string_view(shown.data(), shown.size());
      } else if (state.selections[i] != 0) {
        // The entry is the answer: a number's checks see it read as typed.
        checked.text = std::string_view(typed.data(), typed.size());
        if (kind.IsNumber()) static_cast<void>(ReadTypedValue(kind.letter, checked.text, checked.value));
      } else if (kind.slot == SlotHolds::Text) {
        // Cut to the whole characters the field holds.
        const TextExtent kept = WholePrefix(state.codePage, typed, static_cast<std::size_t>(kind.maxBytes), NoLimit);
        AssignText(pending.texts[i].Range(1, static_cast<int>(kept.bytes)), typed.first(kept.bytes));
        pending.texts[i].Set(static_cast<int>(kept.bytes) + 1, Nul);
        pending.due[i] = true;
        checked.text = std::string_view(typed.data(), kept.bytes);
      } else if (kind.IsNumber()) {
        // Read as the number's record: its first 79 bytes, its first 30 columns.
        const int kept = std::min(length, ScratchWidth - 1);
        AssignText(state.scratch.Range(1, kept), typed.first(static_cast<std::size_t>(kept)));
        state.scratch.Set(kept + 1, Nul);
        AlignNumberText(state.scratch, kept);
        if (kind.readValue(state.scratch, converted[i]) != RecordStatus::Ok)
          return Refuse(state, NotConvertedReason(kind, CheckOf(state.rules, i)));
        checked.value = converted[i];
      }
    }
    if (std::string failure = CheckFailure(kind, CheckOf(state.rules, i), checked); !failure.empty())
      return Refuse(state, std::move(failure));
  }
  state.values = converted;
  state.readBackIncomplete = false;
  return true;
}

bool ConfirmFields(FormState& state, std::int32_t groupButton, FieldControls& controls) {
  PendingTexts pending;
  if (!ReadBackFields(state, groupButton, controls, pending)) return false;
  DeliverPendingTexts(state, pending);
  return true;
}

void DeliverPendingTexts(const FormState& state, const PendingTexts& pending) {
  for (std::int32_t i = 1; i <= state.fieldCount; ++i) {
    if (!pending.due[i]) continue;
    char* buffer = state.values[i].TextAddress();
    if (buffer == nullptr) continue;
    // At most the field's maxBytes, as ReadBackFields cut it: the caller's
    // buffer holds that and the NUL; bytes after the NUL keep their contents.
    const TextView text = UpToNul(pending.texts[i].All());
    const std::size_t length = std::min(text.size(), static_cast<std::size_t>(KindOf(state.fieldTypes[i]).maxBytes));
    std::copy_n(text.begin(), length, buffer);
    buffer[length] = Nul;
  }
}

}  // namespace formreel
