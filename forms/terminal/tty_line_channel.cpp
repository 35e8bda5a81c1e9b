#include "forms/terminal/tty_line_channel.h"

#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>

namespace formreel {

bool TtyLineChannel::Interrupted() {
  while (const std::optional<int> signal = signals_.Take()) {
    if (*signal == SIGWINCH) continue;  // lines take any width
    // The terminal sent SIGINT to the job already: the program acts on the
    // interruption. Another signal goes to the handler before the form.
    if (*signal != SIGINT) signals_.Resend(*signal);
    return true;
  }
  return false;
}

LineChannel::Line TtyLineChannel::ReadLine() {
  Line line;
  for (;;) {
    std::array<pollfd, 2> ready{{{terminal_.Descriptor(), POLLIN, 0}, {signals_.Descriptor(), POLLIN, 0}}};
    const int count = poll(ready.data(), ready.size(), -1);
    if (Interrupted()) {
      line.end = Line::End::Interrupted;
      return line;
    }
    if (count < 0 && errno == EINTR) continue;
    // In canonical mode the terminal is readable once a whole line (or the
    // end of input) is there: the bytes up to its line feed are read
    // without waiting.
    char byte = 0;
    const ssize_t got = count < 0 ? -1 : read(terminal_.Descriptor(), &byte, 1);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (line.text.empty()) line.end = Line::End::EndOfInput;
      return line;
    }
    if (byte == '\n') break;
    line.text += byte;
  }
  if (line.text.ends_with('\r')) line.text.pop_back();
  return line;
}

}  // namespace formreel
