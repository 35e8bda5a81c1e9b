#include "driver/form_driver.h"

#include <cctype>
#include <cstdio>

#include "forms/win32/entry.h"

namespace formreel {

namespace {

constexpr UINT TickMilliseconds = 20;
FormScript* activeScript = nullptr;

void SendKey(WORD virtualKey, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

void PressKey(WORD virtualKey, bool ctrl, bool shift) {
  if (ctrl) SendKey(VK_CONTROL, false);
  if (shift) SendKey(VK_SHIFT, false);
  SendKey(virtualKey, false);
  SendKey(virtualKey, true);
  if (shift) SendKey(VK_SHIFT, true);
  if (ctrl) SendKey(VK_CONTROL, true);
}

void ClickAt(int x, int y) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  INPUT inputs[3]{};
  for (INPUT& input : inputs) {
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65536 + width / 2) / width;
    input.mi.dy = (y * 65536 + height / 2) / height;
  }
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(3, inputs, sizeof(INPUT));
}

}  // namespace

FormScript& FormScript::Type(const std::string& text) {
  for (char c : text) {
    steps_.push_back([c] {
      const SHORT scan = VkKeyScanA(c);
      PressKey(static_cast<WORD>(scan & 0xFF), (scan & 0x200) != 0, (scan & 0x100) != 0);
    });
  }
  return *this;
}

FormScript& FormScript::Key(WORD virtualKey, bool ctrl) {
  steps_.push_back([virtualKey, ctrl] { PressKey(virtualKey, ctrl, false); });
  return *this;
}

FormScript& FormScript::Click(std::function<HWND()> target) {
  steps_.push_back([target = std::move(target)] {
    RECT r{};
    GetWindowRect(target(), &r);
    ClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  });
  return *this;
}

FormScript& FormScript::Do(std::function<void()> step) {
  steps_.push_back(std::move(step));
  return *this;
}

void FormScript::Start(int graceTicks) {
  Stop();
  next_ = 0;
  stuck_ = false;
  graceLeft_ = graceTicks;
  activeScript = this;
  timer_ = SetTimer(nullptr, 0, TickMilliseconds, Tick);
}

void FormScript::Stop() {
  if (timer_ != 0) KillTimer(nullptr, timer_);
  timer_ = 0;
  if (activeScript == this) activeScript = nullptr;
}

void CALLBACK FormScript::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (activeScript != nullptr) activeScript->RunOneStep();
}

