// Where a form is shown on a system with terminals and desktops, by what
// the program asked for (FormDisplay) and what it has: a controlling
// terminal, a desktop named by the environment. Platform-free: the caller
// finds out both.
#pragma once

#include <cstdint>

#include "formreel/forms.h"

namespace formreel {

enum class FormPlace : std::uint8_t {
  Window,      // a window on the desktop
  Terminal,    // the terminal form: full screen, or plain lines where TERM cannot address cells
  PlainLines,  // plain lines in the terminal
  Unattended,  // not shown: confirmed as it stands
  Nowhere,     // neither a terminal nor a desktop to show it on
};

// Standard: the terminal when there is one, else the desktop's window, else
// nowhere. Window, Terminal, Plain and Unattended: that place, whatever
// there is (a front end without its terminal or desktop says so).
constexpr FormPlace PlaceFor(FormDisplay display, bool hasTerminal, bool hasDesktop) {
  switch (display) {
    case FormDisplay::Standard:
      return hasTerminal ? FormPlace::Terminal : hasDesktop ? FormPlace::Window : FormPlace::Nowhere;
    case FormDisplay::Window: return FormPlace::Window;
    case FormDisplay::Terminal: return FormPlace::Terminal;
    case FormDisplay::Plain: return FormPlace::PlainLines;
    case FormDisplay::Unattended: return FormPlace::Unattended;
  }
  return FormPlace::Nowhere;
}

}  // namespace formreel
