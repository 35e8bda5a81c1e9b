// The form window: its procedure and the handlers it dispatches to, one file
// per concern (construction, painting, navigation, read-back).
#pragma once

#include <windows.h>

#include <cstdint>

inline constexpr char FormClassName[] = "FORM_ENTRY";
inline constexpr char FormWindowTitle[] = "FORM";

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// WM_CREATE: builds the whole form from the descriptor in formState.
void ConstructForm(HWND window);
// WM_PAINT: draws the prompts, text lines, marks and key help.
void PaintForm(HWND window);
// WM_SETFOCUS: passes the focus on to the focus target.
void PassFocusOn();
// CmdNextField / CmdPreviousField.
void MoveToNextField();
void MoveToPreviousField();
// O.K., CTRL-ENTER, or group button `groupButton` (0 for none): reads every
// field back and destroys the window when all of them converted.
void ConfirmForm(HWND window, std::int32_t groupButton);
// CANCEL or ESCAPE.
void CancelForm(HWND window);
