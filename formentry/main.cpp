// formentry: the form facility as a command for scripts. Reads the
// descriptor and the options, shows the form and prints the answers of a
// confirmed form.
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "answers.h"
#include "command_line.h"
#include "platform.h"
#include "formreel/forms.h"

using namespace formreel::formentry;

namespace {

// 3 is a run-time error, the facility's own or an answer that cannot be
// printed; 130 is what shells report for a command interrupted by CTRL-C.
enum ExitStatus : int {
  Confirmed = 0,
  Cancelled = 1,
  Refused = 2,
  RunTimeError = 3,
  NotShown = 4,
  UsageError = 64,
  Interrupted = 130,
};

int Usage(const std::string& message) {
  std::cerr << "formentry: " << message << "\n" << UsageText();
  return UsageError;
}

// A byte as 0xHH.
std::string Hex(char byte) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  const auto code = static_cast<unsigned char>(byte);
  return std::string("0x") + Digits[code >> 4] + Digits[code & 15];
}

// The whole of a file, or of standard input for "-"; false when it cannot be read.
bool ReadWhole(const std::string& path, std::string& contents) {
  if (path == "-") return ReadStandardInput(contents);
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

}  // namespace

int main(int argc, char** argv) {
  PrepareStandardStreams();
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  CommandLine line;
  std::string message;
  if (ParseCommandLine(arguments, line, message) != CommandLineStatus::Ok) return Usage(message);
  if (line.action == CommandLine::Action::Help) {
    std::cout << UsageText();
    return Confirmed;
  }
  if (line.action == CommandLine::Action::Version) {
    std::cout << "formentry " FORMREEL_VERSION "\n";
    return Confirmed;
  }

  std::string descriptor;
  if (line.file) {
    std::string contents;
    if (!ReadWhole(*line.file, contents)) return Usage("cannot read the descriptor file \"" + *line.file + "\"");
    if (DescriptorInFile(contents, descriptor, message) != CommandLineStatus::Ok) {
      std::cerr << "formentry: " << message << "\n";
      return Refused;
    }
    // Files and standard input are UTF-8; the form speaks its own page.
    const std::optional<std::string> inPage = FromUtf8(descriptor);
    if (!inPage) {
      std::cerr << "formentry: the descriptor file holds a character that the active code page cannot hold\n";
      return Refused;
    }
    descriptor = *inPage;
  } else {
    descriptor = *line.descriptor;
  }
  // An unset variable, an empty file: no form was meant.
  if (descriptor.find_first_not_of(' ') == std::string::npos)
    return Usage("the descriptor is empty (a form needs an item at least; a question to confirm or cancel is a T "
                 "item, such as 'TSave the clip?\\|')");
  // What formentry prints is always UTF-8: a text that is not is refused
  // before it could reach the answers.
  if (const std::size_t at = TextsAreUtf8() ? FirstNonUtf8Byte(descriptor) : 0; at != 0) {
    std::cerr << "formentry: the descriptor is not UTF-8: byte " << at << " is " << Hex(descriptor[at - 1]) << "\n";
    return Refused;
  }
  for (const CommandLine::InitialValue& value : line.values)
    if (const std::size_t at = TextsAreUtf8() ? FirstNonUtf8Byte(value.text) : 0; at != 0)
      return Usage("--value " + std::to_string(value.field) + " is not UTF-8: byte " + std::to_string(at) + " is " +
                   Hex(value.text[at - 1]));
  if (descriptor.size() > static_cast<std::size_t>(formreel::DescriptorCapacity))
    return Usage("the descriptor has " + std::to_string(descriptor.size()) + " bytes (at most " +
                 std::to_string(formreel::DescriptorCapacity) + ")");
  const auto length = static_cast<std::int32_t>(descriptor.size());
  const std::string problem = formreel::DescriptorProblem(descriptor.data(), length);
  if (!problem.empty()) {
    std::cerr << "formentry: " << problem << "\n";
    return Refused;
  }

  const std::vector<FieldInfo> fields = formreel::DescriptorFields(descriptor.data(), length);
  FormArrays arrays;
  if (SetUpForm(fields, line, arrays, message) != CommandLineStatus::Ok) return Usage(message);

  switch (ShowForm(line.display, descriptor, arrays)) {
    case formreel::FormEntryEnd::Confirmed: break;
    case formreel::FormEntryEnd::Cancelled: return Cancelled;
    case formreel::FormEntryEnd::Interrupted: return Interrupted;
    default:
      // Not a person's answer: a script must not take it for a cancel.
      std::cerr << "formentry: the form could not be shown (" << formreel::LastFormEntryProblem() << ")\n";
      return NotShown;
  }
  const std::optional<std::string> answers =
      line.json ? AnswerJson(fields, arrays, TextToUtf8) : TextToUtf8(AnswerLines(fields, arrays));
  if (!answers) {
    // No answer is printed shortened: a script would take it for the whole.
    std::cerr << "formentry: an answer holds bytes of no character of the active code page\n";
    return RunTimeError;
  }
  std::cout << *answers << std::flush;
  return Confirmed;
}
