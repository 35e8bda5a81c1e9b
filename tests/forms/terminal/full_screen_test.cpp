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
  // The probe, its errors on the terminal as a program's are; then SIGUSR1.
  void Start(const std::string& mode) {
    const std::string probe = ShellQuoted(FORMREEL_FULL_SCREEN_PROBE);
    TerminalProgramTest::Start("/bin/sh", {"-c", "exec " + probe + " " + mode + " 2>/dev/tty"}, "NAME");
    if (mode.empty()) return;
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

}  // namespace
