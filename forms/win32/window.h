// The form window of the class FormClassName: its procedure builds the form
// when the window is created, paints it, moves the focus, and ends the form.
#pragma once

#include <windows.h>

namespace formreel {

// Works on the one formState. Returns 1 for every message it handles and
// passes the others to DefWindowProcA.
LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The module that holds this copy of the facility (the program, or a DLL
// that links it): its form class and windows are made with it, whatever
// instance the caller passes, since a class of another copy's module would
// run that copy's procedure on that copy's state.
HINSTANCE FacilityModule();

}  // namespace formreel
