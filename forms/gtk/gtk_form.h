// The form as a GTK 4 window on the desktop, in the desktop's idiom: the
// caption as the window's title, text lines centred, each prompt beside its
// field in one column of fields, the button rows, O.K. and CANCEL, a status
// row and the two lines of key help. The keys are the form's (ENTER and TAB
// next, SHIFT-TAB and CTRL-BACKSPACE previous, CTRL-ENTER confirm, ESCAPE
// cancel, SPACE and ENTER press a focused button) and the mouse a desktop
// user's; navigation and read-back decide as forms/core has them. Every
// field is named by its prompt for screen readers; a refused value keeps
// the form on its field, its text selected, and is said in the status row,
// which screen readers are told of. Colours, fonts and sizes are the
// desktop's own.
#pragma once

#include "forms/core/front_end.h"
#include "forms/gtk/window_module.h"

namespace formreel {

// Runs the form of `call.state` in a window until it ends; GTK is
// initialised. What the window leaves in the state is what the other front
// ends leave.
Showing RunWindowForm(WindowCall& call);

}  // namespace formreel
