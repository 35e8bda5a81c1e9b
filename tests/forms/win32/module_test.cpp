// A program and a DLL that both link the facility statically have a copy of
// it each: each copy's forms are windows of its own module, run by its own
// window procedure on its own state, whatever instance the caller passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/form_driver.h"

namespace formreel {

namespace {

using namespace std::string_literals;

// tests/forms/win32/module_form_dll.cpp: how the DLL's FormEntry call ended.
using ShowDllForm = int (*)(HINSTANCE, const char*, std::int32_t, std::int8_t*, ValueSlot*, std::size_t);

TEST(FormModules, EachCopyConfirmsItsOwnFormsWhateverInstanceIsPassed) {
  const HMODULE program = GetModuleHandleA(nullptr);
  const HMODULE dll = LoadLibraryA(FORMREEL_MODULE_DLL);
  ASSERT_NE(dll, nullptr) << FORMREEL_MODULE_DLL;
  // Through void (*)(), which may stand for any function type.
  const auto showDllForm =
      reinterpret_cast<ShowDllForm>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "ShowDllForm")));
  ASSERT_NE(showDllForm, nullptr);
  struct Case {
    HMODULE copy;      // whose FormEntry shows the form
    HINSTANCE passed;  // the instance it is given
    const char* answer;
  };
  const Case cases[] = {{program, program, "PROGRAM OWN"}, {dll, dll, "DLL OWN"}, {dll, program, "DLL PROGRAMS"},
                        {program, dll, "PROGRAM DLLS"},    {dll, nullptr, "DLL NULL"}};
  // Every answer stays in its buffer to the end, where one that the other
  // copy wrote there would show.
  char answers[std::size(cases)][31] = {};
  const std::string descriptor = "CANSWER^|\0"s;
  const auto length = static_cast<std::int32_t>(descriptor.size());
  std::vector<int> ends;  // FormEntryEnd: 0 confirmed, 1 cancelled
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    std::int8_t selections[1] = {};
    ValueSlot values[1] = {Slot(&answers[k][0])};
    FormScript script;
    script.Do([&c] {  // the form window and its controls are the copy's
      for (HWND made : {OpenFormWindow(), FormControl(202), FormControl(200)})
        EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrA(made, GWLP_HINSTANCE)), c.copy) << c.answer;
    });
    script.Type(c.answer).CtrlEnter().Start();
    if (c.copy == program) {
      FormEntry(c.passed, nullptr, descriptor.data(), length, selections, values);
      ends.push_back(static_cast<int>(LastFormEntryEnd()));
    } else {
      ends.push_back(showDllForm(c.passed, descriptor.data(), length, selections, values, 1));
    }
    script.Stop();
  }
  EXPECT_EQ(ends, std::vector<int>(std::size(cases), static_cast<int>(FormEntryEnd::Confirmed)));
  for (std::size_t k = 0; k < std::size(cases); ++k) EXPECT_STREQ(answers[k], cases[k].answer);
  FreeLibrary(dll);
}

}  // namespace

}  // namespace formreel
