// Asking the terminal database, apart from the rest: <term.h> defines its
// capabilities as macros (columns, lines, ...) that no other code should see.
#include "forms/terminal/curses_screen.h"

#include <curses.h>
#include <term.h>

namespace formreel {

bool TermHasDescription(int descriptor) {
  int found = 0;
  if (setupterm(nullptr, descriptor, &found) != OK) return false;
  del_curterm(cur_term);
  return true;
}

}  // namespace formreel
