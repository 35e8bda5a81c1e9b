// The form window's Win32 side: the window procedure and its handlers. What
// each handler decides is platform-free (construction, painting, navigation,
// read-back); here it meets the real window, its controls and the focus.
#include "forms/win32/window.h"

#include <algorithm>
#include <array>

#include "forms/core/construction.h"
#include "forms/core/field_kinds.h"
#include "forms/core/layout.h"
#include "forms/core/keys.h"
#include "forms/core/navigation.h"
#include "forms/core/painting.h"
#include "forms/core/read_back.h"

namespace formreel {

namespace {

// The stock fixed-pitch font selected into `dc`, and its two metrics.
void SelectFixedFont(HDC dc, std::int32_t& charWidth, std::int32_t& lineHeight) {
  SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  charWidth = metrics.tmAveCharWidth;
  lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
}

// Draws `text` of the active code page as its characters: the stock font
// would draw each byte of a multi-byte character as a character of its own.
void DrawCharacters(HDC dc, const PaintedText& piece) {
  std::array<wchar_t, LineBytes> wide{};
  const int length = MultiByteToWideChar(CP_ACP, 0, piece.text.data(), static_cast<int>(piece.text.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  TextOutW(dc, piece.origin.x, piece.origin.y, wide.data(), length);
}

// The window behind a handle this front end made.
HWND Window(ControlHandle control) { return control.As<HWND__>(); }

// Reads the text of a field's control of `kind` into `text`, NUL-terminated,
// and returns its length: up to a long or hidden text's 255 bytes; for
// the other fields up to 79, as the form has always asked (a C field keeps
// 30 of them, a number field its first 79).
std::int32_t ReadFieldText(HWND control, const FieldKind& kind, FieldText& text) {
  text.Set(1, Nul);  // GetWindowTextA may leave the buffer alone when it fails
  return GetWindowTextA(control, text.Buffer(), std::max(kind.maxBytes + 1, ScratchWidth));
}

// Real controls, children of the form window, placed by the layout from
// the form's metrics.
class WindowControlFactory final : public FormControlFactory {
 public:
  explicit WindowControlFactory(HWND form) : form_(form) {}

  void TextLine(std::int32_t, TextView) override {}  // painted from the line table
  ControlHandle CreateField(std::int32_t field, std::int32_t line, const FieldKind& kind, TextView) override {
    const HWND control = Create(FieldWindowControl(formState.metrics, field, line, kind), "");
    // The text a field takes: an edit field's, a long text's combo box's.
    if (kind.control == ControlKind::HiddenText)
      SendMessageA(control, EM_SETLIMITTEXT, static_cast<WPARAM>(kind.maxBytes), 0);
    else if (kind.ScrollsSideways())
      SendMessageA(control, CB_LIMITTEXT, static_cast<WPARAM>(kind.maxBytes), 0);
    return ControlHandle(control);
  }
  ControlHandle CreatePosition(std::int32_t, std::int32_t line, const FieldKind& kind, std::int32_t index,
                               std::int32_t count, std::int32_t number, const char* caption, TextView) override {
    return ControlHandle(Create(PositionWindowControl(formState.metrics, line, kind, index, count, number), caption));
  }
  ControlHandle CreateFormButton(FormButton button, const char* caption) override {
    return ControlHandle(Create(FormButtonWindowControl(formState.metrics, button), caption));
  }
  void SetText(ControlHandle control, const char* text) override { SetWindowTextA(Window(control), text); }
  void ReadText(ControlHandle control, const FieldKind& kind, FieldText& text) override {
    ReadFieldText(Window(control), kind, text);
  }
  void AddListEntry(ControlHandle comboBox, const char* text) override {
    SendMessageA(Window(comboBox), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  void SelectListEntry(ControlHandle comboBox, std::int32_t index) override {
    SendMessageA(Window(comboBox), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  // A list that is shown gets rows of a control's height, its selection
  // field too; an empty one a tall empty drop-down.
  void ListComplete(ControlHandle comboBox, bool shown) override {
    const FormMetrics& m = formState.metrics;
    if (shown) {
      SetItemHeight(comboBox, 0, ControlRowHeight(m));
      SetItemHeight(comboBox, -1, ControlRowHeight(m));
    } else {
      SetItemHeight(comboBox, 0, EmptyListItemHeight(m));
    }
  }
  void SetChecked(ControlHandle box, bool checked) override {
    SendMessageA(Window(box), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void SetCaption(const char* text) override { SetWindowTextA(form_, text); }

 private:
  HWND Create(const WindowControl& c, const char* text) {
    return CreateWindowExA(c.extendedStyle, c.windowClass, text, c.style, c.box.x, c.box.y, c.box.width,
                           c.box.height, form_, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)),
                           FacilityModule(), nullptr);
  }
  static void SetItemHeight(ControlHandle comboBox, std::int32_t index, std::int32_t height) {
    SendMessageA(Window(comboBox), CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
  }
  HWND form_;
};

// The form's real controls, as read-back asks them.
class WindowFieldControls final : public FieldControls {
 public:
  std::int32_t ChosenEntry(std::int32_t field) override {
    const ControlKind control = KindOf(formState.fieldTypes[field]).control;
    if (control != ControlKind::EditableList && control != ControlKind::ListOnly) return -1;
    return static_cast<std::int32_t>(SendMessageA(Window(formState.controls[field]), CB_GETCURSEL, 0, 0));
  }
  std::int32_t ReadText(std::int32_t field, FieldText& text) override {
    return ReadFieldText(Window(formState.controls[field]), KindOf(formState.fieldTypes[field]), text);
  }
  std::uint8_t CheckedBoxes(std::int32_t field) override {
    std::uint8_t bits = 0;
    for (std::int32_t m = 1; m <= formState.groupSize[field]; ++m)
      if (SendMessageA(Window(PositionControl(formState, field, m)), BM_GETCHECK, 0, 0) == BST_CHECKED)
        bits = static_cast<std::uint8_t>(bits | 1u << (m - 1));
    return bits;
  }
};

// The control of the current position's field kind.
ControlKind CurrentControl() {
  const std::int32_t i = formState.currentField;
  return i >= 1 && i <= formState.fieldCount ? KindOf(formState.fieldTypes[i]).control : ControlKind::None;
}

// The focus to the current position. A hidden text's whole text is then
// selected, as a combo box selects its own: typing replaces it.
void FocusTarget() {
  const HWND target = Window(formState.controls[FocusTargetSlot]);
  SetFocus(target);
  if (CurrentControl() == ControlKind::HiddenText) SendMessageA(target, EM_SETSEL, 0, -1);
}

// Back on the field whose value was refused, silently, its whole text
// selected even when it kept the focus, as a dialog selects an edit's text
// when the keyboard moves into it: typing replaces the bad value rather
// than adding to it. Check boxes are back at their first box (read-back
// aims the focus there).
void FocusBadField() {
  FocusTarget();
  const ControlKind control = CurrentControl();
  if (control == ControlKind::EditableList || control == ControlKind::ListOnly)
    SendMessageA(Window(formState.controls[FocusTargetSlot]), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

// WM_CREATE: the whole form, from the descriptor in formState.
void OnCreate(HWND window) {
  std::int32_t charWidth = 0;
  std::int32_t lineHeight = 0;
  HDC dc = GetDC(window);
  SelectFixedFont(dc, charWidth, lineHeight);
  ReleaseDC(window, dc);
  formState.metrics = MetricsFor(charWidth, lineHeight, LineCountOf(formState));
  MoveWindow(window, 0, 0, FormWindowWidth(formState.metrics), FormWindowHeight(formState.metrics), TRUE);
  WindowControlFactory factory(window);
  BuildForm(formState, factory);
}

// WM_PAINT: the prompts, text lines, marks and key help. The metrics are
// measured again, as every paint does.
void OnPaint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SelectFixedFont(dc, formState.metrics.charWidth, formState.metrics.lineHeight);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  const FormPaint texts = PaintFormText(formState);
  for (const PaintedText& piece : texts.Texts()) DrawCharacters(dc, piece);
  EndPaint(window, &paint);
}

// WM_CTLCOLORSTATIC, which of the form's controls only check boxes send:
// they stand on the form's background, as the prompts do, not on a
// button's.
LRESULT OnCheckBoxColours(HDC dc) {
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

// WM_SETFOCUS: the form window never keeps the focus itself.
void OnSetFocus() {
  ChooseFocusOnActivation(formState);
  FocusTarget();
}

// O.K., CTRL-ENTER, or group button `groupButton` (0 for none): every field
// is read back; the window goes only when all of them converted, and the C
// texts reach the caller's buffers only then.
void OnConfirm(HWND window, std::int32_t groupButton) {
  WindowFieldControls controls;
  if (ConfirmFields(formState, groupButton, controls))
    DestroyWindow(window);
  else
    FocusBadField();
}

// CANCEL, ESCAPE, or a close from the window frame.
void OnCancel(HWND window) {
  formState.confirmed = false;
  DestroyWindow(window);
}

// The whole first parameter is the command: a control's notification acts
// only when its code is 0, a button's click.
void OnCommand(HWND window, WPARAM command) {
  const CommandMeaning meaning = MeaningOf(command);
  switch (meaning.act) {
    case CommandMeaning::Act::Confirm: OnConfirm(window, meaning.groupButton); return;
    case CommandMeaning::Act::Cancel: OnCancel(window); return;
    case CommandMeaning::Act::NextField: StepToNextField(formState); FocusTarget(); return;
    case CommandMeaning::Act::PreviousField: StepToPreviousField(formState); FocusTarget(); return;
    case CommandMeaning::Act::None: return;
  }
}

}  // namespace

HINSTANCE FacilityModule() {
  static const HINSTANCE module = [] {
    HMODULE found = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&FormWindowProc), &found);
    return found;
  }();
  return module;
}

LRESULT CALLBACK FormWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: OnCreate(window); return 1;
    case WM_DESTROY: PostQuitMessage(0); return 1;
    case WM_SETFOCUS: OnSetFocus(); return 1;
    case WM_PAINT: OnPaint(window); return 1;
    case WM_CLOSE: OnCancel(window); return 1;
    case WM_COMMAND: OnCommand(window, wParam); return 1;
    case WM_CTLCOLORSTATIC: return OnCheckBoxColours(reinterpret_cast<HDC>(wParam));
    default: return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace formreel
