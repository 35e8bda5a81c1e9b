// The example programs, built by another project against the installed
// package, run under Wine on an X display with keystrokes from xdotool:
// each prints what FormEntry handed back. Skipped unless
// FORMREEL_EXAMPLES_DIR names their build folder (./test sets it). And the
// README's commands for a project of one's own, run as they stand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tests/driver/program_test.h"
#include "tests/support/markdown.h"

using formreel::FencedBlockStartingWith;
using formreel::ReadWhole;

namespace {

using Outcome = ConsoleRun::Outcome;

class Example : public ProgramTest {
 protected:
  void SetUp() override {
    const char* dir = std::getenv("FORMREEL_EXAMPLES_DIR");
    if (dir == nullptr) GTEST_SKIP() << "FORMREEL_EXAMPLES_DIR is not set (./test builds the examples and sets it)";
    directory_ = dir;
  }

  // Starts `program` and gives its form, titled `title`, the focus.
  void Start(const std::string& program, const std::string& title = "^FORM$") {
    ASSERT_TRUE(std::filesystem::exists(directory_ + "/" + program)) << directory_ << "/" << program;
    ASSERT_TRUE(run_.Start(directory_, program));
    ShowWindow(title);
  }

  Outcome Finish() {
    Outcome outcome = ProgramTest::Finish();
    // Console output of a Windows program ends its lines with CR LF.
    std::erase(outcome.output, '\r');
    return outcome;
  }

  std::string directory_;
};

TEST_F(Example, TypedFieldsComeBackInTheirTypes) {
  Start("typed_fields.exe", "^Typed fields$");
  ASSERT_TRUE(TypeText("Grace"));
  for (const char* value : {"85", "16#7FFFFFFF", "1.70", "2.5D-1"}) {
    ASSERT_TRUE(PressKeys({"Tab"}));
    ASSERT_TRUE(TypeText(value));
  }
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "name: Grace\nage: 85\npopulation: 2147483647\nheight: 1.70000005\nratio: 0.25\n");
}

TEST_F(Example, TypedFieldsCancelledLeaveNothingChanged) {
  Start("typed_fields.exe", "^Typed fields$");
  ASSERT_TRUE(TypeText("Grace"));
  ASSERT_TRUE(PressKeys({"Escape"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, "cancelled\n");
}

TEST_F(Example, AListEntryAndThePressedButton) {
  Start("buttons_and_list.exe");
  ASSERT_TRUE(PressKeys({"Down", "Tab", "Tab", "space"}));  // BLUE, then DISCARD
  const Outcome pressed = Finish();
  EXPECT_EQ(pressed.status, 0);
  EXPECT_EQ(pressed.output, "colour: 3 BLUE\nbutton: 2 DISCARD\n");

  Start("buttons_and_list.exe");
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));  // GREEN as it started, no button
  const Outcome confirmed = Finish();
  EXPECT_EQ(confirmed.status, 0);
  EXPECT_EQ(confirmed.output, "colour: 2 GREEN\nbutton: 0 O.K. or CTRL-ENTER\n");
}

TEST_F(Example, TextLinesAndAHeading) {
  Start("text_and_heading.exe", "^Print the report$");
  ASSERT_TRUE(TypeText("LASER 9"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome typed = Finish();
  EXPECT_EQ(typed.status, 0);
  EXPECT_EQ(typed.output, "printer: LASER 9\n");

  Start("text_and_heading.exe", "^Print the report$");
  ASSERT_TRUE(PressKeys({"Down", "ctrl+Return"}));
  const Outcome chosen = Finish();
  EXPECT_EQ(chosen.status, 0);
  EXPECT_EQ(chosen.output, "printer: entry 1\n");
}

// The guide's first form, and the same through the typed layer: NAME typed
// over, KIND one entry down, YEAR typed, then confirmed or the second
// button pressed.
TEST_F(Example, TheGuidesFirstFormRawAndTyped) {
  struct Case {
    std::string program;
    std::vector<std::string> last;
    std::string printed;
  };
  const Case cases[] = {
      {"first_form.exe", {"ctrl+Return"}, "name REEL, kind 3, year 2001, frames 2500, speed 1, length 4.5, save\n"},
      {"typed_form.exe", {"Tab", "Tab", "Tab", "Tab", "Tab", "space"},
       "name REEL, kind 3, year 2001, frames 2500, speed 1, length 4.5, play\n"},
  };
  for (const Case& c : cases) {
    Start(c.program, "^New clip$");
    ASSERT_TRUE(TypeText("REEL"));
    ASSERT_TRUE(PressKeys({"Tab", "Down", "Tab"}));
    ASSERT_TRUE(TypeText("2001"));
    ASSERT_TRUE(PressKeys(c.last));
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, 0) << c.program;
    EXPECT_EQ(outcome.output, c.printed) << c.program;
  }
}

// The README's commands for a project of one's own; empty when it has none.
std::string ConsumerCommands() {
  return FencedBlockStartingWith(ReadWhole(FORMREEL_SOURCE_DIR "/README.md"), "cmake --install build/win64");
}

// A newcomer's project: the README's commands, run in a fresh home folder
// from the source tree as they stand, build a program on the installed
// package that starts under Wine, shows its form and prints the typed name.
TEST(Readme, ACallersOwnProjectRunsAsTheReadmeSays) {
  if (!std::filesystem::exists(FORMREEL_SOURCE_DIR "/build/win64/CMakeCache.txt"))
    GTEST_SKIP() << "the win64 build the README installs is missing";
  const std::string commands = ConsumerCommands();
  ASSERT_NE(commands.find("wine build/hello.exe"), std::string::npos) << "no consumer commands in README.md";

  char folder[] = "/tmp/formreel-readme-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string home = folder;
  std::ofstream(home + "/commands.sh", std::ios::binary) << commands;
  ChildProcess::Options options;
  options.directory = FORMREEL_SOURCE_DIR;
  options.environment = {{"HOME", home}, {"WINEDEBUG", "-all"}};
  options.outputPath = home + "/output";
  options.errorPath = home + "/errors";
  ChildProcess run;
  ASSERT_TRUE(run.Start({"bash", "-e", home + "/commands.sh"}, options));

  // Installing, configuring and building come first.
  const auto window = WaitForWindow("^Hello$", Milliseconds{300000});
  ASSERT_TRUE(window) << "no form; the commands wrote:\n" << ReadWhole(home + "/errors");
  ASSERT_TRUE(FocusWindow(*window));
  ASSERT_TRUE(TypeText("Ann"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const std::optional<int> status = run.Wait(ExitLimit);
  if (!status) run.Kill();
  std::string output = ReadWhole(home + "/output");
  std::erase(output, '\r');
  EXPECT_EQ(status, 0) << ReadWhole(home + "/errors");
  EXPECT_TRUE(output.ends_with("\nHello, Ann!\n")) << output;
  std::filesystem::remove_all(home);
}

}  // namespace
