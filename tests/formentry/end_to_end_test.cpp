// The real formentry.exe under Wine on an X display, as a script runs it:
// arguments in, keystrokes from xdotool, and what it prints and its exit
// status out.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/driver/program_test.h"
#include "tests/driver/tmux_session.h"
#include "tests/support/markdown.h"
#include "tests/support/poll.h"

namespace {

using Outcome = ConsoleRun::Outcome;

class FormentryCommand : public ProgramTest {
 protected:
  void SetUp() override {
    SkipWithout("formentry.exe");
  }

  // Starts formentry with `arguments`, standard input from `input`.
  void Start(const std::vector<std::string>& arguments, const std::string& input = "") {
    ASSERT_TRUE(run_.Start(ProgramDirectory(), "formentry.exe", arguments, input));
  }

  void ShowForm() { ShowWindow("^FORM$"); }

  // Runs a command that shows no form.
  Outcome RunWithoutForm(const std::vector<std::string>& arguments) {
    Start(arguments);
    const Outcome outcome = Finish();
    EXPECT_TRUE(NoWindow("^FORM$"));
    return outcome;
  }
};

const std::string EveryTypedField = "CNAME^|ISHORT^|LLONG^|RSINGLE^|DDOUBLE^|";

TEST_F(FormentryCommand, TypedValuesOfEveryFieldType) {
  Start({EveryTypedField});
  ShowForm();
  ASSERT_TRUE(TypeText("CLIP"));
  for (const char* value : {"-12", "16#FF", "1.5E3", "0.1"}) {
    ASSERT_TRUE(PressKeys({"Tab"}));
    ASSERT_TRUE(TypeText(value));
  }
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "CLIP\n-12\n255\n1500\n0.1\n");
}

