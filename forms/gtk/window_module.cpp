// The window module's one export: GTK started on the desktop that the
// environment names, and the form shown there.
#include <gtk/gtk.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "forms/gtk/gtk_form.h"

namespace {

void NotShown(formreel::WindowCall& call, const std::string& problem) {
  std::snprintf(call.problem, sizeof call.problem, "%s", problem.c_str());
  call.showing = static_cast<int>(formreel::Showing::NotShown);
}

// Whether the process runs one thread: the threads' folder in /proc holds
// one entry.
bool OneThread() {
  GDir* threads = g_dir_open("/proc/self/task", 0, nullptr);
  if (threads == nullptr) return false;
  int count = 0;
  while (g_dir_read_name(threads) != nullptr) ++count;
  g_dir_close(threads);
  return count == 1;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void formreel_window_show(formreel::WindowCall* call) {
  // Only these two are read before the versions are known to agree.
  if (std::strcmp(call->version, FORMREEL_VERSION) != 0 || call->stateSize != sizeof(formreel::FormState))
    return NotShown(*call, "the window module is of formreel " FORMREEL_VERSION ", the program of formreel " +
                               std::string(call->version));
  // The locale is the program's: formentry and FormEntry's callers set it.
  gtk_disable_setlocale();
  // Screen readers and window managers know the program by its name.
  if (g_get_prgname() == nullptr) {
    char* path = g_file_read_link("/proc/self/exe", nullptr);
    if (path != nullptr) {
      char* name = g_path_get_basename(path);
      g_set_prgname(name);
      g_free(name);
      g_free(path);
    }
  }
  // A form draws nothing a GPU speeds up, and without GL GTK neither loads
  // nor probes the GL drivers as it starts (some 40 ms on X11 here, the
  // most of its start-up). GTK 4.8 has no call for that but its debug
  // variable, which it reads once, as it starts. Changing the environment
  // is safe only while no other thread can read it: so only a program of
  // one thread (formentry is one) sets it, and puts it back at once, so
  // that its children do not inherit it; a program with threads starts
  // GTK as it is. A GDK_DEBUG the user set stands.
  const bool setDebug = g_getenv("GDK_DEBUG") == nullptr && OneThread();
  if (setDebug) g_setenv("GDK_DEBUG", "gl-disable", TRUE);
  const bool started = gtk_init_check();
  if (setDebug) g_unsetenv("GDK_DEBUG");
  if (!started) {
    const char* display = g_getenv("WAYLAND_DISPLAY");
    if (display == nullptr || *display == '\0') display = g_getenv("DISPLAY");
    return NotShown(*call, "GTK could not open the desktop's display \"" +
                               std::string(display != nullptr ? display : "") + "\"");
  }
  call->showing = static_cast<int>(formreel::RunWindowForm(*call));
}
