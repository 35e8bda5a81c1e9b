// A peer of formreel's name form in bench/startup: the least a programmer
// could write by hand for it. A main window "MAIN" first, as formreel.exe
// has, then a window of its own class titled "FORM", owned by it, holding one
// editable combo box with the keyboard focus.
#include <windows.h>

namespace {

constexpr int NameFieldId = 202;

LRESULT OnCreate(HWND window) {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
  HWND field = CreateWindowExA(0, "combobox", "",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | CBS_DROPDOWN, 240, 8,
                               240, 120, window,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(NameFieldId)), instance,
                               nullptr);
  if (field == nullptr) return -1;  // no window without its field
  SendMessageA(field, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Quit NOW "));
  return 0;
}

LRESULT OnSetFocus(HWND window) {
  SetFocus(GetDlgItem(window, NameFieldId));
  return 0;
}

LRESULT OnDestroy() {
  PostQuitMessage(0);
  return 0;
}

LRESULT CALLBACK ComboWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate(window);
    case WM_SETFOCUS:
      return OnSetFocus(window);
    case WM_DESTROY:
      return OnDestroy();
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

bool Register(HINSTANCE instance, const char* name, WNDPROC procedure, int background) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(background + 1));
  windowClass.lpszClassName = name;
  return RegisterClassA(&windowClass) != 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (!Register(instance, "ComboPeerMain", DefWindowProcA, COLOR_SCROLLBAR) ||
      !Register(instance, "ComboPeerForm", ComboWindowProc, COLOR_WINDOW))
    return 1;
  HWND mainWindow = CreateWindowExA(0, "ComboPeerMain", "MAIN", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  if (mainWindow == nullptr) return 1;
  ShowWindow(mainWindow, showCommand);
  HWND form = CreateWindowExA(0, "ComboPeerForm", "FORM", WS_CAPTION | WS_SYSMENU, 0, 0, 512, 120,
                              mainWindow, nullptr, instance, nullptr);
  if (form == nullptr) return 1;
  ShowWindow(form, SW_SHOWNORMAL);
  UpdateWindow(form);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
