#include "tests/driver/program_driver.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <utility>

#include "tests/support/poll.h"

namespace {

constexpr Milliseconds ToolLimit{15000};
constexpr Milliseconds PollInterval{100};

bool Exists(const std::string& path) { return std::filesystem::exists(path); }

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string FirstLine(const std::string& text) {
  const auto end = text.find_first_of("\r\n");
  return text.substr(0, end);
}

// Appends `code` in UTF-8.
void AppendUtf8(char32_t code, std::string& text) {
  if (code < 0x80) {
    text += static_cast<char>(code);
  } else if (code < 0x800) {
    text += static_cast<char>(0xC0 | (code >> 6));
    text += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    text += static_cast<char>(0xE0 | (code >> 12));
    text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// Reads the L"..." literal of a trace line that starts at `from` (just after
// the opening quote), undoing the trace's escapes. Sets `end` after the
// closing quote; false when the line ends first.
bool ReadTraceLiteral(const std::string& line, std::size_t from, std::string& text,
                      std::size_t& end) {
  text.clear();
  for (std::size_t k = from; k < line.size(); ++k) {
    const char c = line[k];
    if (c == '"') {
      end = k + 1;
      return true;
    }
    if (c != '\\' || k + 1 >= line.size()) {
      text += c;
      continue;
    }
    const char escaped = line[++k];
    switch (escaped) {
      case 'n': text += '\n'; break;
      case 'r': text += '\r'; break;
      case 't': text += '\t'; break;
      default:
        // A UTF-16 unit beyond ASCII: four hexadecimal digits.
        if (std::isxdigit(static_cast<unsigned char>(escaped)) && k + 3 < line.size()) {
          AppendUtf8(static_cast<char32_t>(std::stoul(line.substr(k, 4), nullptr, 16)), text);
          k += 3;
        } else {
          text += escaped;
        }
        break;
    }
  }
  return false;
}

// True when the argument at `at` (after the literal) is a null pointer,
// printed with 8 digits by a 32-bit program and 16 by a 64-bit one.
bool NullPointerArgument(const std::string& line, std::size_t at) {
  if (line.compare(at, 2, ", ") != 0) return false;
  std::size_t end = at + 2;
  while (end < line.size() && line[end] == '0') ++end;
  const std::size_t digits = end - (at + 2);
  return (digits == 8 || digits == 16) && line.compare(end, 1, ",") == 0;
}

}  // namespace

std::string ProgramDirectory() {
  if (const char* configured = std::getenv("FORMREEL_PROGRAM_DIR")) return configured;
  return FORMREEL_DEFAULT_PROGRAM_DIR;
}

std::string MissingPrerequisite() {
  if (std::getenv("DISPLAY") == nullptr) return "DISPLAY is not set (./test provides an X display)";
  if (std::getenv("WINEPREFIX") == nullptr) return "WINEPREFIX is not set (./test provides one)";
  const std::string dir = ProgramDirectory();
  for (const char* file : {"/formreel.exe", "/SAMPLE.AVI", "/tests/app/window_probe.exe"})
    if (!Exists(dir + file)) return dir + file + " is missing (build the Windows preset)";
  for (const char* tool : {"wine", "xdotool", "xwd", "convert"})
    if (RunCommand({"sh", "-c", std::string("command -v ") + tool}, ToolLimit).status != 0)
      return std::string(tool) + " is not installed";
  return "";
}

std::vector<SentCommand> SentCommands(const std::string& trace) {
  static const std::string call = "mciSendStringW (L\"";
  static const std::string result = "mciSendStringW => 2/ ";
  std::vector<SentCommand> commands;
  std::istringstream lines(trace);
  std::string line;
  bool inOwnCommand = false;
  while (std::getline(lines, line)) {
    if (const auto at = line.find(call); at != std::string::npos) {
      std::string text;
      std::size_t end = 0;
      if (!ReadTraceLiteral(line, at + call.size(), text, end)) continue;
      // The program passes no return buffer; the media layer's own calls do.
      if (!NullPointerArgument(line, end)) continue;
      commands.push_back({text, false});
      inOwnCommand = true;
    } else if (const auto done = line.find(result); done != std::string::npos && inOwnCommand) {
      // The last result line before the next command is the command's own.
      const std::string value = line.substr(done + result.size());
      commands.back().succeeded = value.rfind("0 ", 0) == 0 || value == "0";
    }
  }
  return commands;
}

ConsoleRun::ConsoleRun() {
  std::string pattern = (std::filesystem::temp_directory_path() / "formreel-run-XXXXXX").string();
  if (mkdtemp(pattern.data()) != nullptr) folder_ = pattern;
}

ConsoleRun::~ConsoleRun() {
  process_.Kill();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

bool ConsoleRun::Start(const std::string& directory, const std::string& program,
                       const std::vector<std::string>& arguments, const std::string& input,
                       const std::vector<std::pair<std::string, std::string>>& environment) {
  std::vector<std::string> command = {"wine", program};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return StartCommand(directory, command, input, environment);
}

bool ConsoleRun::StartCommand(const std::string& directory, const std::vector<std::string>& command,
                              const std::string& input,
                              const std::vector<std::pair<std::string, std::string>>& environment) {
  if (folder_.empty()) return false;
  ChildProcess::Options options;
  options.directory = directory;
  options.environment = {{"WINEDEBUG", "-all"}};
  options.environment.insert(options.environment.end(), environment.begin(), environment.end());
  options.inputPath = folder_ + "/input";
  options.outputPath = folder_ + "/output";
  options.errorPath = folder_ + "/errors";
  std::ofstream(options.inputPath, std::ios::binary) << input;
  return process_.Start(command, options);
}

std::string ConsoleRun::Errors() const { return ReadFile(folder_ + "/errors"); }

bool ConsoleRun::WaitForErrors(const std::string& text, Milliseconds limit) const {
  return PollUntil(limit, [&] { return Errors().find(text) != std::string::npos; }, PollInterval);
}

ConsoleRun::Outcome ConsoleRun::Finish(Milliseconds limit) {
  Outcome outcome;
  const auto status = process_.Wait(limit);
  if (!status) process_.Kill();
  outcome.status = status.value_or(-1);
  outcome.output = ReadFile(folder_ + "/output");
  outcome.errors = Errors();
  return outcome;
}

std::optional<std::string> WaitForWindow(const std::string& name, Milliseconds limit,
                                         const std::string& other) {
  std::optional<std::string> window;
  PollUntil(limit, [&] {
    const CommandResult found =
        RunCommand({"xdotool", "search", "--onlyvisible", "--name", name}, ToolLimit);
    std::istringstream ids(found.output);
    for (std::string id; !window && ids >> id;)
      if (id != other) window = id;
    return window.has_value();
  }, PollInterval);
  return window;
}

bool NoWindow(const std::string& name) {
  const CommandResult found =
      RunCommand({"xdotool", "search", "--onlyvisible", "--name", name}, ToolLimit);
  return found.status == 1 && found.output.empty();
}

bool FocusWindow(const std::string& window) {
  return RunCommand({"xdotool", "windowfocus", "--sync", window}, ToolLimit).status == 0;
}

bool PressKeys(const std::vector<std::string>& chords) {
  std::vector<std::string> argv = {"xdotool", "key", "--delay", "50"};
  argv.insert(argv.end(), chords.begin(), chords.end());
  return RunCommand(argv, ToolLimit).status == 0;
}

bool TypeText(const std::string& text) {
  // A character the keyboard map lacks is typed through a key that xdotool
  // maps for it first; Wine needs time to read each new map.
  const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return (c & 0x80) == 0; });
  return RunCommand({"xdotool", "type", "--delay", ascii ? "30" : "150", "--", text}, ToolLimit).status == 0;
}

bool PrimeNonAsciiTyping() { return TypeText("Ж") && PressKeys({"BackSpace"}); }

bool TypeIntoFirstField(const std::string& text, Milliseconds limit) {
  const std::string expected = "text=[" + text + "] selected=-1";  // no entry chosen
  for (int attempt = 0; attempt < 3; ++attempt) {
    if (attempt > 0 && !PressKeys({"End", "shift+Home", "BackSpace"})) return false;
    if (!TypeText(text)) return false;
    if (ProbeWindowsUntil("field", expected, limit) == expected) return true;
  }
  return false;
}

bool CaptureWindow(const std::string& window, const std::string& pngPath) {
  char path[] = "/tmp/formreel-capture-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return false;
  close(fd);
  const std::string dump = path;
  const bool saved =
      RunCommand({"xwd", "-silent", "-id", window, "-out", dump}, ToolLimit).status == 0 &&
      RunCommand({"convert", "xwd:" + dump, pngPath}, ToolLimit).status == 0;
  std::remove(dump.c_str());
  return saved;
}

std::optional<std::string> ProbeWindows(const std::string& question) {
  ChildProcess::Options options;
  options.environment = {{"WINEDEBUG", "-all"}};
  const CommandResult answer = RunCommand(
      {"wine", ProgramDirectory() + "/tests/app/window_probe.exe", question}, ToolLimit, options);
  if (answer.status != 0) return std::nullopt;
  return FirstLine(answer.output);
}

std::optional<std::string> ProbeWindowsUntil(const std::string& question,
                                             const std::string& expected, Milliseconds limit) {
  std::optional<std::string> answer;
  PollUntil(limit, [&] {
    if (auto latest = ProbeWindows(question)) answer = std::move(latest);
    return answer == expected;
  }, PollInterval);
  return answer;
}
