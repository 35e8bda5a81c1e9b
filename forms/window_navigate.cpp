#include "forms/navigation.h"
#include "forms/window.h"

void PassFocusOn() {
  ChooseFocusOnActivation(formState);
  SetFocus(formState.controls[FocusTargetSlot]);
}

void MoveToNextField() {
  StepToNextField(formState);
  SetFocus(formState.controls[FocusTargetSlot]);
}

void MoveToPreviousField() {
  StepToPreviousField(formState);
  SetFocus(formState.controls[FocusTargetSlot]);
}
