// formentry on POSIX systems: the form in the controlling terminal, so that
// standard input and output stay the script's, or in a desktop window.
#include <clocale>
#include <iostream>
#include <iterator>

#include "platform.h"

namespace formreel::formentry {

void PrepareStandardStreams() { std::setlocale(LC_ALL, ""); }

bool ReadStandardInput(std::string& contents) {
  contents.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return !std::cin.bad();
}

// formentry speaks UTF-8; in another locale a form shows only ASCII.
bool TextsAreUtf8() { return true; }
std::optional<std::string> FromUtf8(std::string_view text) { return std::string(text); }
std::optional<std::string> TextToUtf8(std::string_view text) { return std::string(text); }

FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays) {
  FormDisplay shown = FormDisplay::Standard;
  switch (display) {
    case CommandLine::Display::Standard: break;
    case CommandLine::Display::Plain: shown = FormDisplay::Plain; break;
    case CommandLine::Display::Unattended: shown = FormDisplay::Unattended; break;
    case CommandLine::Display::Window: shown = FormDisplay::Window; break;
    case CommandLine::Display::Terminal: shown = FormDisplay::Terminal; break;
  }
  FormEntry(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), arrays.selections, arrays.values, shown);
  return LastFormEntryEnd();
}

}  // namespace formreel::formentry
