#include "forms/core/unattended.h"

#include "forms/core/field_kinds.h"
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

}  // namespace

Showing UnattendedFrontEnd::Show(FormState& state) {
  FormModel model(state);
  BuildForm(state, model);
  // An untouched form converts: every field hands back what it got. Were
  // one not to, readBackIncomplete would stay set, which is no answer.
  static_cast<void>(ConfirmFields(state, PressedGroupButton(state), model));
  return Showing::Ended;
}

}  // namespace formreel
