#include "forms/state.h"
#include "forms/window.h"

// Drawing of the lines is not built yet: the paint only validates the window.
void PaintForm(HWND window) {
  PAINTSTRUCT paint;
  BeginPaint(window, &paint);
  EndPaint(window, &paint);
}
