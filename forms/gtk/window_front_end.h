// The form in a window on the desktop, on POSIX systems: the window module
// (a shared object of its own, which needs GTK) is loaded only when a form
// is to be shown in a window, from beside the program or from where the
// package installs it. Without a desktop or without the module the form is
// not shown, and WhyNotShown says why and how to get the module. While the
// window is open, a signal that ends programs (SIGINT, SIGTERM, SIGHUP,
// SIGQUIT) ends the form as interrupted and is then sent again, to the
// handler that was there before the form, as in the terminal.
#pragma once

#include <string>

#include "forms/core/front_end.h"

namespace formreel {

class WindowFrontEnd final : public FormFrontEnd {
 public:
  Showing Show(FormState& state) override;
  std::string WhyNotShown() const override { return problem_; }

 private:
  std::string problem_;
};

// Whether the environment names a desktop: WAYLAND_DISPLAY or DISPLAY set
// and not empty.
bool DesktopNamed();

}  // namespace formreel
