#include "tests/driver/fenrir_session.h"

#include <signal.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "tests/support/markdown.h"
#include "tests/support/poll.h"

namespace {

const char* const Fenrir = "/usr/bin/fenrir";
// fenrir needs Debian's python3, which need not be the first on PATH.
const char* const Python = "/usr/bin/python3";
const char* const Settings = "/etc/fenrirscreenreader/settings/settings.conf";

constexpr Milliseconds StartLimit{20000};
constexpr Milliseconds SpeechLimit{10000};
// fenrir speaks a key's echo within some 20 ms; a character it does not
// speak (a blank) is taken as typed after this much silence.
constexpr Milliseconds EchoLimit{400};
constexpr Milliseconds Quiet{600};

// fenrir's settings over the installed file: the PTY screen and keyboard,
// speech through `say`, no sound, and no remote control (whose socket it
// would leave in the temporary folder; it goes to `folder` should a
// driver make one). The shell's prompt is set here: tmux passes no PS1 to
// a pane.
std::string Options(const std::filesystem::path& say, const std::filesystem::path& folder) {
  return "screen#driver=ptyDriver;keyboard#driver=ptyDriver;keyboard#keyboardLayout=pty;keyboard#charEcho=True;"
         "speech#driver=genericDriver;speech#genericSpeechCommand=" + say.string() + " \"fenrirText\";"
         "sound#enabled=False;sound#driver=dummyDriver;"
         "remote#enabled=False;remote#driver=dummyDriver;remote#socketpath=" + folder.string() + "/;"
         "promote#enabled=False;general#autoSpellCheck=False;"
         "general#shell=/usr/bin/env PS1='" + std::string(FenrirSession::Prompt) + " ' /bin/bash --norc --noprofile";
}

// The processes whose parent is `parent`, and theirs, from /proc.
std::vector<pid_t> Descendants(pid_t parent) {
  std::vector<std::pair<pid_t, pid_t>> parents;  // (pid, its parent)
  for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // "pid (name) state ppid ...": the name may hold blanks and brackets.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 1));
    char state = 0;
    pid_t ppid = 0;
    if (rest >> state >> ppid) parents.emplace_back(std::stoi(name), ppid);
  }
  std::vector<pid_t> found;
  std::vector<pid_t> next = {parent};
  while (!next.empty()) {
    const pid_t p = next.back();
    next.pop_back();
    for (const auto& [pid, ppid] : parents)
      if (ppid == p) {
        found.push_back(pid);
        next.push_back(pid);
      }
  }
  return found;
}

// Whether `pid` has ended (gone, or a zombie nobody has reaped yet).
bool Ended(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string line;
  if (!std::getline(stat, line)) return true;
  const std::size_t close = line.rfind(')');
  return close == std::string::npos || line.compare(close + 1, 3, " Z ") == 0;
}

}  // namespace

std::string MissingFenrir() {
  if (const std::string tmux = MissingTmux(); !tmux.empty()) return tmux;
  if (!std::filesystem::exists(Fenrir) || !std::filesystem::exists(Python) || !std::filesystem::exists(Settings))
    return "fenrir (Debian's fenrir package)";
  return "";
}

std::string Heard(const std::string& utterance) {
  std::string heard;
  for (const char c : utterance) {
    const bool blank = c == ' ' || std::string_view(".,;:?!'\n").find(c) != std::string_view::npos;
    if (!blank)
      heard += c;
    else if (!heard.empty() && heard.back() != ' ')
      heard += ' ';
  }
  if (!heard.empty() && heard.back() == ' ') heard.pop_back();
  return heard;
}

FenrirSession::FenrirSession() {
  char folder[] = "/tmp/formreel-fenrir-XXXXXX";
  if (mkdtemp(folder) != nullptr) folder_ = folder;
}

