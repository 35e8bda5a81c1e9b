// Where the plain line mode talks to a person: lines out and lines in, on
// the controlling terminal (forms/terminal/) or a Windows console
// (forms/win32/).
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace formreel {

class LineChannel {
 public:
  // What reading a line gave.
  struct Line {
    enum class End : std::uint8_t { Typed, EndOfInput, Interrupted, TimedOut } end = End::Typed;
    std::string text;  // without its line end, in the form's code page
  };
  // Whether what is typed shows as it is typed.
  enum class Echo : std::uint8_t { Shown, Hidden };

  virtual ~LineChannel() = default;
  // Writes `text`, UTF-8 that holds nothing but what is to be shown.
  virtual void Write(std::string_view text) = 0;
  // The next line typed; the end of input, or CTRL-C where it reaches the
  // channel rather than ending the program. Hidden: no typed character is
  // echoed, only the line end, and the echo is as before on every way out.
  // With a `limit` above zero, TimedOut once that long has passed without
  // a whole line, and what was typed of it is dropped; zero waits for ever.
  virtual Line ReadLine(Echo echo, std::chrono::milliseconds limit) = 0;
  // The keys that cancel a form here (ESCAPE, the end of input), as words
  // that go before "cancels the form".
  virtual std::string_view CancelKeys() const = 0;
};

}  // namespace formreel
