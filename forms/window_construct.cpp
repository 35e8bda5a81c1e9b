#include "forms/construction.h"
#include "forms/window.h"

namespace {

// Font metrics of the stock fixed-pitch font, as the form measures them.
struct FontMetrics {
  std::int32_t charWidth;
  std::int32_t lineHeight;
};

FontMetrics MeasureFixedFont(HDC dc) {
  SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return {metrics.tmAveCharWidth, metrics.tmHeight + metrics.tmExternalLeading};
}

// Real controls, children of the form window.
class WindowControlFactory final : public FormControlFactory {
 public:
  explicit WindowControlFactory(HWND form) : form_(form) {}

  void PlaceFormWindow(std::int32_t width, std::int32_t height) override {
    MoveWindow(form_, 0, 0, width, height, TRUE);
  }
  WindowHandle CreateComboBox(std::uint32_t style, Box box, std::uint32_t id) override {
    return Create("combobox", "", style, box, id);
  }
  WindowHandle CreateButton(const char* caption, Box box, std::uint32_t id) override {
    return Create("button", caption, PushButtonStyle, box, id);
  }
  void SetText(WindowHandle control, const char* text) override { SetWindowTextA(control, text); }
  void AddListEntry(WindowHandle comboBox, const char* text) override {
    SendMessageA(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  }
  void SelectListEntry(WindowHandle comboBox, std::int32_t index) override {
    SendMessageA(comboBox, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
  void SetItemHeight(WindowHandle comboBox, std::int32_t index, std::int32_t height) override {
    SendMessageA(comboBox, CB_SETITEMHEIGHT, static_cast<WPARAM>(index), height);
  }
  void SetCaption(const char* text) override { SetWindowTextA(form_, text); }

 private:
  HWND Create(const char* windowClass, const char* text, std::uint32_t style, Box box, std::uint32_t id) {
    return CreateWindowExA(0, windowClass, text, style, box.x, box.y, box.width, box.height, form_,
                           reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), formState.instance,
                           nullptr);
  }
  HWND form_;
};

}  // namespace

void ConstructForm(HWND window) {
  HDC dc = GetDC(window);
  const FontMetrics font = MeasureFixedFont(dc);
  ReleaseDC(window, dc);
  WindowControlFactory factory(window);
  BuildForm(formState, font.charWidth, font.lineHeight, factory);
}