FenrirSession::~FenrirSession() {
  if (started_) {
    // fenrir ends its shell as it quits; what outlives it is ended by id.
    // Only while tmux has not reaped it is the pane's id still fenrir's.
    std::istringstream pane(tmux_.Format("#{pane_dead} #{pane_pid}"));
    int dead = 1;
    pid_t fenrir = -1;
    pane >> dead >> fenrir;
    if (dead == 0 && fenrir > 0) {
      const std::vector<pid_t> started = Descendants(fenrir);
      kill(fenrir, SIGTERM);
      const auto allEnded = [&] {
        if (!Ended(fenrir)) return false;
        for (const pid_t pid : started)
          if (!Ended(pid)) return false;
        return true;
      };
      if (!PollUntil(Milliseconds(5000), allEnded)) {
        kill(fenrir, SIGKILL);
        for (const pid_t pid : started)
          if (!Ended(pid)) kill(pid, SIGKILL);
      }
      // Reaped by tmux before its server ends, which would leave it to an
      // init that need not reap.
      PollUntil(Milliseconds(5000), [&] { return tmux_.Format("#{pane_dead}") == "1"; });
    }
  }
  if (!folder_.empty()) std::filesystem::remove_all(folder_);
}  // the tmux server ends with tmux_

bool FenrirSession::Start(int columns, int rows) {
  if (folder_.empty()) return false;
  const std::filesystem::path say = folder_ / "say";
  const std::filesystem::path log = folder_ / "speech";
  {
    // One utterance a line, whatever line ends it holds.
    std::ofstream script(say);
    script << "#!/bin/sh\ntext=$(printf '%s' \"$1\" | tr '\\n' ' ')\nprintf '%s\\n' \"$text\" >>"
           << ShellQuoted(log.string()) << "\n";
  }
  std::filesystem::permissions(say, std::filesystem::perms::owner_all);
  std::ofstream(log).close();
  const std::string command = std::string("exec ") + Python + " " + Fenrir + " -e -s " + Settings + " -o " +
                              ShellQuoted(Options(say, folder_));
  if (!tmux_.Start(command, columns, rows)) return false;
  started_ = true;
  return WaitFor(Prompt, 0, StartLimit) && WaitForSilence(Quiet, SpeechLimit);
}

bool FenrirSession::Run(const std::string& command) {
  const std::size_t mark = Mark();
  if (!tmux_.Type(command)) return false;
  return PollUntil(SpeechLimit, [&] { return Mark() > mark; }) && WaitForSilence(Quiet, SpeechLimit) &&
         tmux_.Press({"Enter"});
}

bool FenrirSession::Type(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    // A character's bytes go together.
    std::size_t length = 1;
    while (i + length < text.size() && (static_cast<unsigned char>(text[i + length]) & 0xC0) == 0x80) ++length;
    const std::size_t mark = Mark();
    if (!tmux_.Type(text.substr(i, length))) return false;
    PollUntil(EchoLimit, [&] { return Mark() > mark; });
    i += length - 1;
  }
  return true;
}

bool FenrirSession::Press(const std::string& key) { return tmux_.Press({key}); }

std::vector<std::string> FenrirSession::Utterances() {
  const std::string log = formreel::ReadWhole(folder_ / "speech");
  std::vector<std::string> lines;
  // Only whole lines: an utterance being written is not one yet.
  for (std::size_t start = 0, end; (end = log.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(log.substr(start, end - start));
  return lines;
}

std::size_t FenrirSession::Mark() { return Utterances().size(); }

std::vector<std::string> FenrirSession::SpokenSince(std::size_t mark) {
  std::vector<std::string> lines = Utterances();
  lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(std::min(mark, lines.size())));
  return lines;
}

bool FenrirSession::WaitFor(const std::string& text, std::size_t mark, Milliseconds limit) {
  const std::string wanted = Heard(text);
  return PollUntil(limit, [&] {
    for (const std::string& utterance : SpokenSince(mark))
      if (Heard(utterance).find(wanted) != std::string::npos) return true;
    return false;
  });
}

bool FenrirSession::WaitForSilence(Milliseconds quiet, Milliseconds limit) {
  std::size_t spoken = Mark();
  auto since = std::chrono::steady_clock::now();
  return PollUntil(limit, [&] {
    const std::size_t now = Mark();
    if (now != spoken) {
      spoken = now;
      since = std::chrono::steady_clock::now();
    }
    return std::chrono::steady_clock::now() - since >= quiet;
  });
}
