// The form entry call (FormEntry, declared in the public header) and its two
// steps: the form window and the modal loop.
#pragma once

#include <chrono>
#include <cstdint>
#include <span>

#include "formreel/forms.h"
#include "forms/core/front_end.h"
#include "forms/core/state.h"

namespace formreel {

enum class [[nodiscard]] FormWindowStatus : std::uint8_t {
  Created,
  NotRegistered,  // this copy's one registration of the class failed
  NotCreated,     // no window: no display, an owner that is no window, no class
};

// Registers the form class with the module that holds this copy of the
// facility on the first call (a failed registration is not retried) and
// creates the form window, owned by `owner`, storing it in `formWindow` only
// when it was created.
FormWindowStatus CreateFormWindow(const WindowHandle& owner, WindowHandle& formWindow);

// The form as a window owned by the caller's window, with its own modal loop.
class WindowFrontEnd final : public FormFrontEnd {
 public:
  explicit WindowFrontEnd(const WindowHandle& owner) : owner_(owner) {}
  Showing Show(FormState& state) override;
  std::string WhyNotShown() const override;

 private:
  const WindowHandle& owner_;
};

// How the modal loop ended.
struct FormLoopEnd {
  int exitCode = 0;       // the quit message's
  bool timedOut = false;  // the time limit ended the form
};

// The modal loop: dispatches every message of the thread, turning the five
// form keys into commands sent to `formWindow`, until the quit message.
// With a `timeLimit` above zero, a timer of the form window ends the form
// unconfirmed once that long has passed without a key or a mouse button
// pressed anywhere in the thread; with none, no timer is set.
FormLoopEnd RunFormLoop(const WindowHandle& formWindow, std::chrono::milliseconds timeLimit);

}  // namespace formreel
