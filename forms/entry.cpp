#include "forms/entry.h"

#include <windows.h>

#include <atomic>

#include "forms/code_page.h"
#include "forms/descriptor.h"
#include "forms/descriptor_check.h"
#include "forms/keys.h"
#include "forms/window.h"

namespace formreel {

namespace {

// The form being shown; target of the loop's commands.
WindowHandle formWindow = nullptr;
// Set before the one registration attempt of the process.
std::int32_t formClassRegistered = 0;

constexpr int DefaultPlacement = 0x8000;  // replaced when the form sizes itself

// Held from the start of a FormEntry call to its end, by whichever thread
// got it: formState has room for one form at a time.
std::atomic<bool> formOpen{false};

class OpenFormGuard {
 public:
  OpenFormGuard() : held_(!formOpen.exchange(true, std::memory_order_acquire)) {}
  ~OpenFormGuard() {
    if (held_) formOpen.store(false, std::memory_order_release);
  }
  OpenFormGuard(const OpenFormGuard&) = delete;
  OpenFormGuard& operator=(const OpenFormGuard&) = delete;
  bool held() const { return held_; }

 private:
  bool held_;
};

// How this thread's last FormEntry call ended.
thread_local FormEntryEnd lastEnd = FormEntryEnd::NotShown;

// FormEntry's result for `end`, kept for LastFormEntryEnd.
bool Ended(FormEntryEnd end) {
  lastEnd = end;
  return end == FormEntryEnd::Confirmed;
}

}  // namespace

FormEntryEnd LastFormEntryEnd() { return lastEnd; }

FormWindowStatus CreateFormWindow(const InstanceHandle& instance, const WindowHandle& owner,
                                  WindowHandle& window) {
  formState.instance = instance;
  if (formClassRegistered == 0) {
    WNDCLASSA windowClass{};
    windowClass.lpszClassName = FormClassName;
    windowClass.hInstance = instance;
    windowClass.lpfnWndProc = FormWindowProc;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    formClassRegistered = 1;
    // A window of a class registered by someone else would not be a form.
    if (RegisterClassA(&windowClass) == 0) return FormWindowStatus::NotRegistered;
  }
  const HWND created = CreateWindowExA(0, FormClassName, FormWindowTitle, FrameWindowStyle,
                                       DefaultPlacement, 0, DefaultPlacement, 0, owner, nullptr,
                                       instance, nullptr);
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

bool FormEntry(const InstanceHandle& instance, const WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values) {
  const OpenFormGuard guard;
  if (!guard.held()) return Ended(FormEntryEnd::Busy);
  formState.codePage = ActiveCodePage();
  const DescriptorCounts counts = NormaliseDescriptor(descriptor, length, formState.descriptor);
  if (!DescriptorProblem(formState.descriptor, counts, formState.codePage).empty())
    return Ended(FormEntryEnd::Refused);
  const auto fields = static_cast<std::size_t>(counts.fieldCount);
  if (selections.size() < fields || values.size() < fields) return Ended(FormEntryEnd::Refused);

  formState.fieldCount = counts.fieldCount;
  formState.textLineCount = counts.textLineCount;
  formState.descriptorLength = counts.descriptorLength;
  for (int k = 1; k <= counts.fieldCount; ++k) {
    formState.selections[k] = selections[static_cast<std::size_t>(k - 1)];
    formState.values[k] = values[static_cast<std::size_t>(k - 1)];
  }
  AssignText(formState.scratch.All(), std::string_view("\0", 1));
  // A form that ends without a confirmation or a cancel (closed from its
  // frame) must not report an earlier form's answer.
  formState.confirmed = false;

  formWindow = nullptr;
  if (CreateFormWindow(instance, owner, formWindow) != FormWindowStatus::Created)
    return Ended(FormEntryEnd::NotShown);
  const int exitCode = RunFormLoop(formWindow);
  if (IsWindow(formWindow)) EndFormForForeignQuit(formWindow, exitCode);

  // Confirmed, and every field read back: a window destroyed from outside
  // after a confirmation that stopped at a bad value is no answer.
  if (!formState.confirmed || formState.readBackIncomplete) return Ended(FormEntryEnd::Cancelled);
  for (int k = 1; k <= counts.fieldCount; ++k) {
    selections[static_cast<std::size_t>(k - 1)] = formState.selections[k];
    values[static_cast<std::size_t>(k - 1)] = formState.values[k];
  }
  return Ended(FormEntryEnd::Confirmed);
}

std::string DescriptorProblem(const char* text, std::int32_t length) {
  return DescriptorProblem(text, length, ActiveCodePage());
}

}  // namespace formreel
