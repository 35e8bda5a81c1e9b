// A form confirmed as it stands, without being shown: for scripts that run
// with no person, display or terminal. Every field answers as a form
// confirmed at once with CTRL-ENTER would: its initial choice, and its
// caller's value exactly.
#pragma once

#include "forms/core/front_end.h"

namespace formreel {

class UnattendedFrontEnd final : public FormFrontEnd {
 public:
  Showing Show(FormState& state) override;
};

}  // namespace formreel
