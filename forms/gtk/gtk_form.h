// The form as a GTK 4 window on the desktop, in the desktop's idiom: the
// caption as the window's title, text lines centred, each prompt beside its
// field in one column of fields (an entry, an entry with a list, a list
// only, a password entry, a column of check boxes), the button rows, O.K.
// and CANCEL, a row that says a refusal, and the two lines of key help.
// The form is built by the shared construction into the form model
// (forms/core/form_model.h), which stays the one record of every value:
// each widget shows its control and writes back into it what the person
// does, and navigation and read-back decide on the model as they do for
// the terminal. The keys are the form's (ENTER and TAB next, SHIFT-TAB and
// CTRL-BACKSPACE previous, CTRL-ENTER confirm, ESCAPE cancel, SPACE and
// ENTER press a focused button, SPACE checks a box) and the mouse a desktop
// user's. Every field is named by its prompt for screen readers; a refused
// value keeps the form on its field, its text selected, and is said in the
// refusal row, an alert whose name screen readers are told of. Colours,
// fonts and sizes are the desktop's own.
#pragma once

#include "forms/core/front_end.h"
#include "forms/gtk/window_module.h"

namespace formreel {

// Runs the form of `call.state` in a window until it ends (TimedOut after
// state.rules.timeLimit without a key, when there is one); GTK is
// initialised. What the window leaves in the state is what the other front
// ends leave.
Showing RunWindowForm(WindowCall& call);

}  // namespace formreel
