#include "tests/driver/x_terminal.h"

#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/driver/tmux_session.h"
#include "tests/support/markdown.h"
#include "tests/support/poll.h"
#include "text/characters.h"

namespace {

constexpr Milliseconds ToolLimit{10000};
constexpr Milliseconds StartLimit{30000};
constexpr Milliseconds EndLimit{10000};

bool OnPath(const std::string& program) {
  return RunCommand({"sh", "-c", "command -v " + ShellQuoted(program)}, ToolLimit).status == 0;
}

std::string NewFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "formreel-x-XXXXXX").string();
  return mkdtemp(pattern.data()) != nullptr ? pattern : "";
}

// A file's whole text once a writer has ended it with a newline.
std::optional<std::string> Line(const std::string& path) {
  const std::string text = formreel::ReadWhole(path);
  if (!text.ends_with('\n')) return std::nullopt;
  return text.substr(0, text.size() - 1);
}

// Whether the process waits in poll or select: a program that reads keys
// does so once it has set its terminal up.
bool WaitsForInput(pid_t pid) {
  std::istringstream call(formreel::ReadWhole("/proc/" + std::to_string(pid) + "/syscall"));
  long number = -1;
  if (!(call >> number)) return false;
  for (const long waiting : {
#ifdef SYS_poll
           static_cast<long>(SYS_poll),
#endif
#ifdef SYS_select
           static_cast<long>(SYS_select),
#endif
           static_cast<long>(SYS_ppoll), static_cast<long>(SYS_pselect6)})
    if (number == waiting) return true;
  return false;
}

}  // namespace

XDisplay::XDisplay() {
  if (const char* given = std::getenv("DISPLAY"); given != nullptr && *given != '\0') {
    name_ = given;
    return;
  }
  if (!OnPath("Xvfb")) {
    problem_ = "no DISPLAY, and no Xvfb to start one (Debian's xvfb package)";
    return;
  }
  folder_ = NewFolder();
  // Xvfb picks a free display itself and writes its number once it takes
  // connections; no key repeats (-r), which a slow machine could cause; no
  // reset when the last client goes (-noreset): a connection made during
  // one, between two terminals, can be refused.
  const std::string numberFile = folder_ + "/display";
  if (folder_.empty() ||
      !server_.Start({"sh", "-c",
                      "exec Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -r -noreset 3>" +
                          ShellQuoted(numberFile)},
                     {})) {
    problem_ = "Xvfb could not be started";
    return;
  }
  std::optional<std::string> number;
  PollUntil(StartLimit, [&] { return (number = Line(numberFile)) || !server_.Running(); });
  if (number && !number->empty()) {
    name_ = ":" + *number;
  } else {
    problem_ = "Xvfb did not start";
  }
}

XDisplay::~XDisplay() {
  // SIGTERM, so that the server removes its socket and lock file.
  if (server_.Running()) {
    kill(server_.pid(), SIGTERM);
    if (!server_.Wait(EndLimit)) server_.Kill();
  }
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

std::string MissingXTerminal(const std::string& terminal) {
  for (const std::string& program : {std::string("xdotool"), std::string("xmodmap"), terminal})
    if (!OnPath(program)) return program + " is not installed";
  return "";
}

XTerminal::XTerminal(const XDisplay& display) : display_(display), folder_(NewFolder()) {}

XTerminal::~XTerminal() {
  for (const std::string& keysym : keysyms_) Xmodmap("keysym " + keysym + " =");
  terminal_.Kill();
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}

std::vector<std::string> XTerminal::Xdotool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), "xdotool");
  const CommandResult result = RunCommand(arguments, ToolLimit, {.environment = {{"DISPLAY", display_.Name()}}});
  std::vector<std::string> words;
  if (result.status != 0) return words;
  std::istringstream output(result.output);
  for (std::string word; output >> word;) words.push_back(word);
  if (words.empty()) words.push_back("");  // succeeded, printing nothing
  return words;
}

