// One FormEntry call, whichever front end shows the form: what every call
// does before and after the form is shown, and the seam the front ends meet
// (the window, the terminal, the plain line mode, and a form confirmed
// without being shown).
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "formreel/forms.h"
#include "forms/core/state.h"

namespace formreel {

// How showing a form went.
enum class [[nodiscard]] Showing : std::uint8_t {
  Ended,        // shown and ended: `confirmed` and `readBackIncomplete` tell how
  Interrupted,  // shown, then ended by CTRL-C or a signal: no answer
  TimedOut,     // shown, then ended because no key came within state.rules.timeLimit
  NotShown,     // nothing could be shown: no display, no terminal
  Refused,      // confirmed unshown, but a value the caller gave fails its
                // field's checks; WhyNotShown says which and why
};

class FormFrontEnd {
 public:
  virtual ~FormFrontEnd() = default;
  // Shows the form whose shared part `state` holds (descriptor, counts,
  // selections, values, code page, rules; `confirmed` false), builds its
  // window part, and runs it until it ends. A confirmation ends it only
  // once every field converted and passed its checks (ConfirmFields),
  // leaving the answers in `state`. With a time limit in state.rules, a
  // front end ends the form as TimedOut once that long has passed without
  // a key; without one it sets no timer.
  virtual Showing Show(FormState& state) = 0;
  // After NotShown or Refused, why, in words for a message.
  virtual std::string WhyNotShown() const { return {}; }
};

// The entry call on `frontEnd`, as FormEntry promises it (forms.h): at most
// one form open in the process, the descriptor checked in `page` and the
// arrays' sizes against it before anything is shown, the caller's arrays
// rewritten only for a confirmed form. Returns how it ended, which
// LastFormEntryEnd (and LastFormEntryProblem) report afterwards on this
// thread.
FormEntryEnd EnterForm(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
                       std::span<ValueSlot> values, const CodePage& page, FormFrontEnd& frontEnd,
                       const FormRules& rules = {});

}  // namespace formreel
