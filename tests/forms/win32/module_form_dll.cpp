// A DLL with a copy of the facility of its own, linked statically, as a
// program's plug-in may have: it shows forms for the program that loads it.
#include <windows.h>

#include <cstdint>
#include <span>

#include "formreel/forms.h"

// Shows `descriptor` with `instance` as the caller's instance and returns
// how the call ended (a FormEntryEnd).
extern "C" __declspec(dllexport) int ShowDllForm(HINSTANCE instance, const char* descriptor, std::int32_t length,
                                                 std::int8_t* selections, formreel::ValueSlot* values,
                                                 std::size_t fieldCount) {
  const formreel::InstanceHandle caller = instance;
  const formreel::WindowHandle owner = nullptr;
  formreel::FormEntry(caller, owner, descriptor, length, std::span(selections, fieldCount),
                      std::span(values, fieldCount));
  return static_cast<int>(formreel::LastFormEntryEnd());
}
