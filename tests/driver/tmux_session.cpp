#include "tests/driver/tmux_session.h"

#include <unistd.h>

#include <atomic>

#include "tests/support/poll.h"

namespace {

constexpr Milliseconds CommandLimit{10000};

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

std::string MissingTmux() {
  return RunCommand({"tmux", "-V"}, CommandLimit).status == 0 ? "" : "tmux (Debian's tmux package)";
}

std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

TmuxSession::TmuxSession() {
  static std::atomic<int> sessions{0};
  socket_ = "formreel-test-" + std::to_string(getpid()) + "-" + std::to_string(sessions++);
}

TmuxSession::~TmuxSession() {
  // The server leaves its socket behind when killed.
  const std::string socket = started_ ? Trimmed(Tmux({"display-message", "-p", "#{socket_path}"}).output) : "";
  Tmux({"kill-server"});
  if (!socket.empty()) unlink(socket.c_str());
}

CommandResult TmuxSession::Tmux(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {"tmux", "-u", "-L", socket_, "-f", "/dev/null"});
  return RunCommand(arguments, CommandLimit, {.environment = {{"LANG", "C.UTF-8"}}});
}

bool TmuxSession::Start(const std::string& command, int columns, int rows,
                        const std::vector<std::pair<std::string, std::string>>& environment) {
  // A pane that waits, set up, and then given the command: the pane must
  // stay once the command ends, which has to be set before it starts. A
  // later command takes the same pane, at the size asked for.
  if (started_) {
    // A respawned pane keeps its screen: the last program's is cleared
    // first, while the pane waits in `cat`.
    if (!Resize(columns, rows) || Tmux({"send-keys", "-R", "-t", "form"}).status != 0 ||
        Tmux({"clear-history", "-t", "form"}).status != 0)
      return false;
  } else if (Tmux({"new-session", "-d", "-s", "form", "-x", std::to_string(columns), "-y", std::to_string(rows),
                   "cat"})
                 .status != 0) {
    return false;
  }
  started_ = true;
  for (const auto& option : std::vector<std::vector<std::string>>{
           {"set-option", "-g", "remain-on-exit", "on"},
           {"set-option", "-s", "extended-keys", "on"},
           {"set-option", "-s", "escape-time", "0"}})
    if (Tmux(option).status != 0) return false;
  std::vector<std::string> respawn = {"respawn-pane", "-k", "-t", "form", "-e", "LANG=C.UTF-8"};
  for (const auto& [name, value] : environment) {
    respawn.push_back("-e");
    respawn.push_back(name + "=" + value);
  }
  respawn.push_back(command);
  return Tmux(respawn).status == 0;
}

bool TmuxSession::Type(const std::string& text) {
  return Tmux({"send-keys", "-t", "form", "-l", "--", text}).status == 0;
}

bool TmuxSession::Press(const std::vector<std::string>& keys) {
  std::vector<std::string> arguments = {"send-keys", "-t", "form"};
  arguments.insert(arguments.end(), keys.begin(), keys.end());
  return Tmux(arguments).status == 0;
}

bool TmuxSession::Resize(int columns, int rows) {
  return Tmux({"resize-window", "-t", "form", "-x", std::to_string(columns), "-y", std::to_string(rows)}).status == 0;
}

std::string TmuxSession::Screen() { return Tmux({"capture-pane", "-p", "-t", "form"}).output; }

std::optional<std::string> TmuxSession::WaitForScreen(const std::string& text, Milliseconds limit) {
  std::string screen;
  if (PollUntil(limit, [&] { return (screen = Screen()).find(text) != std::string::npos; })) return screen;
  return std::nullopt;
}

std::optional<std::string> TmuxSession::WaitForScreenWithout(const std::string& text, Milliseconds limit) {
  std::string screen;
  if (PollUntil(limit, [&] { return (screen = Screen()).find(text) == std::string::npos; })) return screen;
  return std::nullopt;
}

std::string TmuxSession::Format(const std::string& format) {
  return Trimmed(Tmux({"display-message", "-p", "-t", "form", format}).output);
}

