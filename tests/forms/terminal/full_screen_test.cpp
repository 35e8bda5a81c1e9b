// A C++ program's form in a real terminal (a tmux pane), for the ways out
// that only a running program shows.
#include <gtest/gtest.h>

#include <signal.h>

#include "tests/driver/terminal_test.h"
#include "tests/support/markdown.h"
#include "tests/support/poll.h"

namespace {

class FullScreenForm : public TerminalProgramTest {
 protected:
  // The probe, its errors on the terminal as a program's are; then SIGUSR1
  // unless `mode` is "-".
  void Start(const std::string& mode, const std::string& timeLimit = "", int columns = 100, int rows = 30) {
    const std::string probe = ShellQuoted(FORMREEL_FULL_SCREEN_PROBE);
    TerminalProgramTest::Start("/bin/sh", {"-c", "exec " + probe + " " + mode + " " + timeLimit + " 2>/dev/tty"},
                               "NAME", columns, rows);
    if (mode.empty() || mode == "-") return;
    const CommandResult child = RunCommand({"pgrep", "-P", tmux_.Format("#{pane_pid}")}, ScreenLimit);
    ASSERT_EQ(child.status, 0);
    ASSERT_EQ(kill(std::stoi(child.output), SIGUSR1), 0);
  }
};

// CTRL-C is the program's to act on: the call answers Interrupted and the
// program goes on.
TEST_F(FullScreenForm, CtrlCEndsTheCallAsInterrupted) {
  Start("");
  ASSERT_TRUE(tmux_.Press({"C-c"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0);
  EXPECT_EQ(outcome.output, "interrupted\n");
}

// The report lands on the screen the person returns to, the cursor shown.
TEST_F(FullScreenForm, ARunTimeErrorGivesTheTerminalBackBeforeItsReport) {
  Start("fatal");
  EXPECT_EQ(Finish().status, 3);
  EXPECT_NE(tmux_.Screen().find("formreel: run-time error: text position outside its storage"), std::string::npos)
      << tmux_.Screen();
  EXPECT_EQ(tmux_.Format("#{alternate_on} #{cursor_flag}"), "0 1");
}

// A wait that fails for good ends the form rather than trying again for ever.
TEST_F(FullScreenForm, AFailingWaitEndsTheFormAndGivesTheTerminalBack) {
  Start("poll");
  ASSERT_TRUE(PollUntil(ScreenLimit, [&] { return formreel::ReadWhole(folder_ / "out") == "waits fail\n"; }));
  ASSERT_TRUE(tmux_.Type("x"));  // wakes the form, whose next wait fails
  EXPECT_EQ(Finish().output, "waits fail\ninterrupted\n");
  EXPECT_EQ(tmux_.Format("#{alternate_on} #{cursor_flag}"), "0 1");
}

// Each kind typed into; the hidden texts (the program's QZ#%, then XV9Q
// typed a key at a time) in no screen, nor any of their characters, which
// no other text on it holds.
TEST_F(FullScreenForm, EachKindTypedIntoTheHiddenTextNeverShown) {
  Start("-", "", 80, 24);
  std::vector<std::string> screens;
  const auto shows = [&](const std::string& text) {
    const std::optional<std::string> screen = tmux_.WaitForScreen(text, ScreenLimit);
    screens.push_back(screen.value_or(tmux_.Screen()));
    return screen.has_value();
  };
  ASSERT_TRUE(shows(" PASSWORD" + std::string(22, ' ') + "••••\n"));
  ASSERT_TRUE(tmux_.Type("CLIP") && tmux_.Press({"Tab"}) && tmux_.Type("8443") && tmux_.Press({"Tab"}));
  for (const std::string masks : {"•", "••", "•••", "••••"})
    ASSERT_TRUE(tmux_.Type(std::string(1, "XV9Q"[masks.size() / 3 - 1])) &&
                shows(" PASSWORD" + std::string(22, ' ') + masks + "\n"));
  const std::string host = "staging-db-01.eu-west-1.example.com";
  ASSERT_TRUE(tmux_.Press({"Tab"}) && tmux_.Type(host));
  ASSERT_TRUE(shows(" HOST" + std::string(26, ' ') + "<" + host.substr(host.size() - 28) + "\n")) << screens.back();
  ASSERT_TRUE(tmux_.Press({"Tab", "Space", "Enter", "Space", "Tab", "Space"}));
  ASSERT_TRUE(shows("[x] FILM  [ ] NEWS\n" + std::string(31, ' ') + "[x] DOCUMENTARY")) << screens.back();
  ASSERT_TRUE(tmux_.Press({"C-j"}));
  EXPECT_EQ(Finish().output, "CLIP\n8443\nXV9Q\n" + host + "\n5\nconfirmed\n");
  for (const std::string& screen : screens) EXPECT_EQ(screen.find_first_of("QZ#%XV9"), std::string::npos) << screen;
}

// The time limit ends the form once that long has passed without a key,
// each key giving the whole time again, and the terminal is given back.
TEST_F(FullScreenForm, ATimeLimitEndsTheFormAfterTheLastKey) {
  Start("-", "1500");
  const auto shown = std::chrono::steady_clock::now();
  auto lastKey = shown;
  ASSERT_TRUE(tmux_.Type("a"));
  for (int k = 0; lastKey - shown < std::chrono::milliseconds(800); ++k) {  // LEFT, RIGHT, LEFT, ...
    lastKey = std::chrono::steady_clock::now();
    ASSERT_TRUE(tmux_.Press({k % 2 == 0 ? "Left" : "Right"}));
    ASSERT_TRUE(PollUntil(ScreenLimit, [&] { return Cursor() == (k % 2 == 0 ? "31 2" : "32 2"); }));
  }
  EXPECT_EQ(Finish().output, "timed out\n");
  EXPECT_GE(std::chrono::steady_clock::now() - lastKey, std::chrono::milliseconds(1500));
  EXPECT_EQ(tmux_.Format("#{alternate_on} #{cursor_flag}"), "0 1");
}

}  // namespace
