// Moving between the positions of a form: its fields in order (a button
// group counting one stop per button), then O.K., then CANCEL, wrapping
// around. These steps only decide; the caller gives the keyboard focus to
// the focus target they leave in controls[0].
#pragma once

#include "forms/core/state.h"

namespace formreel {

// The next position (ENTER, TAB): a group is entered at its first button.
void StepToNextField(FormState& state);
// The previous position (CTRL-BACKSPACE): a group is entered at its last button.
void StepToPreviousField(FormState& state);
// Where a form starts: field 1, or the first button of field 1 when that is
// a button group. Needs the controls and group tables built.
void ChooseFirstPosition(FormState& state);
// When the form window itself receives the focus: a form without fields
// passes it to O.K.; otherwise the focus target stands.
void ChooseFocusOnActivation(FormState& state);

}  // namespace formreel
