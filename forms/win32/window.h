// The form window of the class FormClassName: its procedure builds the form
// when the window is created, paints it, moves the focus, and ends the form.
#pragma once

#include <windows.h>

namespace formreel {

// Works on the one formState. Returns 1 for every message it handles and
// passes the others to DefWindowProcA.
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace formreel
