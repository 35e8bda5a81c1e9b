#include "app/application.h"

#include "forms/entry.h"

// For now: one form with no fields, to show the facility running.
std::int32_t ApplicationMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static constexpr char demo[] = "TTHE FORM FACILITY\\|";
  WindowHandle owner = nullptr;
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  FormEntry(instance, owner, demo, sizeof demo, selections, values);
  return 0;
}
