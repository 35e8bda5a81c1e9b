// formentry on POSIX systems: the form in the controlling terminal, so that
// standard input and output stay the script's.
#include <clocale>
#include <iostream>
#include <iterator>

#include "formentry/platform.h"
#include "forms/core/code_page.h"
#include "forms/core/front_end.h"
#include "forms/core/unattended.h"
#include "forms/terminal/terminal_front_end.h"

namespace formreel::formentry {

void PrepareStandardStreams() { std::setlocale(LC_ALL, ""); }

bool ReadStandardInput(std::string& contents) {
  contents.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return !std::cin.bad();
}

// A UTF-8 locale's texts are UTF-8 already; another locale's are taken as
// their bytes.
std::string FromUtf8(std::string_view text) { return std::string(text); }
std::string TextToUtf8(std::string_view text) { return std::string(text); }

FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays,
                      std::string& problem) {
  const auto length = static_cast<std::int32_t>(descriptor.size());
  if (display == CommandLine::Display::Unattended) {
    UnattendedFrontEnd unattended;
    return EnterForm(descriptor.data(), length, arrays.selections, arrays.values, ActiveCodePage(), unattended);
  }
  TerminalFrontEnd terminal(display == CommandLine::Display::Plain ? TerminalFrontEnd::Mode::Plain
                                                                   : TerminalFrontEnd::Mode::FullScreen);
  const FormEntryEnd end =
      EnterForm(descriptor.data(), length, arrays.selections, arrays.values, ActiveCodePage(), terminal);
  problem = terminal.Problem();
  return end;
}

}  // namespace formreel::formentry
