// The controlling terminal as a full screen, through ncursesw: its size,
// and the drawing of a composed screen in one update, which sends the
// terminal only the cells that changed. While it is open the terminal is
// in raw mode (every key a byte, CTRL-C too), on its alternate screen, and
// asked to report modified keys (modifyOtherKeys level 2); closing it puts
// all of that back, also when a run-time error ends the program. POSIX.
#pragma once

#include <cstdio>

#include "forms/terminal/controlling_terminal.h"
#include "forms/terminal/screen.h"

struct screen;  // ncurses' SCREEN

namespace formreel {

// Whether TERM names a terminal description that ncurses can load for the
// terminal open on `descriptor`.
bool TermHasDescription(int descriptor);

class CursesScreen {
 public:
  // Takes over `terminal` with the terminal description that TERM names,
  // to show cells of a form whose texts are in `page`.
  CursesScreen(const ControllingTerminal& terminal, const CodePage& page);
  ~CursesScreen();  // Close()
  CursesScreen(const CursesScreen&) = delete;
  CursesScreen& operator=(const CursesScreen&) = delete;

  // False when TERM names no terminal description.
  bool IsOpen() const { return screen_ != nullptr; }
  int Rows() const;
  int Columns() const;
  // Takes the terminal's new size, after SIGWINCH.
  void Resize();
  // Shows `composed`: the cells that changed, then the cursor, in one update.
  void Draw(const Screen& composed);
  // Gives the terminal back as it was.
  void Close();

 private:
  const ControllingTerminal& terminal_;
  std::FILE* output_ = nullptr;
  std::FILE* input_ = nullptr;
  struct screen* screen_ = nullptr;
  bool utf8_;  // the form's page is UTF-8; in any other only ASCII is drawn as it is
  Screen shown_{0, 0};  // the screen the window holds
};

}  // namespace formreel
