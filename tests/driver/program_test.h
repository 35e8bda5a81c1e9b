// The one base of the fixtures whose tests start a Windows program under
// Wine and drive it from outside, as a person or a script would
// (program_driver.h). The in-process suites drive their forms with
// form_driver.h instead.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "tests/driver/program_driver.h"

// How long a program may take to show a window, and to end once told to.
constexpr Milliseconds WindowLimit{30000};
constexpr Milliseconds ExitLimit{30000};

class ProgramTest : public testing::Test {
 protected:
  // Skips the test when the Windows build has no program `name`.
  void SkipWithout(const std::string& name);

  // Waits for a visible window whose name matches the regular expression
  // `title` and gives it the keyboard focus; a fatal failure, showing what
  // the program wrote to its standard error, when none appears.
  void ShowWindow(const std::string& title);

  // Waits for the program's end and collects what it wrote; a failure when
  // it did not end in time (it is then killed).
  ConsoleRun::Outcome Finish();

  ConsoleRun run_;
};
