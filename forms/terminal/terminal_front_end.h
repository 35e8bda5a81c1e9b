// The form in the terminal the program was started from: full screen
// through ncursesw, or, where the terminal cannot address its cells (TERM
// dumb, unset or unknown) or when asked, the plain line mode. The form
// holds the terminal while it is open and gives it back as it was on every
// way out: confirmed, cancelled, CTRL-C, a signal that ends the program, a
// run-time error. POSIX.
#pragma once

#include <string>

#include "forms/core/front_end.h"

namespace formreel {

class TerminalFrontEnd final : public FormFrontEnd {
 public:
  enum class Mode : std::uint8_t { FullScreen, Plain };
  explicit TerminalFrontEnd(Mode mode) : mode_(mode) {}

  // NotShown when there is no controlling terminal (WhyNotShown() says so).
  // A signal that ends programs (SIGINT, SIGTERM, SIGHUP, SIGQUIT) gives
  // the terminal back and is then sent again, to the handler that was there
  // before the form; in the plain mode SIGINT is the terminal's CTRL-C,
  // which ends the form as Interrupted (TtyLineChannel).
  Showing Show(FormState& state) override;
  std::string WhyNotShown() const override { return problem_; }

 private:
  Mode mode_;
  std::string problem_;
};

// Whether TERM lets a form address the terminal's cells: not when it is
// unset, empty or "dumb".
bool TermAddressesCells();

}  // namespace formreel
