// The native formentry in a real terminal, as a person and a script use it:
// a tmux pane runs it, keys are typed, and the screen, the answers and the
// exit status are read back.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include "tests/driver/terminal_test.h"
#include "tests/support/poll.h"

namespace {

class FormentryInTerminal : public TerminalProgramTest {
 protected:
  // Runs formentry with `arguments` and waits until the screen shows `first`.
  void Start(const std::vector<std::string>& arguments, const std::string& first, int columns = 100,
             int rows = 30, const std::vector<std::pair<std::string, std::string>>& environment = {}) {
    TerminalProgramTest::Start(FORMREEL_NATIVE_FORMENTRY, arguments, first, columns, rows, environment);
  }
};

TEST_F(FormentryInTerminal, EveryFieldTypeTypedOrChosen) {
  Start({"HNew clip|CNAME^|ISHORT^|LLONG^|RSINGLE^|DDOUBLE^|SKIND^FILM^CARTOON^NEWS^|IN^10^20^|"}, "New clip");
  ASSERT_TRUE(tmux_.Type("CLIP"));
  for (const char* value : {"-12", "16#FF", "1.5E3", "0.1"}) {
    ASSERT_TRUE(tmux_.Press({"Tab"}));
    ASSERT_TRUE(tmux_.Type(value));
  }
  ASSERT_TRUE(tmux_.Press({"Tab", "Down", "Down", "Tab", "F4", "Down", "Down", "Enter", "C-Enter"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "CLIP\n-12\n255\n1500\n0.1\nCARTOON\n20\n");
}

TEST_F(FormentryInTerminal, ABadValueKeepsTheFormOnItsFieldAndSaysWhy) {
  Start({"CNAME^|IYEAR^|"}, "YEAR");
  ASSERT_TRUE(tmux_.Press({"Tab"}));
  ASSERT_TRUE(tmux_.Type("19x4"));
  ASSERT_TRUE(tmux_.Press({"C-j"}));
  // Still open, the cursor after the bad text, which is selected: typed over.
  ASSERT_TRUE(tmux_.WaitForScreen("\n YEAR: not a 16-bit integer (-32768 to 32767): 19x4\n", ScreenLimit))
      << tmux_.Screen();
  ASSERT_TRUE(PollUntil(ScreenLimit, [&] { return Cursor() == "35 3"; })) << Cursor() << "\n" << tmux_.Screen();
  ASSERT_TRUE(tmux_.Type("1994"));
  ASSERT_TRUE(tmux_.Press({"C-Enter"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "\n1994\n");
}

TEST_F(FormentryInTerminal, AGroupButtonConfirms) {
  Start({"CNAME^|BSAVE^SAVE AND PLAY^|"}, "SAVE AND PLAY");
  ASSERT_TRUE(tmux_.Type("CLIP"));
  ASSERT_TRUE(tmux_.Press({"Tab", "Tab", "Space"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "CLIP\nSAVE AND PLAY\n");
}

// CTRL-C: CtrlCStopsTheScriptThatRunsFormentry.
TEST_F(FormentryInTerminal, EscapeCancels) {
  Start({"CNAME^|"}, "NAME");
  ASSERT_TRUE(tmux_.Type("CLIP"));
  ASSERT_TRUE(tmux_.Press({"Escape"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(tmux_.Format("#{alternate_on}"), "0");
}

// For terminals that cannot report CTRL-BACKSPACE and CTRL-ENTER.
TEST_F(FormentryInTerminal, ShiftTabMovesUpAndCtrlJConfirms) {
  Start({"CA^|CB^|"}, "B");
  ASSERT_TRUE(tmux_.Press({"BTab", "BTab", "BTab"}));  // CANCEL, O.K., B
  ASSERT_TRUE(tmux_.Type("up"));
  ASSERT_TRUE(tmux_.Press({"C-j"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "\nup\n");
}

// A CJK character fills two columns: the field of a CJK prompt starts in
// the column of an ASCII prompt's field.
TEST_F(FormentryInTerminal, FieldsOfCjkAndAsciiPromptsStartInOneColumn) {
  Start({"C名前^|CNAME^|"}, "名前");
  ASSERT_TRUE(tmux_.Type("ab"));
  const std::string first = Cursor();
  ASSERT_TRUE(tmux_.Press({"Tab"}));
  ASSERT_TRUE(tmux_.Type("ab"));
  ASSERT_TRUE(PollUntil(ScreenLimit, [&] { return Cursor() == "33 3"; })) << Cursor();
  EXPECT_EQ(first, "33 2");
  ASSERT_TRUE(tmux_.Press({"Escape"}));
  EXPECT_EQ(Finish().status, 1);
}

TEST_F(FormentryInTerminal, ATerminalTooSmallSaysSoAndTheFormComesWhenItGrows) {
  Start({"CNAME^|"}, "This form needs 62 columns and 10 rows", 50, 8);
  ASSERT_TRUE(tmux_.Resize(100, 30));
  ASSERT_TRUE(tmux_.WaitForScreen("NAME", ScreenLimit)) << tmux_.Screen();
  ASSERT_TRUE(tmux_.Resize(70, 12));
  const std::optional<std::string> screen = tmux_.WaitForScreenWithout("This form", ScreenLimit);
  ASSERT_TRUE(screen);
  EXPECT_NE(screen->find("CTRL-J=confirm"), std::string::npos) << *screen;
  ASSERT_TRUE(tmux_.Type("x"));
  ASSERT_TRUE(tmux_.Press({"C-j"}));
  EXPECT_EQ(Finish().output, "x\n");
}

TEST_F(FormentryInTerminal, SigtermAndSighupGiveTheTerminalBack) {
  for (const int signal : {SIGTERM, SIGHUP}) {
    Start({"CNAME^|"}, "NAME");
    ASSERT_EQ(tmux_.Format("#{alternate_on} #{cursor_flag}"), "1 1");
    // formentry is the child of the pane's shell.
    const CommandResult child = RunCommand({"pgrep", "-P", tmux_.Format("#{pane_pid}"), "formentry"}, ScreenLimit);
    ASSERT_EQ(child.status, 0);
    ASSERT_EQ(kill(std::stoi(child.output), signal), 0);
    EXPECT_EQ(Finish().status, 128 + signal);
    EXPECT_EQ(tmux_.Format("#{alternate_on} #{cursor_flag}"), "0 1") << signal;
  }
}

// Twenty fields in 80 x 24: the form scrolls to the focus, and says so.
TEST_F(FormentryInTerminal, TwentyFieldsScrollInEightyByTwentyFour) {
  std::string descriptor;
  for (int k = 1; k <= 20; ++k) descriptor += "CFIELD " + std::to_string(k) + "^|";
  Start({descriptor}, "▼ more below", 80, 24);
  for (int k = 1; k < 20; ++k) ASSERT_TRUE(tmux_.Press({"Tab"}));
  ASSERT_TRUE(tmux_.Type("last"));
  const std::optional<std::string> screen = tmux_.WaitForScreen("\n FIELD 20                      last", ScreenLimit);
  ASSERT_TRUE(screen) << tmux_.Screen();
  EXPECT_EQ(screen->find("\n ▲ more above\n FIELD 6\n"), screen->find('\n')) << *screen;
  EXPECT_EQ(Cursor(), "35 16");
  ASSERT_TRUE(tmux_.Press({"C-j"}));
  EXPECT_EQ(Finish().output, std::string(19, '\n') + "last\n");
}

// A descriptor from an untrusted source: its control characters show as
// themselves, and the terminal keeps its title. (Bytes that are not UTF-8
// formentry refuses; a program's own descriptor shows them as U+FFFD.)
TEST_F(FormentryInTerminal, ControlCharactersShowAsTextAndDriveNothing) {
  Start({"HA\x1b]2;HACKED\x07|CP\x1b[2J^|"}, "HACKED");
  const std::string screen = tmux_.Screen();
  EXPECT_NE(screen.find("A\u241b]2;HACKED\u2407"), std::string::npos) << screen;
  EXPECT_NE(screen.find("P\u241b[2J"), std::string::npos) << screen;
  EXPECT_EQ(tmux_.Format("#{pane_title}").find("HACKED"), std::string::npos);
  ASSERT_TRUE(tmux_.Press({"Escape"}));
  EXPECT_EQ(Finish().status, 1);
}

// TERM dumb, or naming no terminal description: no cursor addressing, a
// question a line.
TEST_F(FormentryInTerminal, ThePlainModeAsksOneFieldAtATime) {
  for (const char* term : {"dumb", "no-such-terminal"}) {
    Start({"HNew clip|CNAME^|IYEAR^|SKIND^FILM^CARTOON^|"}, "NAME", 100, 30, {{"TERM", term}});
    ASSERT_TRUE(tmux_.Type("CLIP"));
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    ASSERT_TRUE(tmux_.WaitForScreen("YEAR", ScreenLimit));
    ASSERT_TRUE(tmux_.Type("19x4"));
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    ASSERT_TRUE(tmux_.WaitForScreen("YEAR: not a 16-bit integer (-32768 to 32767): 19x4", ScreenLimit))
        << tmux_.Screen();
    ASSERT_TRUE(tmux_.Type("1994"));
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    ASSERT_TRUE(tmux_.WaitForScreen("Entry 2: CARTOON", ScreenLimit));
    ASSERT_TRUE(tmux_.Type("2"));
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    ASSERT_TRUE(tmux_.WaitForScreen("Y to confirm", ScreenLimit));
    ASSERT_TRUE(tmux_.Type("y"));
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, 0) << term << ": " << outcome.errors;
    EXPECT_EQ(outcome.output, "CLIP\n1994\nCARTOON\n") << term;
    EXPECT_EQ(tmux_.Format("#{alternate_on}"), "0") << term;
  }
}

// CTRL-C stops a script as it stops any command: in the full-screen form
// and the plain mode alike the whole job gets SIGINT, so the script ends by
// it before its next line, and the terminal is given back. The script runs
// as a job of its own in the terminal's foreground, as an interactive shell
// runs it (sh -m; bash without a terminal of its own keeps its jobs in the
// background).
TEST_F(FormentryInTerminal, CtrlCStopsTheScriptThatRunsFormentry) {
  for (const std::string mode : {"", "--plain"}) {
    const std::string script = ShellQuoted(FORMREEL_NATIVE_FORMENTRY) + " " + mode + " 'CNAME^|'; echo after";
    TerminalProgramTest::Start("sh", {"-c", "set -m; bash -c " + ShellQuoted(script)}, "NAME");
    ASSERT_TRUE(tmux_.Type("ab"));
    ASSERT_TRUE(tmux_.Press({"C-c"}));
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, 130) << mode << outcome.errors;
    EXPECT_EQ(outcome.output, "") << mode;  // no "after"
    EXPECT_EQ(tmux_.Format("#{alternate_on}"), "0") << mode;
  }
}

// The plain mode watches the signals too, and sends any but SIGINT on.
TEST_F(FormentryInTerminal, SigtermEndsThePlainModeByItself) {
  Start({"--plain", "CNAME^|"}, "NAME");
  const CommandResult child = RunCommand({"pgrep", "-P", tmux_.Format("#{pane_pid}"), "formentry"}, ScreenLimit);
  ASSERT_EQ(child.status, 0);
  ASSERT_EQ(kill(std::stoi(child.output), SIGTERM), 0);
  EXPECT_EQ(Finish().status, 128 + SIGTERM);
}

// A descriptor on standard input comes from a file or a pipe: a terminal
// there is a person who was never asked for one.
TEST_F(FormentryInTerminal, ATerminalOnStandardInputIsNoDescriptorFile) {
  Start({"--file", "-"}, "");
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 64);
  EXPECT_EQ(outcome.errors,
            "formentry: standard input is a terminal: give the descriptor as an argument, in a file, or through a "
            "pipe\nTry 'formentry --help' for more information.\n");
}

// A hidden text in the plain mode is typed with the terminal's echo off,
// after a stop and a continuation too: no screen ever holds it. formentry
// prints it with the answers.
TEST_F(FormentryInTerminal, ThePlainModeReadsAHiddenTextWithTheEchoOff) {
  const std::string secret = "Zq7-xW9";
  Start({"--plain", "PPASS^|"}, "Hidden text");
  // Stopped and continued, as CTRL-Z and fg do, with the echo on between as a shell sets it.
  const CommandResult child = RunCommand({"pgrep", "-P", tmux_.Format("#{pane_pid}"), "formentry"}, ScreenLimit);
  ASSERT_EQ(child.status, 0);
  ASSERT_EQ(kill(std::stoi(child.output), SIGSTOP), 0);
  ASSERT_EQ(RunCommand({"stty", "-F", tmux_.Format("#{pane_tty}"), "echo"}, ScreenLimit).status, 0);
  ASSERT_EQ(kill(std::stoi(child.output), SIGCONT), 0);
  ASSERT_TRUE(tmux_.Resize(90, 30));  // a new size (SIGWINCH) ends nothing either
  std::vector<std::string> screens;
  for (const char c : secret) {
    ASSERT_TRUE(tmux_.Type(std::string(1, c)));
    screens.push_back(tmux_.Screen());
  }
  ASSERT_TRUE(tmux_.Press({"Enter"}));
  const std::optional<std::string> last = tmux_.WaitForScreen("1 PASS: set\n", ScreenLimit);
  ASSERT_TRUE(last) << tmux_.Screen();
  screens.push_back(*last);
  ASSERT_TRUE(tmux_.Type("y"));
  ASSERT_TRUE(tmux_.Press({"Enter"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, secret + "\n");
  for (const std::string& screen : screens) EXPECT_EQ(screen.find(secret.substr(0, 2)), std::string::npos) << screen;
}

// However a hidden field's question ends, out of time (status 124, nothing
// printed) or by SIGTERM, the echo is back and what was typed of it is gone
// from the terminal's input, so that the next program (here cat) does not
// read it.
TEST_F(FormentryInTerminal, TheEchoComesBackAfterATimeLimitOrASignal) {
  for (const int signal : {0, SIGTERM}) {
    Start({"--plain", "--timeout", signal == 0 ? "1" : "60", "PPASS^|"}, "Hidden text");
    ASSERT_TRUE(tmux_.Type("ab"));
    if (signal != 0) {
      const CommandResult child = RunCommand({"pgrep", "-P", tmux_.Format("#{pane_pid}"), "formentry"}, ScreenLimit);
      ASSERT_EQ(child.status, 0);
      ASSERT_EQ(kill(std::stoi(child.output), signal), 0);
    }
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, signal == 0 ? 124 : 128 + signal);
    EXPECT_EQ(outcome.output, "");
    EXPECT_EQ(outcome.errors, "");
    ASSERT_TRUE(tmux_.Type("seen"));
    ASSERT_TRUE(tmux_.WaitForScreen("seen", ScreenLimit)) << signal << tmux_.Screen();
    ASSERT_TRUE(tmux_.Press({"Enter"}));
    const std::optional<std::string> screen = tmux_.WaitForScreen("seen\nseen\n", ScreenLimit);
    ASSERT_TRUE(screen) << signal << tmux_.Screen();
    EXPECT_EQ(screen->find("ab"), std::string::npos) << *screen;
  }
}

}  // namespace
