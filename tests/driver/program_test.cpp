#include "tests/driver/program_test.h"

void ProgramTest::SetUp() {
  const std::string missing = MissingPrerequisite();
  if (!missing.empty()) GTEST_SKIP() << "needs Windows programs under Wine on a display: " << missing;
}

void ProgramTest::ShowWindow(const std::string& title) {
  const auto window = WaitForWindow(title, WindowLimit);
  ASSERT_TRUE(window) << "no window " << title << "; the program wrote:\n" << run_.Errors();
  ASSERT_TRUE(FocusWindow(*window));
}

ConsoleRun::Outcome ProgramTest::Finish() {
  const ConsoleRun::Outcome outcome = run_.Finish(ExitLimit);
  EXPECT_NE(outcome.status, -1) << "the program did not end within " << ExitLimit.count() << " ms";
  return outcome;
}
