// How soon a form is ready in a desktop window: formentry --window against
// `zenity --forms` and `yad --form` with the same three fields, started in
// turn, round after round, on an Xvfb of the benchmark's own, each timed
// from its start until X reports its window viewable and drawn: mapped, and
// damaged so that its middle row of pixels is no longer of one colour (GTK 4
// first fills the window black), the first frame, which already shows the
// first field focused (each of the three focuses it before it shows the
// window). All three draw through cairo (GSK_RENDERER=cairo for GTK 4), and
// the accessibility bus runs, as on a desktop. Run it inside a D-Bus
// session of its own:
//   dbus-run-session -- build/native-release/bench/window_startup [ROUNDS]   (20 by default)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr auto RunLimit = std::chrono::seconds(20);

// Starts `argv` with `extra` added to the environment and, when `output` is
// not negative, standard output on that descriptor.
pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extra, int output = -1) {
  std::vector<std::string> environment(extra);
  for (char** entry = environ; *entry != nullptr; ++entry) environment.emplace_back(*entry);
  std::vector<char*> args, env;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  for (const std::string& e : environment) env.push_back(const_cast<char*>(e.c_str()));
  args.push_back(nullptr);
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (output >= 0) posix_spawn_file_actions_adddup2(&actions, output, 1);
  else posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), env.data()) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Ends a started process (SIGTERM, then SIGKILL after the time limit) and reaps it.
void Stop(pid_t pid) {
  if (pid <= 0) return;
  kill(pid, SIGTERM);
  const auto deadline = Clock::now() + RunLimit;
  while (waitpid(pid, nullptr, WNOHANG) == 0) {
    if (Clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      return;
    }
    poll(nullptr, 0, 5);
  }
}

