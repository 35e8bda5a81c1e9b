#include "forms/read_back.h"
#include "forms/window.h"

namespace {

// The form's real combo boxes.
class ComboBoxControls final : public FieldControls {
 public:
  std::int32_t ChosenEntry(std::int32_t field) override {
    return static_cast<std::int32_t>(SendMessageA(formState.controls[field], CB_GETCURSEL, 0, 0));
  }
  std::int32_t ReadText(std::int32_t field, Record& scratch) override {
    return GetWindowTextA(formState.controls[field], scratch.Buffer(), Record::length);
  }
};

}  // namespace

void ConfirmForm(HWND window, std::int32_t groupButton) {
  ComboBoxControls controls;
  static PendingTexts pending;
  if (ReadBackFields(formState, groupButton, controls, pending)) {
    DeliverPendingTexts(formState, pending);
    DestroyWindow(window);
  } else {
    SetFocus(formState.controls[FocusTargetSlot]);
  }
}

void CancelForm(HWND window) {
  formState.confirmed = false;
  DestroyWindow(window);
}
