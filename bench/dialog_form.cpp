// A peer of formreel's name form in bench/startup: the same form as a
// programmer would get it from the system's dialog manager. A main window
// "MAIN" first, as formreel.exe has, then a modal dialog titled "FORM", owned
// by it, from a template built in memory: the prompt, an editable combo box
// holding "Quit NOW ", O.K., CANCEL and the two key-help lines.
#include <windows.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace {

constexpr WORD ButtonClass = 0x0080;
constexpr WORD StaticClass = 0x0082;
constexpr WORD ComboBoxClass = 0x0085;
constexpr WORD NameFieldId = 202;

// The template layout has no padding: the header and each item are 18 bytes.
static_assert(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18);

// A dialog template in a fixed buffer: DLGTEMPLATE, then one DLGITEMTEMPLATE
// per control, each on a DWORD boundary. Whatever does not fit makes the
// template invalid rather than overrunning the buffer.
class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height, const char* title) {
    DLGTEMPLATE header{};
    header.style = style;
    header.cx = width;
    header.cy = height;
    PutStruct(header);
    PutWord(0);  // no menu
    PutWord(0);  // the dialog class
    PutText(title);
  }

  void AddControl(WORD windowClass, const char* text, DWORD style, short x, short y, short width,
                  short height, WORD id) {
    AlignToDword();
    DLGITEMTEMPLATE item{};
    item.style = style | WS_CHILD | WS_VISIBLE;
    item.x = x;
    item.y = y;
    item.cx = width;
    item.cy = height;
    item.id = id;
    PutStruct(item);
    PutWord(0xFFFF);  // a predefined class by its atom
    PutWord(windowClass);
    PutText(text);
    PutWord(0);  // no creation data
    if (!valid_) return;
    ++controls_;
    const auto* count = reinterpret_cast<const BYTE*>(&controls_);
    for (std::size_t k = 0; k < sizeof controls_; ++k)
      bytes_[offsetof(DLGTEMPLATE, cdit) + k] = count[k];
  }

  // The template, or nullptr when it overflowed its buffer.
  const DLGTEMPLATE* Get() const {
    return valid_ ? reinterpret_cast<const DLGTEMPLATE*>(bytes_.data()) : nullptr;
  }

 private:
  template <typename T>
  void PutStruct(const T& value) {
    PutBytes(&value, sizeof value);
  }
  void PutWord(WORD value) { PutBytes(&value, sizeof value); }
  // The text as UTF-16; the dialog texts are plain ASCII.
  void PutText(const char* text) {
    for (const char* c = text; *c != '\0'; ++c) PutWord(static_cast<unsigned char>(*c));
    PutWord(0);
  }
  void AlignToDword() {
    while (used_ % sizeof(DWORD) != 0) PutBytes("", 1);
  }
  void PutBytes(const void* data, std::size_t size) {
    if (!valid_ || size > bytes_.size() - used_) {
      valid_ = false;
      return;
    }
    const auto* from = static_cast<const BYTE*>(data);
    for (std::size_t k = 0; k < size; ++k) bytes_[used_ + k] = from[k];
    used_ += size;
  }

  alignas(DWORD) std::array<BYTE, 2048> bytes_{};
  std::size_t used_ = 0;
  WORD controls_ = 0;
  bool valid_ = true;
};

INT_PTR OnInitDialog(HWND dialog) {
  SendDlgItemMessageA(dialog, NameFieldId, CB_ADDSTRING, 0,
                      reinterpret_cast<LPARAM>("Quit NOW "));
  return TRUE;  // the focus goes to the first control that takes it: the field
}

INT_PTR OnCommand(HWND dialog, WORD id) {
  if (id == IDOK || id == IDCANCEL) {
    EndDialog(dialog, id);
    return TRUE;
  }
  return FALSE;
}

INT_PTR CALLBACK NameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog(dialog);
    case WM_COMMAND:
      return OnCommand(dialog, LOWORD(wParam));
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  WNDCLASSA mainClass{};
  mainClass.lpfnWndProc = DefWindowProcA;
  mainClass.hInstance = instance;
  mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  mainClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
  mainClass.lpszClassName = "DialogPeerMain";
  if (RegisterClassA(&mainClass) == 0) return 1;
  HWND mainWindow = CreateWindowExA(0, "DialogPeerMain", "MAIN", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                    0, CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  if (mainWindow == nullptr) return 1;
  ShowWindow(mainWindow, showCommand);

  // Dialog units of the system font, laid out like formreel's form.
  DialogTemplate form(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_VISIBLE, 256, 84,
                      "FORM");
  form.AddControl(StaticClass, "AVI FILE NAME LESS EXTENSION", SS_LEFT, 4, 8, 116, 10, 101);
  form.AddControl(ComboBoxClass, "", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP,
                  120, 6, 120, 60, NameFieldId);
  form.AddControl(ButtonClass, "O.K.", BS_DEFPUSHBUTTON | WS_TABSTOP, 4, 28, 104, 14, IDOK);
  form.AddControl(ButtonClass, "CANCEL", BS_PUSHBUTTON | WS_TABSTOP, 128, 28, 104, 14, IDCANCEL);
  form.AddControl(StaticClass, "ENTER or TAB=down   CTRL-BACKSPACE=up   ESCAPE = Cancel", SS_LEFT,
                  4, 54, 248, 10, 102);
  form.AddControl(StaticClass, "SPACE BAR presses button       CNTR-ENTER=confirms form", SS_LEFT,
                  4, 66, 248, 10, 103);
  const DLGTEMPLATE* dialogTemplate = form.Get();
  if (dialogTemplate == nullptr) return 1;
  const INT_PTR answer =
      DialogBoxIndirectParamA(instance, dialogTemplate, mainWindow, NameDialogProc, 0);
  DestroyWindow(mainWindow);
  return answer == IDOK ? 0 : 1;
}
