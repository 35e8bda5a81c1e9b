// Driving a program in a real terminal emulator (xterm, rxvt-unicode, st)
// on an X display, as a person at a keyboard would: xdotool makes X key
// events, and the terminal sends the program whatever bytes it sends for
// them. The program's answers, errors and exit status are kept in files.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tests/driver/child_process.h"

// The X display the tests type on: $DISPLAY when the test runner gives
// one, otherwise a private Xvfb started here and stopped with this object.
class XDisplay {
 public:
  XDisplay();
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // ":N", or "" when there is none; then Problem() says why.
  const std::string& Name() const { return name_; }
  const std::string& Problem() const { return problem_; }

 private:
  std::string name_;
  std::string problem_;
  std::string folder_;
  ChildProcess server_;
};

// Why a terminal (its program's name) cannot be driven here, "" when it can.
std::string MissingXTerminal(const std::string& terminal);

class XTerminal {
 public:
  struct Outcome {
    int status = -1000;  // -1000: did not end in time
    std::string output;
    std::string errors;
  };

  explicit XTerminal(const XDisplay& display);
  ~XTerminal();  // ends the terminal, and with it its program, if still running
  XTerminal(const XTerminal&) = delete;
  XTerminal& operator=(const XTerminal&) = delete;

  // Starts `terminal` (its command up to the option that names the program
  // to run, -e) running `program` with `arguments` in a UTF-8 locale, and
  // waits until the program waits for keys and the terminal's window has
  // the keyboard. Empty when it did; otherwise what went wrong.
  std::string Start(const std::vector<std::string>& terminal, const std::string& program,
                    const std::vector<std::string>& arguments);
  // Types `text` (UTF-8) as its characters (xdotool type). A character
  // beyond ASCII first gets a key of its own until the terminal ends:
  // xdotool's own key for it lasts one key press, and a busy terminal may
  // look the key up after it is gone.
  bool Type(const std::string& text);
  // Presses keys by xdotool's names: "Tab", "shift+Tab", "ctrl+Return", ...
  bool Press(const std::vector<std::string>& keys);
  // Waits for the program's end: its exit status, what it printed and its
  // errors; then the terminal is ended.
  Outcome Finish();

 private:
  std::vector<std::string> Xdotool(std::vector<std::string> arguments);
  bool Xmodmap(const std::string& expression);
  const XDisplay& display_;
  std::string folder_;
  std::vector<std::string> keysyms_;  // given keys of their own by Type
  ChildProcess terminal_;
};
