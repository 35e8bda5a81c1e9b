// Driving programs that draw in a terminal, as a person would: a tmux
// server of the test's own runs the program in a pane, keys are typed into
// it (send-keys), and the screen, the cursor and the pane's end are read
// back (capture-pane, display-message). The server reports modified keys
// (extended-keys), so CTRL-ENTER and CTRL-BACKSPACE reach a program that
// asks for them.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/driver/child_process.h"

// Why the tests cannot run here ("" when they can): tmux missing.
std::string MissingTmux();

// A string as one word of a POSIX shell's command line.
std::string ShellQuoted(const std::string& text);

class TmuxSession {
 public:
  TmuxSession();
  ~TmuxSession();  // ends the server, and with it the pane's program
  TmuxSession(const TmuxSession&) = delete;
  TmuxSession& operator=(const TmuxSession&) = delete;

  // Runs the shell command line `command` in a pane of `columns` x `rows`,
  // with LANG=C.UTF-8 and `environment` added; the pane stays once it
  // ends. A later call runs the next command in the same pane, its screen
  // cleared, once the last one has ended. (tmux 3.3
  // does not always collect how the pane's program ended, so a command
  // whose status matters writes it itself.)
  bool Start(const std::string& command, int columns = 100, int rows = 30,
             const std::vector<std::pair<std::string, std::string>>& environment = {});
  // Types `text` as its characters.
  bool Type(const std::string& text);
  // Presses keys by tmux's names: "Enter", "C-Enter", "BTab", "Escape", ...
  bool Press(const std::vector<std::string>& keys);
  bool Resize(int columns, int rows);

  // The screen as text, one line a row.
  std::string Screen();
  // The screen once it holds `text`, waiting up to `limit`; nothing when
  // it never did.
  std::optional<std::string> WaitForScreen(const std::string& text, Milliseconds limit);
  // The screen once it no longer holds `text`.
  std::optional<std::string> WaitForScreenWithout(const std::string& text, Milliseconds limit);
  // A tmux format of the pane, such as "#{cursor_x} #{cursor_y}".
  std::string Format(const std::string& format);

 private:
  CommandResult Tmux(std::vector<std::string> arguments);
  std::string socket_;
  bool started_ = false;
};
