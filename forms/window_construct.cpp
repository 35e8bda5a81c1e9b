#include "forms/state.h"
#include "forms/window.h"

// Construction of the controls is not built yet: the form has none.
void ConstructForm(HWND) {
  formState.currentField = 1;
  formState.groupPosition = 0;
  formState.controls[FocusTargetSlot] = nullptr;
}
