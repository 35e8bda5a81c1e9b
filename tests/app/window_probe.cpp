// Reports what another process shows on the screen, for the end-to-end tests
// of the program, which drive it from outside and cannot read its controls:
//   window_probe field   the open form's first field: "text=[...] selected=N"
//                        (N the chosen list entry, -1 for none)
//   window_probe main    the main window's handle as a signed 32-bit number
//   window_probe focus   "field" when the first field of the open form has
//                        the keyboard focus, "other" otherwise
// Exits with 1 when the window asked about does not exist.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "formreel/forms.h"

namespace {

constexpr int FirstFieldId = 202;
constexpr UINT ReplyTimeoutMs = 5000;

int ReportField() {
  HWND form = FindWindowA(formreel::FormClassName, nullptr);
  HWND field = form != nullptr ? GetDlgItem(form, FirstFieldId) : nullptr;
  if (field == nullptr) return 1;
  char text[128] = {};
  DWORD_PTR copied = 0;
  DWORD_PTR selected = 0;
  if (SendMessageTimeoutA(field, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text),
                          SMTO_ABORTIFHUNG, ReplyTimeoutMs, &copied) == 0 ||
      SendMessageTimeoutA(field, CB_GETCURSEL, 0, 0, SMTO_ABORTIFHUNG, ReplyTimeoutMs,
                          &selected) == 0)
    return 1;
  std::printf("text=[%s] selected=%d\n", text, static_cast<int>(static_cast<LRESULT>(selected)));
  return 0;
}

int ReportMainWindow() {
  HWND main = FindWindowA("MainWin", "MAIN");
  if (main == nullptr) return 1;
  std::printf("%ld\n", static_cast<long>(static_cast<std::int32_t>(reinterpret_cast<std::intptr_t>(main))));
  return 0;
}

int ReportFocus() {
  HWND form = FindWindowA(formreel::FormClassName, nullptr);
  HWND field = form != nullptr ? GetDlgItem(form, FirstFieldId) : nullptr;
  if (field == nullptr) return 1;
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info)) return 1;
  // A drop-down combo box gives the focus to its edit control.
  const bool inField = info.hwndFocus == field || GetParent(info.hwndFocus) == field;
  std::printf("%s\n", inField ? "field" : "other");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "field") == 0) return ReportField();
  if (argc == 2 && std::strcmp(argv[1], "main") == 0) return ReportMainWindow();
  if (argc == 2 && std::strcmp(argv[1], "focus") == 0) return ReportFocus();
  std::fprintf(stderr, "usage: window_probe field|main|focus\n");
  return 2;
}
