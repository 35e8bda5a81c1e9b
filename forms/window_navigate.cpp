#include "forms/state.h"
#include "forms/window.h"

void PassFocusOn() { SetFocus(formState.controls[FocusTargetSlot]); }

// Moving between fields is not built yet.
void MoveToNextField() {}
void MoveToPreviousField() {}
