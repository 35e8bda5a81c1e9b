#include "forms/core/unattended.h"

#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/form_model.h"

namespace formreel {

namespace {

// The group button the caller's selections press: that of the first row of
// buttons whose selection names one of its buttons; 0 for none.
std::int32_t PressedGroupButton(const FormState& state) {
  for (std::int32_t i = 1; i <= state.fieldCount; ++i) {
    if (KindOf(state.fieldTypes[i]).control != ControlKind::ButtonRow) continue;
    const std::int32_t chosen = state.selections[i];
    if (chosen >= 1 && chosen <= state.groupSize[i]) return state.groupStart[i] + chosen;
  }
  return 0;
}

// Field `field` as a person would see it named: its prompt without the
// blanks around it, or "field N" for a blank one.
std::string FieldName(const FormModel& model, std::int32_t field) {
  for (const FormModel::Line& line : model.Lines()) {
    if (line.field != field) continue;
    const std::size_t first = line.text.find_first_not_of(Blank);
    if (first == std::string::npos) break;
    return line.text.substr(first, line.text.find_last_not_of(Blank) + 1 - first);
  }
  return "field " + std::to_string(field);
}

}  // namespace

Showing UnattendedFrontEnd::Show(FormState& state) {
  FormModel model(state);
  BuildForm(state, model);
  if (ConfirmFields(state, PressedGroupButton(state), model)) return Showing::Ended;
  // Every field is as the caller gave it: its value is the caller's, said
  // as a script prints it, but for a hidden text and the fields whose value
  // is a choice.
  const std::int32_t field = state.currentField;
  const FieldKind& kind = KindOf(state.fieldTypes[field]);
  const bool said = kind.IsNumber() || (kind.slot == SlotHolds::Text && !kind.Hidden());
  problem_ = RefusalLine(FieldName(model, field), state.refusal,
                         said ? AnswerText(kind.letter, state.values[field]) : std::string());
  return Showing::Refused;
}

}  // namespace formreel