// An Xvfb of the benchmark's own: it picks a free display and names it.
struct Server {
  pid_t pid = -1;
  std::string display;
  Server() {
    int ends[2];
    if (pipe(ends) != 0) return;
    pid = Spawn({"Xvfb", "-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {}, ends[1]);
    close(ends[1]);
    // The number comes as a line, once the server takes connections.
    std::string number;
    pollfd ready{ends[0], POLLIN, 0};
    char c = 0;
    while (pid > 0 && number.size() < 12 && poll(&ready, 1, 30000) == 1 && read(ends[0], &c, 1) == 1 && c != '\n')
      number += c;
    if (c == '\n' && !number.empty()) display = ":" + number;
    close(ends[0]);
  }
  ~Server() { Stop(pid); }
};

struct Contender {
  const char* name;
  std::vector<std::string> argv;
  std::vector<double> times;  // milliseconds
};

class Watcher {
 public:
  explicit Watcher(const std::string& display) : display_(XOpenDisplay(display.c_str())) {
    if (display_ == nullptr) return;
    // A window may go before a request about it arrives: no error ends the run.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    int error = 0;
    damage_ = XDamageQueryExtension(display_, &damageEvent_, &error);
    pidAtom_ = XInternAtom(display_, "_NET_WM_PID", False);
    XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
    XSync(display_, False);
  }
  ~Watcher() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  bool Ready() const { return display_ != nullptr && damage_; }

  // Starts `argv` and times it until a window of its own is mapped and
  // damaged; nothing when that does not happen within the time limit.
  std::optional<double> Time(const std::vector<std::string>& argv, const std::vector<std::string>& environment) {
    Drain();
    const auto start = Clock::now();
    const pid_t pid = Spawn(argv, environment);
    if (pid <= 0) return std::nullopt;
    std::optional<double> time;
    Window mapped = None;
    while (!time && Clock::now() - start < RunLimit) {
      if (XPending(display_) == 0) {
        pollfd connection{ConnectionNumber(display_), POLLIN, 0};
        poll(&connection, 1, 50);
        continue;
      }
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type == CreateNotify && !event.xcreatewindow.override_redirect) {
        // Watched from its creation, so that no frame drawn before the map is missed.
        XDamageCreate(display_, event.xcreatewindow.window, XDamageReportNonEmpty);
      } else if (event.type == MapNotify && OwnedBy(event.xmap.window, pid)) {
        mapped = event.xmap.window;
      } else if (event.type == damageEvent_ + XDamageNotify) {
        const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
        XDamageSubtract(display_, damage.damage, None, None);  // the next damage is reported too
        if (damage.drawable == mapped && mapped != None && Drawn(mapped))
          time = Milliseconds(Clock::now() - start).count();
      }
    }
    Stop(pid);
    // The damage objects went with the windows.
    XSync(display_, False);
    return time;
  }

  // Whether the middle row of the window's pixels holds more than one colour.
  bool Drawn(Window window) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, window, &attributes) == 0 || attributes.map_state != IsViewable) return false;
    XImage* row = XGetImage(display_, window, 0, attributes.height / 2, static_cast<unsigned>(attributes.width), 1,
                            AllPlanes, ZPixmap);
    if (row == nullptr) return false;
    bool drawn = false;
    for (int x = 1; x < attributes.width && !drawn; ++x) drawn = XGetPixel(row, x, 0) != XGetPixel(row, 0, 0);
    XDestroyImage(row);
    return drawn;
  }

 private:
  bool OwnedBy(Window window, pid_t pid) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool owned = false;
    if (XGetWindowProperty(display_, window, pidAtom_, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data != nullptr && count == 1 && format == 32)
      owned = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
    if (data != nullptr) XFree(data);
    return owned;
  }
  void Drain() {
    XSync(display_, False);
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
    }
  }

  Display* display_ = nullptr;
  bool damage_ = false;
  int damageEvent_ = 0;
  Atom pidAtom_ = None;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(3, std::atoi(argv[1])) : 20;
  if (std::getenv("DBUS_SESSION_BUS_ADDRESS") == nullptr) {
    std::fprintf(stderr, "run it in a D-Bus session of its own: dbus-run-session -- %s\n", argv[0]);
    return 2;
  }
  Server server;
  if (server.display.empty()) {
    std::fprintf(stderr, "Xvfb did not start\n");
    return 1;
  }
  // The accessibility bus, as a desktop has it running.
  const pid_t bus = Spawn({"/usr/libexec/at-spi-bus-launcher", "--launch-immediately"}, {});
  const std::vector<std::string> environment = {"DISPLAY=" + server.display, "GDK_BACKEND=x11", "GSK_RENDERER=cairo"};
  Watcher watcher(server.display);
  if (!watcher.Ready()) {
    std::fprintf(stderr, "no X display with the DAMAGE extension at %s\n", server.display.c_str());
    Stop(bus);
    return 1;
  }
  std::vector<Contender> contenders = {
      {"formentry --window", {FORMREEL_FORMENTRY, "--window", "HNew clip|TPlease describe the clip.\\|CNAME^|IYEAR^|SKIND^film^series^clip^|"}, {}},
      {"zenity --forms",
       {"zenity", "--forms", "--title", "New clip", "--text", "Please describe the clip.", "--add-entry", "NAME",
        "--add-entry", "YEAR", "--add-combo", "KIND", "--combo-values", "film|series|clip"},
       {}},
      {"yad --form",
       {"yad", "--form", "--title", "New clip", "--text", "Please describe the clip.", "--field", "NAME", "--field",
        "YEAR", "--field", "KIND:CB", "", "", "film!series!clip"},
       {}},
  };
  // A first round that counts for nothing: caches, the registry's start.
  for (Contender& c : contenders) watcher.Time(c.argv, environment);
  for (int round = 0; round < rounds; ++round)
    for (std::size_t k = 0; k < contenders.size(); ++k) {
      Contender& c = contenders[(k + static_cast<std::size_t>(round)) % contenders.size()];  // each goes first in turn
      if (const std::optional<double> time = watcher.Time(c.argv, environment)) c.times.push_back(*time);
    }
  Stop(bus);
  for (const Contender& c : contenders)
    std::printf("%-20s median %7.1f ms  (%zu of %d runs drawn)\n", c.name, Median(c.times), c.times.size(), rounds);
  const double ours = Median(contenders[0].times);
  std::printf("ratio formentry/zenity %.2f   formentry/yad %.2f   (goal: at most 1.00)\n",
              ours / Median(contenders[1].times), ours / Median(contenders[2].times));
  return 0;
}
