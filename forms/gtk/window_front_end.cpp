#include "forms/gtk/window_front_end.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <optional>

#include "forms/gtk/window_module.h"
#include "forms/terminal/controlling_terminal.h"

namespace formreel {

namespace {

// The module's file, and where it is looked for: beside the running
// program as the package lays them out (BINDIR/FORMREEL_WINDOW_RELATIVE_DIR,
// which is how the build tree has them too), then where the package
// installs it, for programs anywhere.
constexpr char ModuleFile[] = "libformreel-window.so";

std::string ProgramDirectory() {
  std::array<char, 4096> path{};
  const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
  if (length <= 0) return {};
  const std::string program(path.data(), static_cast<std::size_t>(length));
  return program.substr(0, program.rfind('/'));
}

struct Module {
  WindowShowFunction show = nullptr;
  std::string problem;  // why there is none
};

// Loaded once and kept: GTK cannot be unloaded.
const Module& WindowModule() {
  static const Module module = [] {
    Module found;
    std::string tried;
    for (const std::string& directory :
         {ProgramDirectory() + "/" FORMREEL_WINDOW_RELATIVE_DIR, std::string(FORMREEL_WINDOW_INSTALLED_DIR)}) {
      const std::string path = directory + "/" + ModuleFile;
      if (access(path.c_str(), F_OK) != 0) {
        tried += (tried.empty() ? "" : ", ") + path;
        continue;
      }
      void* handle = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
      if (handle == nullptr) {
        found.problem = std::string("the window module could not be loaded: ") + dlerror();
        return found;
      }
      found.show = reinterpret_cast<WindowShowFunction>(dlsym(handle, WindowShowSymbol));
      if (found.show == nullptr) found.problem = path + " is no window module of formreel";
      return found;
    }
    found.problem = "the window module is not installed (" + tried + "): install the package " FORMREEL_WINDOW_PACKAGE;
    return found;
  }();
  return module;
}

// What the module calls when the signal watch has a note: the form ends
// for any signal but a new terminal size.
struct SignalHost {
  SignalWatch watch;
  std::optional<int> ending;
};

bool SignalEnds(void* host) {
  auto& signals = *static_cast<SignalHost*>(host);
  while (const std::optional<int> signal = signals.watch.Take())
    if (*signal != SIGWINCH) signals.ending = signal;
  return signals.ending.has_value();
}

}  // namespace

bool DesktopNamed() {
  for (const char* name : {"WAYLAND_DISPLAY", "DISPLAY"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return true;
  }
  return false;
}

Showing WindowFrontEnd::Show(FormState& state) {
  if (!DesktopNamed()) {
    problem_ = "no desktop to show a window on: neither WAYLAND_DISPLAY nor DISPLAY is set";
    return Showing::NotShown;
  }
  const Module& module = WindowModule();
  if (module.show == nullptr) {
    problem_ = module.problem;
    return Showing::NotShown;
  }
  SignalHost signals;
  WindowCall call;
  call.version = FORMREEL_VERSION;
  call.stateSize = sizeof(FormState);
  call.state = &state;
  call.signalDescriptor = signals.watch.Descriptor();
  call.signalEnds = SignalEnds;
  call.host = &signals;
  module.show(&call);
  if (call.showing < static_cast<int>(Showing::Ended) || call.showing > static_cast<int>(Showing::NotShown)) {
    problem_ = "the window module answered what no Showing is";
    return Showing::NotShown;
  }
  const auto showing = static_cast<Showing>(call.showing);
  if (showing == Showing::NotShown) problem_ = call.problem;
  if (showing == Showing::Interrupted && signals.ending) signals.watch.Resend(*signals.ending);
  return showing;
}

}  // namespace formreel
