#include "forms/state.h"
#include "forms/window.h"

// Reading the fields back is not built yet: a confirmation accepts the
// values as they came in.
void ConfirmForm(HWND window, std::int32_t) {
  formState.confirmed = true;
  DestroyWindow(window);
}

void CancelForm(HWND window) {
  formState.confirmed = false;
  DestroyWindow(window);
}
