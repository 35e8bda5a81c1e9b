#include "forms/plain/stream_lines.h"

#include <istream>
#include <ostream>
#include <string>

namespace formreel {

void StreamLineChannel::Write(std::string_view text) { said_ << text << std::flush; }

LineChannel::Line StreamLineChannel::ReadLine(Echo, std::chrono::milliseconds) {
  Line line;
  if (!std::getline(answers_, line.text)) {
    line.end = Line::End::EndOfInput;
    line.text.clear();
    return line;
  }
  if (line.text.ends_with('\r')) line.text.pop_back();
  return line;
}

}  // namespace formreel