TEST_F(FormentryCommand, ChosenEntriesOfEveryFieldType) {
  Start({"CNAME^A^B^|IN^10^20^|LN^7^|RN^1.5^|DN^2.5^|SPICK^X^Y^|"});
  ShowForm();
  ASSERT_TRUE(PressKeys({"Down", "Down", "Tab", "Down", "Tab", "Down", "Tab", "Down", "Tab", "Down", "Tab", "Down",
                         "Down", "ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "B\n10\n7\n1.5\n2.5\nY\n");
}

TEST_F(FormentryCommand, AButtonGroupConfirmedByItsSecondButton) {
  Start({"CNAME^|BOK^LATER^NEVER^|"});
  ShowForm();
  ASSERT_TRUE(TypeText("X"));
  ASSERT_TRUE(PressKeys({"Tab", "Tab", "space"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "X\nLATER\n");
}

TEST_F(FormentryCommand, CancelledPrintsNothing) {
  Start({"--value", "1=KEEP", "CNAME^|"});
  ShowForm();
  ASSERT_TRUE(TypeText("TYPED"));
  ASSERT_TRUE(PressKeys({"Escape"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 1);
  EXPECT_EQ(outcome.output, "");
}

TEST_F(FormentryCommand, ARefusedDescriptorSaysWhyAndShowsNoForm) {
  const Outcome outcome = RunWithoutForm({"CNAME^|ZWHAT^|"});
  EXPECT_EQ(outcome.status, 2);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors,
            "formentry: item 2 has an unknown letter \"Z\" (letters are B, C, D, I, L, M, P, R, S, X, T and H)\n");
}

TEST_F(FormentryCommand, AUsageErrorSaysWhyPointsToHelpAndShowsNoForm) {
  const Outcome outcome = RunWithoutForm({"--select", "1=3", "SPICK^A^B^|"});
  EXPECT_EQ(outcome.status, 64);
  EXPECT_EQ(outcome.output, "");
  EXPECT_EQ(outcome.errors,
            "formentry: --select 1=3: field 1 (S \"PICK\") has 2 entries\nTry 'formentry --help' for more "
            "information.\n");
}

// Without a display the form cannot be shown, which a script must not take
// for a person's cancel.
TEST_F(FormentryCommand, AFormThatCannotBeShownIsNoCancel) {
  // A form stays open meanwhile. Otherwise the run without a display could
  // be the one that starts Wine's desktop, on its display, and the programs
  // started next could not show a window for a while.
  Start({"COPEN^|"});
  ShowForm();
  ConsoleRun blind;
  ASSERT_TRUE(blind.Start(ProgramDirectory(), "formentry.exe", {"CNAME^|"}, "", {{"DISPLAY", ":31999"}}));
  const Outcome outcome = blind.Finish(ExitLimit);
  EXPECT_EQ(outcome.status, 4);
  EXPECT_EQ(outcome.output, "");
  EXPECT_NE(outcome.errors.find("formentry: the form could not be shown"), std::string::npos) << outcome.errors;
  ASSERT_TRUE(PressKeys({"Escape"}));
  EXPECT_EQ(Finish().status, 1);
}

TEST_F(FormentryCommand, ADescriptorFileWithOneItemALine) {
  Start({"--file", "-"}, "CNAME^|\r\nIAGE^|\r\n");
  ShowForm();
  ASSERT_TRUE(TypeText("ANN"));
  ASSERT_TRUE(PressKeys({"Tab"}));
  ASSERT_TRUE(TypeText("42"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "ANN\n42\n");
}

TEST_F(FormentryCommand, JsonWithInitialValues) {
  Start({"--json", "--value", "2=2.5", "--select", "3=2", "CNAME^|RSIZE^|SPICK^A^B^|"});
  ShowForm();
  ASSERT_TRUE(TypeText("Z \"1\""));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output,
            "{\"fields\":[{\"letter\":\"C\",\"prompt\":\"NAME\",\"selection\":0,\"entry\":null,\"value\":\"Z \\\"1\\\"\"},"
            "{\"letter\":\"R\",\"prompt\":\"SIZE\",\"selection\":0,\"entry\":null,\"value\":2.5},"
            "{\"letter\":\"S\",\"prompt\":\"PICK\",\"selection\":2,\"entry\":\"B\",\"value\":null}]}\n");
}

// Cyrillic typed, CJK passed as an argument: both come back byte for byte.
TEST_F(FormentryCommand, TextInAnyScriptComesBackAsItWasGiven) {
  Start({"--json", "--value", "2=名前です", "CИМЯ^|C名前^|"});
  ShowForm();
  ASSERT_TRUE(PrimeNonAsciiTyping());
  ASSERT_TRUE(TypeIntoFirstField("Мой клип", Milliseconds{10000}));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output,
            "{\"fields\":[{\"letter\":\"C\",\"prompt\":\"ИМЯ\",\"selection\":0,\"entry\":null,\"value\":\"Мой клип\"},"
            "{\"letter\":\"C\",\"prompt\":\"名前\",\"selection\":0,\"entry\":null,\"value\":\"名前です\"}]}\n");
}

// A value the user leaves as shown comes back as given, not as the fifteen
// digits the field shows.
TEST_F(FormentryCommand, AnUntouchedValuePrintsAsGiven) {
  const std::vector<std::string> formats[] = {{}, {"--json"}};
  const std::string expected[] = {
      "3.141592653589793\n",
      "{\"fields\":[{\"letter\":\"D\",\"prompt\":\"PI\",\"selection\":0,\"entry\":null,"
      "\"value\":3.141592653589793}]}\n"};
  for (int k = 0; k < 2; ++k) {
    std::vector<std::string> arguments = formats[k];
    arguments.insert(arguments.end(), {"--value", "1=3.141592653589793", "DPI^|"});
    Start(arguments);
    ShowForm();
    ASSERT_TRUE(PressKeys({"ctrl+Return"}));
    const Outcome outcome = Finish();
    EXPECT_EQ(outcome.status, 0) << outcome.errors;
    EXPECT_EQ(outcome.output, expected[k]);
  }
}

// The form stays open on a value that does not convert, with the focus on
// that field and its text selected: what is typed next replaces it.
TEST_F(FormentryCommand, AValueThatDoesNotConvertKeepsTheFormOpen) {
  Start({"IAGE^|"});
  ShowForm();
  ASSERT_TRUE(TypeText("40000"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  EXPECT_TRUE(run_.Running());
  ASSERT_TRUE(TypeText("40"));
  ASSERT_TRUE(PressKeys({"ctrl+Return"}));
  const Outcome outcome = Finish();
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "40\n");
}

// A form confirmed as it stands, with its values and choices, and no window.
TEST_F(FormentryCommand, NoInputShowsNothingAndAnswers) {
  const Outcome outcome =
      RunWithoutForm({"--no-input", "--value", "1=ANN", "--select", "2=2", "CNAME^|SCOLOUR^RED^GREEN^|"});
  EXPECT_EQ(outcome.status, 0) << outcome.errors;
  EXPECT_EQ(outcome.output, "ANN\nGREEN\n");
}

// The plain mode in the console of a terminal: Wine's console in a tmux pane.
TEST_F(FormentryCommand, PlainLinesInTheConsole) {
  if (const std::string missing = MissingTmux(); !missing.empty()) GTEST_SKIP() << "needs " << missing;
  TmuxSession tmux;
  const std::string status = run_.Folder() + "/status";
  ASSERT_TRUE(tmux.Start("cd " + ShellQuoted(ProgramDirectory()) + " && wine formentry.exe --plain 'CNAME^|IAGE^|'; echo $? >" +
                         ShellQuoted(status) + "; exec cat"));
  ASSERT_TRUE(tmux.WaitForScreen("Field 1 of 2: NAME", WindowLimit)) << tmux.Screen();
  ASSERT_TRUE(tmux.Type("ANN"));
  ASSERT_TRUE(tmux.Press({"Enter"}));
  ASSERT_TRUE(tmux.WaitForScreen("Takes a 16-bit integer (-32768 to 32767).", WindowLimit)) << tmux.Screen();
  ASSERT_TRUE(tmux.Type("4x"));
  ASSERT_TRUE(tmux.Press({"Enter"}));
  ASSERT_TRUE(tmux.WaitForScreen("AGE: not a 16-bit integer (-32768 to 32767): 4x", WindowLimit)) << tmux.Screen();
  ASSERT_TRUE(tmux.Type("42"));
  ASSERT_TRUE(tmux.Press({"Enter"}));
  ASSERT_TRUE(tmux.WaitForScreen("Y to confirm", WindowLimit)) << tmux.Screen();
  ASSERT_TRUE(tmux.Type("y"));
  ASSERT_TRUE(tmux.Press({"Enter"}));
  // Standard output is the pane too: the answers follow the questions.
  const std::optional<std::string> screen = tmux.WaitForScreen("\nANN\n42\n", WindowLimit);
  ASSERT_TRUE(screen) << tmux.Screen();
  std::string code;
  ASSERT_TRUE(PollUntil(ExitLimit, [&] { return (code = formreel::ReadWhole(status)).ends_with('\n'); }));
  EXPECT_EQ(code, "0\n");
}

// A hidden text in the console is typed with its echo off, so no screen
// holds it; and a time limit ends the form with status 124, nothing printed.
TEST_F(FormentryCommand, AHiddenTextUnseenAndATimeLimitInTheConsole) {
  if (const std::string missing = MissingTmux(); !missing.empty()) GTEST_SKIP() << "needs " << missing;
  TmuxSession tmux;
  const std::string status = run_.Folder() + "/status";
  ASSERT_TRUE(tmux.Start("cd " + ShellQuoted(ProgramDirectory()) +
                         " && wine formentry.exe --plain --timeout 5 'PPASS^|'; echo $? >" + ShellQuoted(status) +
                         "; exec cat"));
  ASSERT_TRUE(tmux.WaitForScreen("Hidden text", WindowLimit)) << tmux.Screen();
  ASSERT_TRUE(tmux.Type("Zq7xW9"));
  ASSERT_TRUE(tmux.Press({"Enter"}));
  ASSERT_TRUE(tmux.WaitForScreen("1 PASS: set", WindowLimit)) << tmux.Screen();
  const std::optional<std::string> screen = tmux.WaitForScreen("No answer for 5 seconds: the form ends.", WindowLimit);
  ASSERT_TRUE(screen) << tmux.Screen();
  EXPECT_EQ(screen->find("Zq"), std::string::npos) << *screen;
  std::string code;
  ASSERT_TRUE(PollUntil(ExitLimit, [&] { return (code = formreel::ReadWhole(status)).ends_with('\n'); }));
  EXPECT_EQ(code, "124\n");
}

}  // namespace