void FormScript::RunOneStep() {
  if (next_ < steps_.size()) {
    // The step may run a nested loop (a button's click, a dropped list), so
    // advance first.
    const std::size_t step = next_++;
    steps_[step]();
    return;
  }
  HWND form = OpenFormWindow();
  if (form == nullptr) {
    Stop();
    return;
  }
  if (--graceLeft_ <= 0) {
    stuck_ = true;
    Stop();
    SendMessageA(form, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

HWND OpenFormWindow() { return FindWindowA(FormClassName, nullptr); }

HWND FormControl(int id) {
  HWND form = OpenFormWindow();
  return form == nullptr ? nullptr : GetDlgItem(form, id);
}

std::string WindowText(HWND window) {
  char buffer[256] = {};
  const int n = GetWindowTextA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

std::string WindowClass(HWND window) {
  char buffer[64] = {};
  const int n = GetClassNameA(window, buffer, sizeof buffer);
  return std::string(buffer, n > 0 ? static_cast<std::size_t>(n) : 0);
}

HWND FocusedControl() {
  HWND focus = GetFocus();
  if (focus != nullptr && WindowClass(focus) == "Edit") {
    HWND parent = GetParent(focus);
    if (parent != nullptr && _stricmp(WindowClass(parent).c_str(), "ComboBox") == 0) return parent;
  }
  return focus;
}

bool RunForm(FormScript& script, const std::string& descriptor, std::span<std::int8_t> selections,
             std::span<ValueSlot> values, const FormRules& rules) {
  InstanceHandle instance = GetModuleHandleA(nullptr);
  WindowHandle owner = nullptr;
  script.Start();
  const bool confirmed = FormEntry(instance, owner, descriptor.data(),
                                   static_cast<std::int32_t>(descriptor.size()), selections, values, rules);
  script.Stop();
  return confirmed;
}

RECT ClientBox(HWND control) {
  RECT r{};
  GetWindowRect(control, &r);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool SaveScreenshot(const RECT& area, const std::string& name) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up, as BMP files store it
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  GdiFlush();
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD imageBytes = rowBytes * static_cast<DWORD>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof info.bmiHeader;
  file.bfSize = file.bfOffBits + imageBytes;
  info.bmiHeader.biSizeImage = imageBytes;
  bool saved = false;
  CreateDirectoryA("screenshots", nullptr);
  const std::string path = "screenshots\\" + name + ".bmp";
  if (FILE* out = std::fopen(path.c_str(), "wb")) {
    saved = std::fwrite(&file, sizeof file, 1, out) == 1 &&
            std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
            std::fwrite(bits, 1, imageBytes, out) == imageBytes;
    saved = std::fclose(out) == 0 && saved;
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return saved;
}

namespace {

WindowCallLog* activeLog = nullptr;

bool IsFormWindow(HWND window) { return window != nullptr && WindowClass(window) == FormClassName; }

std::string Hex(unsigned long value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08lx", value);
  return text;
}

// The form's own name for a window: its identifier, or "form".
std::string WindowName(HWND window) {
  return IsFormWindow(window) ? "form" : std::to_string(GetDlgCtrlID(window));
}

}  // namespace

WindowCallLog::WindowCallLog() {
  activeLog = this;
  createHook_ = SetWindowsHookExA(WH_CBT, OnCreate, nullptr, GetCurrentThreadId());
  sendHook_ = SetWindowsHookExA(WH_CALLWNDPROC, OnSend, nullptr, GetCurrentThreadId());
}

WindowCallLog::~WindowCallLog() {
  UnhookWindowsHookEx(createHook_);
  UnhookWindowsHookEx(sendHook_);
  activeLog = nullptr;
}

LRESULT CALLBACK WindowCallLog::OnCreate(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && activeLog != nullptr) {
    const CREATESTRUCTA& cs = *reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
    const bool named = HIWORD(reinterpret_cast<UINT_PTR>(cs.lpszClass)) != 0;
    const std::string windowClass = named ? cs.lpszClass : "#atom";
    if (windowClass == FormClassName || IsFormWindow(cs.hwndParent)) {
      activeLog->lines.push_back(
          "create " + windowClass + " '" + (cs.lpszName != nullptr ? cs.lpszName : "") + "' " +
          Hex(static_cast<unsigned long>(cs.style)) + " " + std::to_string(cs.x) + "," + std::to_string(cs.y) +
          " " + std::to_string(cs.cx) + "x" + std::to_string(cs.cy) + " id " +
          std::to_string(reinterpret_cast<UINT_PTR>(cs.hMenu)));
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK WindowCallLog::OnSend(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HC_ACTION && activeLog != nullptr) {
    const CWPSTRUCT& sent = *reinterpret_cast<CWPSTRUCT*>(lParam);
    if (IsFormWindow(sent.hwnd) || IsFormWindow(GetParent(sent.hwnd))) {
      const std::string who = WindowName(sent.hwnd);
      const auto index = std::to_string(static_cast<int>(sent.wParam));
      switch (sent.message) {
        case WM_SETTEXT:
          activeLog->lines.push_back(who + " WM_SETTEXT '" + reinterpret_cast<const char*>(sent.lParam) + "'");
          break;
        case CB_ADDSTRING:
          activeLog->lines.push_back(who + " CB_ADDSTRING '" + reinterpret_cast<const char*>(sent.lParam) + "'");
          break;
        case CB_SETCURSEL: activeLog->lines.push_back(who + " CB_SETCURSEL " + index); break;
        case CB_SETITEMHEIGHT:
          activeLog->lines.push_back(who + " CB_SETITEMHEIGHT " + index + " " +
                                     std::to_string(static_cast<int>(sent.lParam)));
          break;
        default: break;
      }
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace formreel
