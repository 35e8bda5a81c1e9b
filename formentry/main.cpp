// formentry: the form facility as a command for scripts. Reads the
// descriptor and the options, shows the form through FormEntry and prints
// the answers of a confirmed form.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "formentry/answers.h"
#include "formentry/command_line.h"
#include "formreel/forms.h"

using namespace formreel::formentry;

namespace {

// 3 is taken: the facility's run-time error ends the program with it.
enum ExitStatus : int { Confirmed = 0, Cancelled = 1, Refused = 2, NotShown = 4, UsageError = 64 };

int Usage(const std::string& message) {
  std::cerr << "formentry: " << message << "\n" << UsageText();
  return UsageError;
}

// The whole of a file, or of standard input for "-"; false when it cannot be read.
bool ReadWhole(const std::string& path, std::string& contents) {
  if (path == "-") {
    _setmode(_fileno(stdin), _O_BINARY);
    contents.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
    return !std::cin.bad();
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) return false;
  contents.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return !file.bad();
}

// `text` of code page `from` in code page `to`. The programs' manifest makes
// the active page UTF-8, and then the bytes pass unchanged; in another page
// (a system that ignores the manifest) the edges convert.
std::string Recode(std::string_view text, UINT from, UINT to) {
  if (text.empty() || GetACP() == CP_UTF8) return std::string(text);
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(from, 0, text.data(), length, nullptr, 0);
  std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(from, 0, text.data(), length, utf16.data(), wide);
  const int narrow = WideCharToMultiByte(to, 0, utf16.data(), wide, nullptr, 0, nullptr, nullptr);
  std::string converted(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(to, 0, utf16.data(), wide, converted.data(), narrow, nullptr, nullptr);
  return converted;
}

std::string AnsiToUtf8(std::string_view text) { return Recode(text, CP_ACP, CP_UTF8); }

// The form has no owner: bring it to the foreground once its window exists,
// so that the keyboard reaches it whichever window the script ran from.
void CALLBACK BringFormForward(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND form = FindWindowA(formreel::FormClassName, nullptr);
  if (form == nullptr || GetWindowThreadProcessId(form, nullptr) != GetCurrentThreadId()) return;
  KillTimer(nullptr, timer);
  SetForegroundWindow(form);
}

}  // namespace

int main(int argc, char** argv) {
  // Lines end with LF alone, as scripts read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
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
    // Files and standard input are UTF-8; the form speaks the active page.
    descriptor = Recode(descriptor, CP_UTF8, CP_ACP);
  } else {
    descriptor = *line.descriptor;
  }
  if (descriptor.size() > static_cast<std::size_t>(formreel::DescriptorCapacity))
    return Usage("the descriptor has " + std::to_string(descriptor.size()) + " bytes (at most " +
                 std::to_string(formreel::DescriptorCapacity) + ")");
  const auto length = static_cast<std::int32_t>(descriptor.size());
  const std::string problem = formreel::DescriptorProblem(descriptor.data(), length);
  if (!problem.empty()) {
    std::cerr << "formentry: " << problem << "\n";
    return Refused;
  }

  const std::vector<FieldInfo> fields = FieldsOf(descriptor.data(), length);
  FormArrays arrays;
  if (SetUpForm(fields, line, arrays, message) != CommandLineStatus::Ok) return Usage(message);

  SetTimer(nullptr, 0, 0, BringFormForward);
  if (!formreel::FormEntry(GetModuleHandleA(nullptr), nullptr, descriptor.data(), length,
                           arrays.selections, arrays.values)) {
    if (formreel::LastFormEntryEnd() == formreel::FormEntryEnd::Cancelled) return Cancelled;
    // Not a person's answer: a script must not take it for a cancel.
    std::cerr << "formentry: the form could not be shown (its window could not be created: is there a display?)\n";
    return NotShown;
  }

  std::cout << (line.json ? AnswerJson(fields, arrays, AnsiToUtf8) : AnsiToUtf8(AnswerLines(fields, arrays)))
            << std::flush;
  return Confirmed;
}
