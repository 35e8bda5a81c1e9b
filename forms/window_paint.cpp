#include "forms/painting.h"
#include "forms/window.h"

namespace {

class DeviceCanvas final : public TextCanvas {
 public:
  explicit DeviceCanvas(HDC dc) : dc_(dc) {}
  void DrawChars(Point origin, TextView text) override {
    TextOutA(dc_, origin.x, origin.y, text.data(), static_cast<int>(text.size()));
  }

 private:
  HDC dc_;
};

}  // namespace

void PaintForm(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SelectObject(dc, GetStockObject(SYSTEM_FIXED_FONT));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  formState.charWidth = metrics.tmAveCharWidth;
  formState.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  DeviceCanvas canvas(dc);
  PaintFormText(formState, canvas);
  EndPaint(window, &paint);
}
