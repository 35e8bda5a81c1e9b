// A program and a DLL that both link the facility statically have a copy of
// it each: each copy's forms are windows of its own class, run by its own
// window procedure on its own state, whatever instance the caller passes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/form_driver.h"

namespace formreel {

namespace {

using namespace std::string_literals;

// tests/forms/win32/module_form_dll.cpp
using ShowDllForm = int (*)(HINSTANCE, const char*, std::int32_t, std::int8_t*, ValueSlot*, std::size_t);

enum class Copy { Program, Dll };
enum class Passed { ProgramInstance, DllInstance, Null };

TEST(FormModules, EachCopyConfirmsItsOwnFormsWhateverInstanceIsPassed) {
  HMODULE dll = LoadLibraryA(FORMREEL_MODULE_DLL);
  ASSERT_NE(dll, nullptr) << FORMREEL_MODULE_DLL;
  // Through void (*)(), which may stand for any function type.
  const auto showDllForm =
      reinterpret_cast<ShowDllForm>(reinterpret_cast<void (*)()>(GetProcAddress(dll, "ShowDllForm")));
  ASSERT_NE(showDllForm, nullptr);
  struct Case {
    Copy copy;
    Passed passed;
    const char* answer;
  };
  const Case cases[] = {
      {Copy::Program, Passed::ProgramInstance, "PROGRAM OWN"},
      {Copy::Dll, Passed::DllInstance, "DLL OWN"},
      {Copy::Dll, Passed::ProgramInstance, "DLL PROGRAMS"},
      {Copy::Program, Passed::DllInstance, "PROGRAM DLLS"},
      {Copy::Dll, Passed::Null, "DLL NULL"},
  };
  constexpr std::size_t count = std::size(cases);
  // Every form's answer stays in its own buffer until the end, where a
  // copy that wrote another's would show.
  char answers[count][31] = {};
  const std::string descriptor = "CANSWER^|\0"s;
  const auto length = static_cast<std::int32_t>(descriptor.size());
  std::vector<int> ends;  // FormEntryEnd: 0 confirmed, 1 cancelled
  for (std::size_t k = 0; k < count; ++k) {
    const Case& c = cases[k];
    const InstanceHandle instance = c.passed == Passed::ProgramInstance ? GetModuleHandleA(nullptr)
                                    : c.passed == Passed::DllInstance   ? dll
                                                                        : nullptr;
    std::int8_t selections[1] = {};
    ValueSlot values[1] = {Slot(&answers[k][0])};
    // The form window and its controls are the copy's module's.
    const HMODULE copyModule = c.copy == Copy::Program ? GetModuleHandleA(nullptr) : dll;
    auto madeByTheCopy = [&] {
      for (HWND made : {OpenFormWindow(), FormControl(202), FormControl(200)})
        EXPECT_EQ(reinterpret_cast<HMODULE>(GetWindowLongPtrA(made, GWLP_HINSTANCE)), copyModule) << c.answer;
    };
    FormScript script;
    script.Do(madeByTheCopy).Type(c.answer).CtrlEnter();
    script.Start();
    if (c.copy == Copy::Program) {
      const WindowHandle owner = nullptr;
      FormEntry(instance, owner, descriptor.data(), length, selections, values);
      ends.push_back(static_cast<int>(LastFormEntryEnd()));
    } else {
      ends.push_back(showDllForm(instance, descriptor.data(), length, selections, values, 1));
    }
    script.Stop();
    EXPECT_FALSE(script.stuck()) << c.answer;
  }
  std::vector<std::string> expected, written;
  for (std::size_t k = 0; k < count; ++k) {
    expected.push_back(cases[k].answer);
    written.push_back(answers[k]);
  }
  EXPECT_EQ(ends, std::vector<int>(count, static_cast<int>(FormEntryEnd::Confirmed)));
  EXPECT_EQ(written, expected);
  FreeLibrary(dll);
}

}  // namespace

}  // namespace formreel
