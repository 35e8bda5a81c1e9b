// The plain line mode's lines on the controlling terminal, in the mode the
// terminal is in (its own line editing, its echo). CTRL-C is the terminal's
// interrupt, which it sends as SIGINT to the whole foreground job: the
// channel, watching the signals, ends the form as Interrupted, as CTRL-C
// ends the full-screen form, and leaves the rest to the program. Any other
// signal that ends programs is sent again to the handler that was there
// before the form, as the full-screen form does. POSIX.
#pragma once

#include "forms/plain/line_channel.h"
#include "forms/terminal/controlling_terminal.h"

namespace formreel {

class TtyLineChannel final : public LineChannel {
 public:
  TtyLineChannel(const ControllingTerminal& terminal, SignalWatch& signals)
      : terminal_(terminal), signals_(signals) {}
  void Write(std::string_view text) override { terminal_.Write(text); }
  Line ReadLine() override;
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER, or CTRL-D,"; }

 private:
  // Whether a signal noted by the watch ends the form.
  bool Interrupted();

  const ControllingTerminal& terminal_;
  SignalWatch& signals_;
};

}  // namespace formreel
