#include "forms/win32/entry.h"

#include <windows.h>

#include "forms/core/keys.h"
#include "forms/core/code_page.h"
#include "forms/win32/window.h"

namespace formreel {

namespace {

// The form being shown; target of the loop's commands.
WindowHandle formWindow = nullptr;
// Set before this copy's one registration attempt.
std::int32_t formClassRegistered = 0;

constexpr int DefaultPlacement = 0x8000;  // replaced when the form sizes itself

}  // namespace

FormWindowStatus CreateFormWindow(const WindowHandle& owner, WindowHandle& window) {
  if (formClassRegistered == 0) {
    WNDCLASSA windowClass{};
    windowClass.lpszClassName = FormClassName;
    windowClass.hInstance = FacilityModule();
    windowClass.lpfnWndProc = FormWindowProc;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    formClassRegistered = 1;
    // A window of a class registered by someone else would not be a form.
    if (RegisterClassA(&windowClass) == 0) return FormWindowStatus::NotRegistered;
  }
  const HWND created = CreateWindowExA(0, FormClassName, FormWindowTitle, FormWindowStyle,
                                       DefaultPlacement, 0, DefaultPlacement, 0, owner, nullptr,
                                       FacilityModule(), nullptr);
  if (created == nullptr) return FormWindowStatus::NotCreated;
  window = created;
  ShowWindow(window, SW_SHOWNORMAL);
  UpdateWindow(window);
  return FormWindowStatus::Created;
}

// A Unicode loop: a typed character reaches the edit fields whole, however
// many bytes it takes in the active code page (an ANSI loop would hand a
// UTF-8 page's multi-byte characters on as "?").
int RunFormLoop(const WindowHandle& window) {
  MSG message{};
  bool ctrlBackspace = false;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.message == WM_KEYDOWN)
      ctrlBackspace = IsCtrlBackspaceKey(static_cast<std::uint32_t>(message.wParam),
                                         GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0);
    if (message.message == WM_CHAR) {
      const auto character = static_cast<std::uint32_t>(message.wParam);
      const std::uint32_t command = CommandForCharacter(character, ctrlBackspace);
      if (character == BackspaceCharacter) ctrlBackspace = false;
      if (command != 0) {
        SendMessageA(window, WM_COMMAND, command, 1);
        continue;
      }
    }
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
}

namespace {

// The loop ended on a quit message the form did not post (the caller's, or
// another window's of this thread) while the form was still open: the form
// ends unconfirmed, and the quit goes on to the caller's own loop with its
// exit code, without the one the form's destruction posts.
void EndFormForForeignQuit(WindowHandle window, int exitCode) {
  formState.confirmed = false;
  DestroyWindow(window);
  MSG posted;
  PeekMessageA(&posted, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  PostQuitMessage(exitCode);
}

}  // namespace

Showing WindowFrontEnd::Show(FormState&) {
  formWindow = nullptr;
  if (CreateFormWindow(owner_, formWindow) != FormWindowStatus::Created) return Showing::NotShown;
  const int exitCode = RunFormLoop(formWindow);
  if (IsWindow(formWindow)) EndFormForForeignQuit(formWindow, exitCode);
  return Showing::Ended;
}

std::string WindowFrontEnd::WhyNotShown() const { return "its window could not be created: is there a display?"; }

// The instance decides nothing: each copy of the facility makes its form
// window with its own module.
bool FormEntry(const InstanceHandle&, const WindowHandle& owner, const char* descriptor, std::int32_t length,
               std::span<std::int8_t> selections, std::span<ValueSlot> values) {
  WindowFrontEnd window(owner);
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), window) == FormEntryEnd::Confirmed;
}

}  // namespace formreel
