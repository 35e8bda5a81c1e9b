// formentry: the form facility as a command for scripts. Reads the
// descriptor and the options, shows the form and prints the answers of a
// confirmed form.
#include <cstdio>
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
// printed; 124 is what timeout(1) ends with when the time is up; 130 is
// what shells report for a command interrupted by CTRL-C.
enum ExitStatus : int {
  Confirmed = 0,
  Cancelled = 1,
  Refused = 2,
  RunTimeError = 3,
  NotShown = 4,
  UsageError = 64,
  TimedOut = 124,
  Interrupted = 130,
};

// An error on standard error, in UTF-8 as everything formentry prints.
// What formentry prints goes through C's streams: the C++ ones would cost
// every start of a script their initialisation for nothing.
void Print(std::FILE* stream, std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), stream);
  std::fflush(stream);
}

void Complain(const std::string& message) { Print(stderr, ErrorLine(TextToUtf8(message).value_or(message))); }

// A wrong command line: the message, and where the usage is, rather than
// the whole of it.
int Usage(const std::string& message) {
  Complain(message);
  Print(stderr, "Try 'formentry --help' for more information.\n");
  return UsageError;
}

int Refuse(const std::string& message) {
  Complain(message);
  return Refused;
}

// A byte as 0xHH.
std::string Hex(char byte) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  const auto code = static_cast<unsigned char>(byte);
  return std::string("0x") + Digits[code >> 4] + Digits[code & 15];
}

// The descriptor a file (or standard input, for "-") holds, or the exit
// status with which formentry ends, having said why.
std::optional<int> ReadDescriptorFrom(const std::string& path, std::string& descriptor) {
  const std::string source = path == "-" ? "standard input" : "the descriptor file \"" + path + "\"";
  std::string contents;
  std::string reason;
  switch (ReadDescriptorFile(path, contents, reason)) {
    case FileReading::Read: break;
    case FileReading::Terminal:
      return Usage(source + " is a terminal: give the descriptor as an argument, in a file, or through a pipe");
    case FileReading::Failed: return Refuse("cannot read " + source + ": " + reason);
    case FileReading::TooLong:
      return Refuse(source + " has more than " + std::to_string(DescriptorFileCapacity) +
                    " bytes (the most a descriptor file may have)");
    case FileReading::TooSlow:
      return Refuse(source + " did not end within " + std::to_string(DescriptorFileSeconds) + " seconds");
  }
  std::string message;
  if (DescriptorInFile(contents, descriptor, message) != CommandLineStatus::Ok) return Refuse(message);
  // Files and standard input are UTF-8; the form speaks its own page.
  const std::optional<std::string> inPage = FromUtf8(descriptor);
  if (!inPage) return Refuse("the descriptor file holds a character that the active code page cannot hold");
  descriptor = *inPage;
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  PrepareStandardStreams();
  const std::vector<std::string_view> arguments(argv + 1, argv + argc);
  CommandLine line;
  std::string message;
  if (ParseCommandLine(arguments, line, message) != CommandLineStatus::Ok) return Usage(message);
  if (line.action == CommandLine::Action::Help) {
    Print(stdout, UsageText());
    return Confirmed;
  }
  if (line.action == CommandLine::Action::Version) {
    Print(stdout, "formentry " FORMREEL_VERSION "\n");
    return Confirmed;
  }

  std::string descriptor;
  if (!line.file) descriptor = *line.descriptor;
  else if (const std::optional<int> status = ReadDescriptorFrom(*line.file, descriptor)) return *status;
  // An unset variable, an empty file: no form was meant.
  if (descriptor.find_first_not_of(' ') == std::string::npos)
    return Usage("the descriptor is empty (a form needs an item at least; a question to confirm or cancel is a T "
                 "item, such as 'TSave the clip?\\|')");
  // What formentry prints is always UTF-8: a text that is not is refused
  // before it could reach the answers.
  if (const std::size_t at = TextsAreUtf8() ? FirstNonUtf8Byte(descriptor) : 0; at != 0)
    return Refuse("the descriptor is not UTF-8: byte " + std::to_string(at) + " is " + Hex(descriptor[at - 1]));
  for (const CommandLine::InitialValue& value : line.values)
    if (const std::size_t at = TextsAreUtf8() ? FirstNonUtf8Byte(value.text) : 0; at != 0)
      return Usage("--value " + std::to_string(value.field) + " is not UTF-8: byte " + std::to_string(at) + " is " +
                   Hex(value.text[at - 1]));
  if (descriptor.size() > static_cast<std::size_t>(formreel::DescriptorCapacity))
    return Refuse("the descriptor has " + std::to_string(descriptor.size()) + " bytes (at most " +
                  std::to_string(formreel::DescriptorCapacity) + ")");
  // Its NUL counted: the facility reads no further than the descriptor
  // rather than through the blanks that pad it to its capacity.
  const auto length = static_cast<std::int32_t>(descriptor.size() + 1);
  // Its fields, or none for a descriptor that is refused (or has none).
  const std::vector<FieldInfo> fields = formreel::DescriptorFields(descriptor.data(), length);
  if (fields.empty()) {
    const std::string problem = formreel::DescriptorProblem(descriptor.data(), length);
    if (!problem.empty()) return Refuse(problem);
  }
  FormArrays arrays;
  if (SetUpForm(fields, line, arrays, message) != CommandLineStatus::Ok) return Usage(message);

  switch (ShowForm(line.display, descriptor, arrays, line.timeout)) {
    case formreel::FormEntryEnd::Confirmed: break;
    case formreel::FormEntryEnd::Cancelled: return Cancelled;
    case formreel::FormEntryEnd::Interrupted: EndAsInterrupted(); return Interrupted;
    case formreel::FormEntryEnd::TimedOut: return TimedOut;  // as a cancel: nothing printed
    // Only a check can refuse the form now, when no person can mend a value
    // (--no-input): "formentry: PORT: 1 to 65535: 70000".
    case formreel::FormEntryEnd::Refused: return Refuse(formreel::LastFormEntryProblem());
    default:
      // Not a person's answer: a script must not take it for a cancel.
      Complain("the form could not be shown (" + formreel::LastFormEntryProblem() + ")");
      return NotShown;
  }
  const std::optional<std::string> answers =
      line.json ? AnswerJson(fields, arrays, TextToUtf8) : TextToUtf8(AnswerLines(fields, arrays));
  if (!answers) {
    // No answer is printed shortened: a script would take it for the whole.
    Complain("an answer holds bytes of no character of the active code page");
    return RunTimeError;
  }
  Print(stdout, *answers);
  return Confirmed;
}
