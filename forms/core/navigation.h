// Moving between the positions of a form: its fields in order (a button
// row counting one stop per button, check boxes one per box), then O.K.,
// then CANCEL, wrapping around. These steps only decide; the caller gives the keyboard focus to
// the focus target they leave in controls[0].
#pragma once

#include "forms/core/state.h"

namespace formreel {

// The control of position `position` (1-based) of field `field`'s row: a
// button of a B row, a box of an M field.
ControlHandle PositionControl(const FormState& state, std::int32_t field, std::int32_t position);
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
