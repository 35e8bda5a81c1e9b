#include "forms/core/navigation.h"

#include "forms/core/field_kinds.h"

namespace formreel {

namespace {

bool IsGroup(const FormState& state, int position) {
  return position >= 1 && position <= state.fieldCount && KindOf(state.fieldTypes[position]).HasPositions();
}

// Makes position t current and aims the focus target at it; a group keeps
// the button that `groupPosition` names, or `entry` when none is named.
void EnterPosition(FormState& state, int t, int entry) {
  state.currentField = t;
  if (t <= state.fieldCount) {
    state.controls[FocusTargetSlot] = state.controls[t];
    if (IsGroup(state, t)) {
      if (state.groupPosition == 0) state.groupPosition = entry;
      state.controls[FocusTargetSlot] = PositionControl(state, t, state.groupPosition);
    }
    return;
  }
  state.groupPosition = 0;
  state.controls[FocusTargetSlot] =
      state.controls[t == state.fieldCount + 1 ? OkButtonSlot : CancelButtonSlot];
}

}  // namespace

ControlHandle PositionControl(const FormState& state, std::int32_t field, std::int32_t position) {
  const std::int32_t j = state.groupStart[field] + position;
  return KindOf(state.fieldTypes[field]).control == ControlKind::ButtonRow ? state.buttons[j] : state.checkBoxes[j];
}

void StepToNextField(FormState& state) {
  int current = state.currentField;
  if (IsGroup(state, current)) {
    ++state.groupPosition;
    if (state.groupPosition <= state.groupSize[current])
      --current;  // stay on this group
    else
      state.groupPosition = 0;
  } else {
    state.groupPosition = 0;
  }
  int t = current + 1;
  if (t > state.fieldCount + 2) t = 1;
  EnterPosition(state, t, 1);
}

void StepToPreviousField(FormState& state) {
  int current = state.currentField;
  if (IsGroup(state, current)) {
    if (state.groupPosition == 0) state.groupPosition = state.groupSize[current] + 1;
    --state.groupPosition;
    if (state.groupPosition > 0)
      ++current;  // stay on this group
    else
      state.groupPosition = 0;
  } else {
    state.groupPosition = 0;
  }
  int t = current - 1;
  if (t < 1) t = state.fieldCount + 2;
  EnterPosition(state, t, IsGroup(state, t) ? state.groupSize[t] : 0);
}

void ChooseFirstPosition(FormState& state) {
  state.groupPosition = 0;
  if (state.fieldCount == 0) {
    state.currentField = 1;
    state.controls[FocusTargetSlot] = state.controls[OkButtonSlot];
    return;
  }
  EnterPosition(state, 1, 1);
}

void ChooseFocusOnActivation(FormState& state) {
  if (state.fieldCount == 0) state.controls[FocusTargetSlot] = state.controls[OkButtonSlot];
}

}  // namespace formreel
