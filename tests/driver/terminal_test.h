// The one base of the fixtures whose tests run a native program in a tmux
// pane and work it as a person would (tmux_session.h): its answers, errors
// and exit status kept in files of the test's own folder.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "tests/driver/tmux_session.h"

constexpr Milliseconds ScreenLimit{10000};

class TerminalProgramTest : public testing::Test {
 protected:
  struct Outcome {
    int status = -1000;  // -1000: did not end in time
    std::string output;
    std::string errors;
  };

  void SetUp() override;
  void TearDown() override;

  // Runs `program` with `arguments` in a pane of its own and waits until
  // the screen shows `first`. The pane stays alive after, showing the
  // terminal as the program left it.
  void Start(const std::string& program, const std::vector<std::string>& arguments, const std::string& first,
             int columns = 100, int rows = 30,
             const std::vector<std::pair<std::string, std::string>>& environment = {});
  // Waits for the program's end: its status as the shell reports it (128 +
  // a signal that ended it), what it printed and its errors.
  Outcome Finish();
  // The cursor, as "column row".
  std::string Cursor() { return tmux_.Format("#{cursor_x} #{cursor_y}"); }

  std::filesystem::path folder_;
  TmuxSession tmux_;
};
