// What the form window draws itself: each line's text, each line's mark and
// two lines of key help. Platform-free: painting decides what goes where,
// and the window draws the list it gets.
#pragma once

#include <array>
#include <cstddef>
#include <span>

#include "forms/layout.h"
#include "forms/state.h"

namespace formreel {

inline constexpr char KeyHelpFirst[] = "ENTER or TAB=down   CTRL-BACKSPACE=up   ESCAPE = Cancel";
inline constexpr char KeyHelpSecond[] = "SPACE BAR presses button       CNTR-ENTER=confirms form";
static_assert(sizeof KeyHelpFirst - 1 == 55 && sizeof KeyHelpSecond - 1 == 55);

// One piece of text, every character drawn (blanks and NULs included) with
// its top left corner at `origin`.
struct PaintedText {
  Point origin;
  TextView text;
};

// The texts of one paint, in drawing order: per line its text and its mark,
// then the two key help lines.
class FormPaint {
 public:
  std::span<const PaintedText> Texts() const& { return {texts_.data(), count_}; }
  // A span of a temporary paint would outlive it.
  std::span<const PaintedText> Texts() const&& = delete;
  void Add(Point origin, TextView text) {
    if (count_ == texts_.size()) FatalRunTimeError("more painted texts than a form has lines for");
    texts_[count_++] = {origin, text};
  }

 private:
  std::array<PaintedText, 2 * MaxLines + 2> texts_{};
  std::size_t count_ = 0;
};

// Line by line, the line's text (a prompt up to its NUL, which ends it 30
// columns wide; a text line, which holds no NUL, its first 60 columns; not
// at all when its first byte is a NUL) and its mark, then the two key
// help lines. Uses the metrics already in `state`; the texts point into
// `state` and the key help constants, so they stay valid while `state` is
// unchanged.
FormPaint PaintFormText(const FormState& state);

}  // namespace formreel
