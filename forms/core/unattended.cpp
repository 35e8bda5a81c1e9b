#include "forms/core/unattended.h"

#include "forms/core/form_model.h"

namespace formreel {

Showing UnattendedFrontEnd::Show(FormState& state) {
  FormModel model(state);
  BuildForm(state, CellWidth, CellHeight, model);
  // An untouched form converts: every field hands back what it got. Were
  // one not to, readBackIncomplete would stay set, which is no answer.
  static_cast<void>(ConfirmFields(state, 0, model));
  return Showing::Ended;
}

}  // namespace formreel
