// A form confirmed as it stands, without being shown: for scripts that run
// with no person, display or terminal. Every field answers as a form
// confirmed at once would: its initial choice, and its caller's value
// exactly. The confirmation is CTRL-ENTER's, unless a row of buttons has a
// selection that names one of its buttons: then that button is pressed
// (the first such row's, in field order), and the other rows answer 0.
// Every check of the form's rules applies to the values given; as nobody
// can mend one that fails, the form is then Refused, and WhyNotShown names
// the first such field with its reason and value as one line ("PORT: 1 to
// 65535: 70000"; a hidden text's value never).
#pragma once

#include <string>

#include "forms/core/front_end.h"

namespace formreel {

class UnattendedFrontEnd final : public FormFrontEnd {
 public:
  Showing Show(FormState& state) override;
  std::string WhyNotShown() const override { return problem_; }

 private:
  std::string problem_;
};

}  // namespace formreel
