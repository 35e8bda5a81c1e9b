#include "tests/driver/terminal_test.h"

#include <stdlib.h>

#include "tests/support/markdown.h"
#include "tests/support/poll.h"

void TerminalProgramTest::SetUp() {
  if (const std::string missing = MissingTmux(); !missing.empty()) GTEST_SKIP() << "needs " << missing;
  char folder[] = "/tmp/formreel-terminal-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  folder_ = folder;
}

void TerminalProgramTest::TearDown() {
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

void TerminalProgramTest::Start(const std::string& program, const std::vector<std::string>& arguments,
                                const std::string& first, int columns, int rows,
                                const std::vector<std::pair<std::string, std::string>>& environment) {
  std::string command = ShellQuoted(program);
  for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
  command += " >" + ShellQuoted(folder_ / "out") + " 2>" + ShellQuoted(folder_ / "err");
  command += "; echo $? >" + ShellQuoted(folder_ / "status") + "; exec cat";
  std::filesystem::remove(folder_ / "status");
  ASSERT_TRUE(tmux_.Start(command, columns, rows, environment));
  ASSERT_TRUE(tmux_.WaitForScreen(first, ScreenLimit)) << tmux_.Screen();
}

TerminalProgramTest::Outcome TerminalProgramTest::Finish() {
  Outcome outcome;
  std::string status;
  if (PollUntil(ScreenLimit, [&] { return (status = formreel::ReadWhole(folder_ / "status")).ends_with('\n'); }))
    outcome.status = std::stoi(status);
  outcome.output = formreel::ReadWhole(folder_ / "out");
  outcome.errors = formreel::ReadWhole(folder_ / "err");
  return outcome;
}
