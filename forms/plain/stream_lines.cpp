#include "forms/plain/stream_lines.h"

#include <istream>
#include <ostream>
#include <string>

#include "forms/core/front_end.h"
#include "forms/plain/plain_front_end.h"

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

bool EnterFromLines(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
                    std::span<ValueSlot> values, std::istream& answers, std::ostream& said, const FormRules& rules,
                    const CodePage& page) {
  StreamLineChannel channel(answers, said);
  PlainFrontEnd plain(channel);
  return EnterForm(descriptor, length, selections, values, page, plain, rules) == FormEntryEnd::Confirmed;
}

}  // namespace formreel
