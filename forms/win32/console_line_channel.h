// The plain line mode's lines in the console the program runs in (CONIN$
// and CONOUT$, so that standard input and output stay the script's), in
// UTF-16 as the console takes them and in the active code page as the form
// has them.
#pragma once

#include <string>

#include "forms/plain/line_channel.h"

namespace formreel {

class ConsoleLineChannel final : public LineChannel {
 public:
  ConsoleLineChannel();
  ~ConsoleLineChannel() override;
  ConsoleLineChannel(const ConsoleLineChannel&) = delete;
  ConsoleLineChannel& operator=(const ConsoleLineChannel&) = delete;

  // False when the program has no console (Problem() says so).
  bool IsOpen() const { return input_ != nullptr && output_ != nullptr; }
  const std::string& Problem() const { return problem_; }

  void Write(std::string_view text) override;
  // CTRL-Z, the console's end of input, ends the input as at a file's end;
  // CTRL-C interrupts the line instead of ending the program. A hidden line
  // is read with the console's echo off (ENABLE_ECHO_INPUT), its mode put
  // back after; a line with a limit is read on a thread of its own, which
  // an ENTER given to the console ends when the time is up.
  Line ReadLine(Echo echo, std::chrono::milliseconds limit) override;
  std::string_view CancelKeys() const override { return "CTRL-Z and ENTER"; }

 private:
  void* input_ = nullptr;   // HANDLE
  void* output_ = nullptr;  // HANDLE
  std::string problem_;
};

}  // namespace formreel
