// The desktop window's keys: which key does what, bound by one table to
// named actions, and the two lines of key help that say them. The keys the
// table leaves to the focused widget are GTK's own: typing, a list's keys,
// SPACE or ENTER pressing a button, SPACE checking a box.
#pragma once

#include <gdk/gdk.h>

#include <cstdint>

#include "forms/core/form_model.h"

namespace formreel {

enum class WindowAction : std::uint8_t {
  Widget,    // the focused widget takes the key
  Next,      // the next position (ENTER, TAB; ENTER moves on from a box)
  Previous,  // SHIFT-TAB, CTRL-BACKSPACE
  Confirm,   // CTRL-ENTER
  Cancel,    // ESCAPE
  ShowList,  // F4: the focused field's list opened
};

// What `key` with `modifiers` held does with the focus on `control`.
WindowAction WindowActionFor(guint key, GdkModifierType modifiers, const FormModel::Control& control);

// The keys in words, so that a screen reader speaks every one of them.
inline constexpr char WindowKeyHelpFirst[] =
    "ENTER or TAB: next.   SHIFT-TAB or CTRL-BACKSPACE: previous.   ESCAPE: cancel.";
inline constexpr char WindowKeyHelpSecond[] =
    "SPACE or ENTER presses a button, SPACE checks a box.   F4 shows a list.   CTRL-ENTER confirms.";

}  // namespace formreel
