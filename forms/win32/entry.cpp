#include "forms/win32/entry.h"

#include <windows.h>

#include <algorithm>
#include <optional>

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

// The form window's one timer: its time limit.
constexpr UINT_PTR TimeLimitTimer = 1;

// A key, or a mouse button pressed: someone is at the form. A mouse that
// only moves is no sign of that.
bool ShowsSomeoneThere(UINT message) {
  if (message >= WM_KEYFIRST && message <= WM_KEYLAST) return true;
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_XBUTTONDOWN: case WM_XBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_NCXBUTTONDOWN: case WM_NCXBUTTONDBLCLK:
    case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL: return true;
    default: return false;
  }
}

// A time limit as the form window's timer, from its deadline: a timer
// waits at most USER_TIMER_MAXIMUM milliseconds (about 24 days), so a
// longer limit is waited out in turns.
class TimeLimit {
 public:
  TimeLimit(HWND window, std::chrono::milliseconds limit) : window_(window), limit_(limit) { Restart(); }
  // The whole limit again, from now (a limit beyond the clock's range
  // never passes).
  void Restart() {
    const Deadline now = Now();
    deadline_ = limit_ < Deadline::max() - now ? now + limit_ : Deadline::max();
    Wait(limit_);
  }
  // On the timer's message: whether the deadline has passed; if not, the
  // timer waits for the rest.
  bool Passed() {
    const std::chrono::milliseconds left = deadline_ - Now();
    if (left.count() <= 0) return true;
    Wait(left);
    return false;
  }

 private:
  using Deadline = std::chrono::time_point<std::chrono::steady_clock, std::chrono::milliseconds>;
  static Deadline Now() {
    return std::chrono::time_point_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now());
  }
  void Wait(std::chrono::milliseconds time) {
    const auto period = std::min<std::chrono::milliseconds::rep>(time.count(), USER_TIMER_MAXIMUM);
    SetTimer(window_, TimeLimitTimer, static_cast<UINT>(period), nullptr);
  }
  HWND window_;
  std::chrono::milliseconds limit_;
  Deadline deadline_;
};

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
FormLoopEnd RunFormLoop(const WindowHandle& window, std::chrono::milliseconds timeLimit) {
  std::optional<TimeLimit> limit;
  if (timeLimit.count() > 0) limit.emplace(window, timeLimit);
  FormLoopEnd end;
  MSG message{};
  bool ctrlBackspace = false;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (limit) {
      if (ShowsSomeoneThere(message.message)) limit->Restart();
      if (message.message == WM_TIMER && message.hwnd == window && message.wParam == TimeLimitTimer) {
        if (limit->Passed()) {
          end.timedOut = true;
          formState.confirmed = false;
          DestroyWindow(window);
        }
        continue;
      }
    }
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
  end.exitCode = message.message == WM_QUIT ? static_cast<int>(message.wParam) : 0;
  return end;
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

Showing WindowFrontEnd::Show(FormState& state) {
  formWindow = nullptr;
  if (CreateFormWindow(owner_, formWindow) != FormWindowStatus::Created) return Showing::NotShown;
  const FormLoopEnd end = RunFormLoop(formWindow, state.rules.timeLimit);
  if (IsWindow(formWindow)) EndFormForForeignQuit(formWindow, end.exitCode);
  return end.timedOut ? Showing::TimedOut : Showing::Ended;
}

std::string WindowFrontEnd::WhyNotShown() const { return "its window could not be created: is there a display?"; }

bool FormEntry(const InstanceHandle& instance, const WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections, std::span<ValueSlot> values) {
  return FormEntry(instance, owner, descriptor, length, selections, values, FormRules{});
}

// The instance decides nothing: each copy of the facility makes its form
// window with its own module.
bool FormEntry(const InstanceHandle&, const WindowHandle& owner, const char* descriptor, std::int32_t length,
               std::span<std::int8_t> selections, std::span<ValueSlot> values, const FormRules& rules) {
  WindowFrontEnd window(owner);
  return EnterForm(descriptor, length, selections, values, ActiveCodePage(), window, rules) ==
         FormEntryEnd::Confirmed;
}

}  // namespace formreel
