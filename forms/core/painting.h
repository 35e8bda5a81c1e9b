// What the form window draws itself: each line's text, each line's mark and
// two lines of key help. Platform-free: painting decides what goes where,
// and the window draws the list it gets.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "forms/core/layout.h"
#include "forms/core/state.h"

namespace formreel {

// The two lines of key help at the bottom of a form. The window's, here,
// name the keys of its modal loop; another front end names the keys it
// takes beside the table that binds them.
struct KeyHelp {
  std::string_view first;
  std::string_view second;
};
inline constexpr KeyHelp WindowKeyHelp{"ENTER or TAB=down   CTRL-BACKSPACE=up   ESCAPE = Cancel",
                                       "SPACE BAR presses button       CNTR-ENTER=confirms form"};
static_assert(WindowKeyHelp.first.size() == 55 && WindowKeyHelp.second.size() == 55);

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
// at all when its first byte is a NUL) and its mark, then the window's two
// key help lines. Uses the metrics already in `state`; the texts point
// into `state`, so they stay valid while it is unchanged.
FormPaint PaintFormText(const FormState& state);

}  // namespace formreel
