#include "tests/driver/program_test.h"

#include <filesystem>

namespace {

// Where Wine, the display, the tools or the Windows build are missing, not
// one test of the program runs: all are skipped before the first, with the
// line that ctest takes for a skipped program. So that line never hides a
// failure.
class Prerequisites : public testing::Environment {
 public:
  void SetUp() override {
    const std::string missing = MissingPrerequisite();
    if (!missing.empty())
      GTEST_SKIP() << "every test skipped: needs Windows programs under Wine on a display: " << missing;
  }
};

[[maybe_unused]] testing::Environment* const prerequisites =
    testing::AddGlobalTestEnvironment(new Prerequisites);

}  // namespace

void ProgramTest::SkipWithout(const std::string& name) {
  if (!std::filesystem::exists(ProgramDirectory() + "/" + name))
    GTEST_SKIP() << ProgramDirectory() << "/" << name << " is missing";
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
