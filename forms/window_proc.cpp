#include <windows.h>

#include <array>

#include "forms/state.h"
#include "forms/window.h"

namespace {

// What a WM_COMMAND value does. Values are matched whole, so a control's
// notification acts only when its code is 0 (a button click).
enum class CommandAction { Confirm, Cancel, Previous, Next, GroupButton };

struct CommandRow {
  std::uint32_t first;
  std::uint32_t last;
  CommandAction action;
};

constexpr std::array<CommandRow, 7> CommandTable{{
    {IdOkButton, IdOkButton, CommandAction::Confirm},
    {IdCancelButton, IdCancelButton, CommandAction::Cancel},
    {CmdPreviousField, CmdPreviousField, CommandAction::Previous},
    {CmdNextField, CmdNextField, CommandAction::Next},
    {CmdCancel, CmdCancel, CommandAction::Cancel},
    {CmdConfirm, CmdConfirm, CommandAction::Confirm},
    {IdFirstGroupButton, IdFirstGroupButton + MaxGroupButtons - 1, CommandAction::GroupButton},
}};

void OnCommand(HWND window, WPARAM value) {
  for (const CommandRow& row : CommandTable) {
    if (value < row.first || value > row.last) continue;
    switch (row.action) {
      case CommandAction::Confirm: ConfirmForm(window, 0); break;
      case CommandAction::Cancel: CancelForm(window); break;
      case CommandAction::Previous: MoveToPreviousField(); break;
      case CommandAction::Next: MoveToNextField(); break;
      case CommandAction::GroupButton:
        ConfirmForm(window, static_cast<std::int32_t>(value - (IdFirstGroupButton - 1)));
        break;
    }
    return;
  }
}

// A close from the window frame counts as a cancel.
void OnClose(HWND window) { CancelForm(window); }

}  // namespace

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: ConstructForm(window); return 1;
    case WM_DESTROY: PostQuitMessage(0); return 1;
    case WM_SETFOCUS: PassFocusOn(); return 1;
    case WM_PAINT: PaintForm(window); return 1;
    case WM_CLOSE: OnClose(window); return 1;
    case WM_COMMAND: OnCommand(window, wParam); return 1;
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}
