// The example programs built natively against the installed package, run in
// a terminal (a tmux pane) with keys typed as a person types them: each
// prints what the form handed back. Skipped unless
// FORMREEL_NATIVE_EXAMPLES_DIR names their build folder (./test sets it).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/driver/terminal_test.h"

namespace {

class TerminalExample : public TerminalProgramTest {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("FORMREEL_NATIVE_EXAMPLES_DIR");
    if (dir == nullptr) GTEST_SKIP() << "FORMREEL_NATIVE_EXAMPLES_DIR is not set (./test builds the examples and sets it)";
    directory_ = dir;
    TerminalProgramTest::SetUp();
  }

  void Run(const std::string& program, const std::string& first) {
    ASSERT_TRUE(std::filesystem::exists(directory_ / program)) << directory_ / program;
    Start(directory_ / program, {}, first);
  }

  std::filesystem::path directory_;
};

// The guide's first form, and the same through the typed layer: NAME typed
// over (its text comes selected), KIND one entry down, YEAR typed, then the
// second button pressed or the form confirmed with CTRL-ENTER.
TEST_F(TerminalExample, TheGuidesFirstFormRawAndTyped) {
  struct Case {
    std::string program;
    std::vector<std::string> last;
    std::string printed;
  };
  const Case cases[] = {
      {"first_form", {"C-Enter"}, "name REEL, kind 3, year 2001, frames 2500, speed 1, length 4.5, save\n"},
      {"typed_form", {"Tab", "Tab", "Tab", "Tab", "Tab", "Space"},
       "name REEL, kind 3, year 2001, frames 2500, speed 1, length 4.5, play\n"},
  };
  for (const Case& c : cases) {
    Run(c.program, "Describe the clip to add");
    ASSERT_TRUE(tmux_.Type("REEL"));
    ASSERT_TRUE(tmux_.Press({"Tab", "Down", "Tab"}));
    ASSERT_TRUE(tmux_.Type("2001"));
    ASSERT_TRUE(tmux_.Press(c.last));
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, 0) << c.program << ": " << outcome.errors;
    EXPECT_EQ(outcome.output, c.printed) << c.program;
  }
}

TEST_F(TerminalExample, TheOthersAnswerInTheirOwnTypes) {
  Run("typed_fields", "Typed fields");
  ASSERT_TRUE(tmux_.Type("Grace"));
  for (const char* value : {"85", "16#7FFFFFFF", "1.70", "2.5D-1"}) {
    ASSERT_TRUE(tmux_.Press({"Tab"}));
    ASSERT_TRUE(tmux_.Type(value));
  }
  ASSERT_TRUE(tmux_.Press({"C-Enter"}));
  EXPECT_EQ(Finish().output, "name: Grace\nage: 85\npopulation: 2147483647\nheight: 1.70000005\nratio: 0.25\n");

  Run("buttons_and_list", "COLOUR");
  ASSERT_TRUE(tmux_.Press({"Down", "Tab", "Tab", "Space"}));
  EXPECT_EQ(Finish().output, "colour: 3 BLUE\nbutton: 2 DISCARD\n");

  Run("text_and_heading", "Print the report");
  ASSERT_TRUE(tmux_.Press({"Down", "Down", "C-Enter"}));
  EXPECT_EQ(Finish().output, "printer: entry 2\n");
}

}  // namespace
