// Text as it may be shown on a terminal: every character of a form's text
// (its descriptor's prompts and choices, a typed value) becomes a character
// that draws itself and nothing else. Control characters show as their
// pictures (U+2400 to U+2421), so that no text can move the cursor, retitle
// or recolour the terminal; bytes that make no character of the page show
// as U+FFFD. Columns are the form's own (TextColumns), so that the shown
// text fills the cells the layout gave it. Platform-free.
#pragma once

#include <cstddef>
#include <string>

#include "text/characters.h"

namespace formreel {

struct VisibleCharacter {
  char32_t code = 0;     // what to draw
  std::size_t bytes = 0;    // bytes of the text it stands for
  std::size_t columns = 0;  // 1, or 2 for an East Asian wide character
};

inline constexpr char32_t ReplacementCharacter = U'\uFFFD';

// The first character of `text` (not empty) as it is shown. In a
// single-byte page only ASCII is known: other bytes show as U+FFFD.
VisibleCharacter FirstVisible(const CodePage& page, TextView text);

// The whole of `text` as it is shown, in UTF-8.
std::string VisibleUtf8(const CodePage& page, TextView text);

}  // namespace formreel