std::string XTerminal::Start(const std::vector<std::string>& terminal, const std::string& program,
                             const std::vector<std::string>& arguments) {
  if (display_.Name().empty()) return "no X display: " + display_.Problem();
  if (folder_.empty()) return "no folder for the run";
  // The shell says who it is, so that the program is found as its child.
  std::string script = "echo $$ >" + ShellQuoted(folder_ + "/shell") + "; " + ShellQuoted(program);
  for (const std::string& argument : arguments) script += " " + ShellQuoted(argument);
  script += " >" + ShellQuoted(folder_ + "/out") + " 2>" + ShellQuoted(folder_ + "/err");
  script += "; echo $? >" + ShellQuoted(folder_ + "/status");
  std::vector<std::string> command = terminal;
  command.insert(command.end(), {"-e", "sh", "-c", script});
  ChildProcess::Options options;
  options.environment = {{"DISPLAY", display_.Name()}, {"LANG", "C.UTF-8"}, {"LC_ALL", "C.UTF-8"}};
  options.outputPath = folder_ + "/terminal.log";
  options.errorPath = options.outputPath;
  if (!terminal_.Start(command, options)) return "could not start " + terminal.front();
  const auto ended = [&] {
    return terminal.front() + " ended early: " + formreel::ReadWhole(folder_ + "/terminal.log") +
           formreel::ReadWhole(folder_ + "/err");
  };

  // The program, once it waits for keys, has asked the terminal for what
  // it asks (such as modified keys), which then reach it as it asked.
  pid_t child = -1;
  const bool waiting = PollUntil(StartLimit, [&] {
    if (!terminal_.Running()) return true;
    const std::optional<std::string> shell = Line(folder_ + "/shell");
    if (!shell) return false;
    std::istringstream children(formreel::ReadWhole("/proc/" + *shell + "/task/" + *shell + "/children"));
    return children >> child && WaitsForInput(child);
  });
  if (!terminal_.Running()) return ended();
  if (!waiting) return program + " did not come to wait for keys";

  std::string window;
  PollUntil(StartLimit, [&] {
    const std::vector<std::string> found =
        Xdotool({"search", "--onlyvisible", "--pid", std::to_string(terminal_.pid())});
    if (!found.empty()) window = found.back();
    return !window.empty();
  });
  if (window.empty()) return "no window of " + terminal.front() + " came";
  if (Xdotool({"windowfocus", "--sync", window}).empty()) return "the window of " + terminal.front() + " took no focus";
  return "";
}

bool XTerminal::Xmodmap(const std::string& expression) {
  return RunCommand({"xmodmap", "-e", expression}, ToolLimit, {.environment = {{"DISPLAY", display_.Name()}}})
             .status == 0;
}

bool XTerminal::Type(const std::string& text) {
  for (std::size_t k = 0; k < text.size();) {
    const formreel::Utf8Character c = formreel::FirstUtf8(formreel::TextView(text.data() + k, text.size() - k));
    if (c.status != formreel::Utf8Status::Whole) return false;
    k += c.bytes;
    if (c.code < 0x80) continue;
    char keysym[16];
    std::snprintf(keysym, sizeof keysym, "U%04X", static_cast<unsigned>(c.code));
    if (std::find(keysyms_.begin(), keysyms_.end(), keysym) != keysyms_.end()) continue;
    // The first key with no symbols takes it.
    if (!Xmodmap(std::string("keycode any = ") + keysym)) return false;
    keysyms_.push_back(keysym);
  }
  return !Xdotool({"type", "--", text}).empty();
}

bool XTerminal::Press(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments = {"key", "--"};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  return !Xdotool(arguments).empty();
}

XTerminal::Outcome XTerminal::Finish() {
  Outcome outcome;
  std::optional<std::string> status;
  if (PollUntil(EndLimit, [&] { return (status = Line(folder_ + "/status")).has_value(); }))
    outcome.status = std::stoi(*status);
  outcome.output = formreel::ReadWhole(folder_ + "/out");
  outcome.errors = formreel::ReadWhole(folder_ + "/err");
  if (!terminal_.Wait(EndLimit)) terminal_.Kill();
  return outcome;
}
