// The plain line mode over a program's own streams: each question written
// to one stream, each answer a line read from the other. For a program's
// tests of its forms, which then need no terminal. Platform-free.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <span>

#include "formreel/forms.h"
#include "forms/core/code_page.h"
#include "forms/plain/line_channel.h"

namespace formreel {

class StreamLineChannel final : public LineChannel {
 public:
  StreamLineChannel(std::istream& answers, std::ostream& said) : answers_(answers), said_(said) {}
  void Write(std::string_view text) override;
  // A line without its line end (LF, or CR LF); the stream's end or a
  // failed read is the end of input. A stream echoes nothing and is never
  // waited for: the echo and the limit do not apply.
  Line ReadLine(Echo echo, std::chrono::milliseconds limit) override;
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER, or the end of the answers,"; }

 private:
  std::istream& answers_;
  std::ostream& said_;
};

// The public FormEntry over streams, in `page`: the plain mode on a
// StreamLineChannel, through the entry call.
bool EnterFromLines(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
                    std::span<ValueSlot> values, std::istream& answers, std::ostream& said, const FormRules& rules,
                    const CodePage& page);

}  // namespace formreel
