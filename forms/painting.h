// What the form window draws itself: each line's text, each line's mark and
// two lines of key help. Platform-free; the window draws through TextCanvas.
#pragma once

#include "forms/layout.h"
#include "forms/state.h"

class TextCanvas {
 public:
  virtual ~TextCanvas() = default;
  // Draws `text` (every character, blanks and NULs included) with its top
  // left corner at `origin`.
  virtual void DrawChars(Point origin, TextView text) = 0;
};

inline constexpr char KeyHelpFirst[] = "ENTER or TAB=down   CTRL-BACKSPACE=up   ESCAPE = Cancel";
inline constexpr char KeyHelpSecond[] = "SPACE BAR presses button       CNTR-ENTER=confirms form";
static_assert(sizeof KeyHelpFirst - 1 == 55 && sizeof KeyHelpSecond - 1 == 55);

// Draws, line by line, the line's text (30 characters wide when its 31st is
// a NUL, else 60; not at all when its first is a NUL) and its mark, then the
// two key help lines, which pass through `scratch`. Uses the metrics and
// spacing already in `state`.
void PaintFormText(FormState& state, TextCanvas& canvas);
