// The plain line mode's lines on the controlling terminal, in the mode the
// terminal is in (its own line editing, its echo). CTRL-C is the
// terminal's: it ends the program as it ends any. POSIX.
#pragma once

#include "forms/plain/line_channel.h"
#include "forms/terminal/controlling_terminal.h"

namespace formreel {

class TtyLineChannel final : public LineChannel {
 public:
  explicit TtyLineChannel(const ControllingTerminal& terminal) : terminal_(terminal) {}
  void Write(std::string_view text) override { terminal_.Write(text); }
  Line ReadLine() override;
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER, or CTRL-D,"; }

 private:
  const ControllingTerminal& terminal_;
};

}  // namespace formreel
