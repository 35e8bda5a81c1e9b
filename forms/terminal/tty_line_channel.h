// The plain line mode's lines on the controlling terminal, in the mode the
// terminal is in (its own line editing, its echo), but that a hidden line
// is read with the echo off. CTRL-C is the terminal's interrupt, which it
// sends as SIGINT to the whole foreground job: the channel, watching the
// signals, ends the form as Interrupted, as CTRL-C ends the full-screen
// form, and leaves the rest to the program. Any other signal that ends
// programs is sent again to the handler that was there before the form,
// as the full-screen form does, once the echo is back. POSIX.
#pragma once

#include <optional>

#include "forms/plain/line_channel.h"
#include "forms/terminal/controlling_terminal.h"

namespace formreel {

class TtyLineChannel final : public LineChannel {
 public:
  TtyLineChannel(const ControllingTerminal& terminal, SignalWatch& signals)
      : terminal_(terminal), signals_(signals) {}
  void Write(std::string_view text) override { terminal_.Write(text); }
  // A line whose time runs out, or a hidden one a signal ends, leaves
  // nothing of it in the terminal's input, so that the shell after the
  // program does not read it.
  Line ReadLine(Echo echo, std::chrono::milliseconds limit) override;
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER, or CTRL-D,"; }

 private:
  // The signal noted by the watch that ends the form, if any.
  std::optional<int> EndingSignal();

  const ControllingTerminal& terminal_;
  SignalWatch& signals_;
};

}  // namespace formreel
