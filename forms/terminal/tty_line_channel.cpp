#include "forms/terminal/tty_line_channel.h"

#include <unistd.h>

#include <cerrno>

namespace formreel {

LineChannel::Line TtyLineChannel::ReadLine() {
  Line line;
  for (;;) {
    char byte = 0;
    const ssize_t got = read(terminal_.Descriptor(), &byte, 1);
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
