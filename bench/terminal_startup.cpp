// How soon a form is on the terminal: formentry against dialog's --form
// with the same three fields and against the floor, the least ncurses
// program that shows the same prompts (curses_floor), each started in turn,
// round after round, in the pane of a tmux server of the benchmark's own,
// and timed from the start until the pane shows the first prompt. tmux is
// driven in control mode, one client for the whole run, so that no process
// start of a tmux command lies inside a measurement. Then, on a form of 20
// fields with 8-button rows and 79-byte choices in an 80 x 24 pane, what a
// key costs that scrolls the form, and what a typed key costs: how soon the
// pane shows it, and how many bytes formentry sends the terminal for it.
//   build/native-release/bench/terminal_startup [RUNS]   (at least 15; 20 by default)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Microseconds = std::chrono::microseconds;

constexpr int Columns = 100;
constexpr int Rows = 40;

std::string Quoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a tmux command to its end.
bool Tmux(const std::string& socket, const std::string& arguments) {
  return std::system(("tmux -u -L " + socket + " -f /dev/null " + arguments + " >/dev/null 2>&1").c_str()) == 0;
}

// One tmux client in control mode: commands in, their output and the
// pane's notifications out, as lines.
class ControlClient {
 public:
  explicit ControlClient(const std::string& socket) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, in[1]);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<std::string> args = {"tmux", "-u", "-C", "-L", socket, "-f", "/dev/null", "attach", "-t", "bench"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    if (posix_spawnp(&pid_, "tmux", &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(in[0]);
    close(out[1]);
    to_ = in[1];
    from_ = out[0];
    // The attach command's own answer comes first. The pane's output is not
    // sent as notifications: tmux 3.3a ends itself ("fatal: not enough
    // data") when a pane is respawned while such output is on its way.
    for (std::optional<std::string> line; (line = ReadLine(5000));)
      if (line->starts_with("%end")) {
        if (!Command("refresh-client -f no-output")) pid_ = -1;
        return;
      }
    pid_ = -1;
  }
  // Its pipes closed first: a client still writing then ends on the broken
  // pipe instead of waiting for a reader.
  ~ControlClient() {
    if (to_ >= 0) close(to_);
    if (from_ >= 0) close(from_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool IsOpen() const { return pid_ > 0; }

  // The output lines of `command`; notifications that come meanwhile are
  // passed over.
  std::optional<std::vector<std::string>> Command(const std::string& command) {
    const std::string line = command + "\n";
    if (write(to_, line.data(), line.size()) != static_cast<ssize_t>(line.size())) return std::nullopt;
    std::vector<std::string> output;
    bool inside = false;
    for (;;) {
      const std::optional<std::string> next = ReadLine(5000);
      if (!next) return std::nullopt;
      if (next->starts_with("%begin")) {
        inside = true;
      } else if (next->starts_with("%end") || next->starts_with("%error")) {
        if (inside) return output;
      } else if (inside) {
        output.push_back(*next);
      }
    }
  }

 private:
  std::optional<std::string> ReadLine(int milliseconds) {
    for (;;) {
      const std::size_t end = buffer_.find('\n');
      if (end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      pollfd ready{from_, POLLIN, 0};
      if (poll(&ready, 1, milliseconds) <= 0) return std::nullopt;
      char bytes[4096];
      const ssize_t got = read(from_, bytes, sizeof bytes);
      if (got <= 0) return std::nullopt;
      buffer_.append(bytes, static_cast<std::size_t>(got));
    }
  }

  pid_t pid_ = -1;
  int to_ = -1;
  int from_ = -1;
  std::string buffer_;
};

bool Shows(ControlClient& tmux, const std::string& text) {
  const auto screen = tmux.Command("capture-pane -p -t bench");
  if (!screen) return false;
  return std::any_of(screen->begin(), screen->end(), [&](const std::string& row) { return row.find(text) != std::string::npos; });
}

// Waits (at most 10 s) until the pane shows `text`, looking without pause:
// the moment is being timed.
bool WaitFor(ControlClient& tmux, const std::string& text) {
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Clock::now() < deadline)
    if (Shows(tmux, text)) return true;
  return false;
}

// The size of a file, or 0.
long FileSize(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? static_cast<long>(status.st_size) : 0;
}

// Waits until `path` has not grown for 50 ms, and gives its size.
long SettledSize(const std::string& path) {
  long size = FileSize(path);
  for (;;) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const long now = FileSize(path);
    if (now == size) return size;
    size = now;
  }
}

// Microseconds from starting `command` in the pane until it shows `prompt`.
std::optional<long> TimeToPrompt(ControlClient& tmux, const std::string& command, const std::string& prompt) {
  // A respawned pane keeps its screen: the next program starts on a clear one.
  if (!tmux.Command("respawn-pane -k -t bench " + Quoted("printf '\\033[H\\033[2J'; exec cat"))) return std::nullopt;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (Shows(tmux, prompt))
    if (Clock::now() > deadline) return std::nullopt;
  const auto start = Clock::now();
  if (!tmux.Command("respawn-pane -k -t bench " + Quoted("exec " + command))) return std::nullopt;
  if (!WaitFor(tmux, prompt)) return std::nullopt;
  return std::chrono::duration_cast<Microseconds>(Clock::now() - start).count();
}

long Median(std::vector<long> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double Milliseconds(long us) { return static_cast<double>(us) / 1000.0; }

void Report(const char* label, const std::vector<long>& us) {
  std::printf("%-44s median %7.3f ms (%.3f to %.3f)\n", label, Milliseconds(Median(us)),
              Milliseconds(*std::min_element(us.begin(), us.end())),
              Milliseconds(*std::max_element(us.begin(), us.end())));
}

// 20 fields within the 2000 bytes of a descriptor: two rows of 8 buttons,
// and 18 fields with a 79-byte choice each.
std::string LargeForm() {
  std::string descriptor = "HTwenty fields|";
  const std::string choice(79, 'c');
  for (int k = 1; k <= 20; ++k) {
    const std::string n = std::to_string(k);
    if (k <= 2)
      descriptor += "BB" + n + "^2^3^4^5^6^7^8^|";
    else
      descriptor += "CFIELD " + n + "^" + choice + "^|";
  }
  return descriptor;
}

// Bytes sent to the pane (kept in `file` by pipe-pane) for a key, and how
// soon the pane shows `shown` once it is sent.
struct KeyCost {
  std::vector<long> us;
  std::vector<long> bytes;
  std::vector<long> rows;  // rows of the pane that changed
};

bool SendKey(ControlClient& tmux, const std::string& file, const std::string& key, const std::string& shown,
             KeyCost& cost) {
  const long before = SettledSize(file);
  const auto screen = tmux.Command("capture-pane -p -t bench");
  const auto start = Clock::now();
  tmux.Command("send-keys -t bench " + key);
  if (!screen || !WaitFor(tmux, shown)) return false;
  cost.us.push_back(std::chrono::duration_cast<Microseconds>(Clock::now() - start).count());
  cost.bytes.push_back(SettledSize(file) - before);
  const auto after = tmux.Command("capture-pane -p -t bench");
  long changed = 0;
  for (std::size_t r = 0; after && r < after->size(); ++r) changed += r >= screen->size() || (*after)[r] != (*screen)[r];
  cost.rows.push_back(changed);
  return true;
}

void ReportKeys(const char* what, const KeyCost& cost) {
  Report(what, cost.us);
  std::printf("%-44s median %ld bytes (%ld to %ld), %ld rows changed\n", "  bytes sent to the terminal for it:",
              Median(cost.bytes), *std::min_element(cost.bytes.begin(), cost.bytes.end()),
              *std::max_element(cost.bytes.begin(), cost.bytes.end()), Median(cost.rows));
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IOLBF, 0);
  const int runs = argc > 1 ? std::atoi(argv[1]) : 20;
  if (runs < 15) {
    std::fprintf(stderr, "usage: terminal_startup [RUNS >= 15]\n");
    return 2;
  }
  const std::string formentry = FORMREEL_FORMENTRY;
  const std::string socket = "formreel-bench-" + std::to_string(getpid());
  if (!Tmux(socket, "new-session -d -s bench -x " + std::to_string(Columns) + " -y " + std::to_string(Rows) + " cat")) {
    std::fprintf(stderr, "terminal_startup: tmux could not start (Debian's tmux package)\n");
    return 1;
  }
  int status = 0;
  {
    ControlClient tmux(socket);
    const std::string ours = Quoted(formentry) + " " + Quoted("HNew clip|CNAME^|CYEAR^|CKIND^|");
    const std::string floor = Quoted(FORMREEL_CURSES_FLOOR);
    const std::string theirs =
        "dialog --form 'New clip' 15 60 3 NAME 1 1 '' 1 31 20 0 YEAR 2 1 '' 2 31 20 0 KIND 3 1 '' 3 31 20 0";
    std::vector<long> formentryUs, floorUs, dialogUs;
    // One untimed start of each first: it pays for the page cache.
    for (int k = 0; k <= runs && status == 0; ++k) {
      const std::optional<long> a = TimeToPrompt(tmux, ours, "NAME");
      const std::optional<long> b = TimeToPrompt(tmux, floor, "NAME");
      const std::optional<long> c = TimeToPrompt(tmux, theirs, "NAME");
      if (!a || !b || !c) {
        std::fprintf(stderr, "terminal_startup: no form within 10 s (is dialog installed?)\n");
        status = 1;
      } else if (k > 0) {
        formentryUs.push_back(*a);
        floorUs.push_back(*b);
        dialogUs.push_back(*c);
      }
    }
    if (status == 0) {
      std::printf("runs per program: %d, alternating, in a %dx%d tmux pane\n", runs, Columns, Rows);
      Report("formentry, to its first prompt:", formentryUs);
      Report("the ncurses floor, to its first prompt:", floorUs);
      Report("dialog --form, to its first prompt:", dialogUs);
      const auto ratio = [](const std::vector<long>& a, const std::vector<long>& b) {
        return static_cast<double>(Median(a)) / static_cast<double>(Median(b));
      };
      std::printf("%-44s %.3f (goal: at most 1.05)\n", "ratio formentry / floor:", ratio(formentryUs, floorUs));
      std::printf("%-44s %.3f (goal: at most 0.9)\n", "ratio formentry / dialog:", ratio(formentryUs, dialogUs));
      std::printf("%-44s %.3f\n", "ratio floor / dialog:", ratio(floorUs, dialogUs));

      // Keys on a large form in 80 x 24: TAB from field 15 to 20 and
      // SHIFT-TAB from 6 to 3, each scrolling it a line, then typed
      // letters. pipe-pane keeps the bytes formentry sends in a file.
      const std::string bytesFile = "/tmp/" + socket + ".bytes";
      tmux.Command("resize-window -t bench -x 80 -y 24");
      tmux.Command("respawn-pane -k -t bench " + Quoted("exec " + Quoted(formentry) + " " + Quoted(LargeForm())));
      WaitFor(tmux, "more below");
      tmux.Command("pipe-pane -t bench -o " + Quoted("cat >" + bytesFile));
      tmux.Command("send-keys -t bench -N 28 Tab");
      WaitFor(tmux, "FIELD 15: text");
      KeyCost scrolled, typed;
      bool shown = true;
      for (int k = 16; k <= 20 && shown; ++k)
        shown = SendKey(tmux, bytesFile, "Tab", "FIELD " + std::to_string(k) + ": text", scrolled);
      tmux.Command("send-keys -t bench -N 14 BTab");
      WaitFor(tmux, "FIELD 6: text");
      for (int k = 5; k >= 3 && shown; --k)
        shown = SendKey(tmux, bytesFile, "BTab", "FIELD " + std::to_string(k) + ": text", scrolled);
      std::string text;
      for (char c = 'a'; c <= 'z' && shown; ++c) {
        text += c;
        shown = SendKey(tmux, bytesFile, std::string("-l ") + c, text, typed);
      }
      tmux.Command("pipe-pane -t bench");
      std::remove(bytesFile.c_str());
      if (shown) {
        ReportKeys("a key that scrolls 20 fields, until it shows:", scrolled);
        ReportKeys("a typed key on 20 fields, until it shows:", typed);
      } else {
        std::fprintf(stderr, "terminal_startup: a key did not show\n");
        status = 1;
      }
    }
  }
  Tmux(socket, "kill-server");
  return status;
}
