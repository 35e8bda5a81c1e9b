// What the terminal's status row says of the focused position: what it
// takes and which keys work it, in words written to be heard as well as
// read (a console screen reader speaks the row when it changes), so no
// word leans on a sign that screen readers leave out. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace formreel {

// A position of a form as its status row tells it.
struct FocusedPosition {
  enum class Is : std::uint8_t { Field, GroupButton, Ok, Cancel };
  Is is = Is::Field;
  std::string_view name;    // the field's prompt or the button's caption, as it is shown
  char letter = ' ';        // a field's item letter
  std::size_t entries = 0;  // a field's list entries
};

// "KIND: a list of 3 entries; UP and DOWN step it, F4 shows it", "YEAR: a
// 16-bit integer (-32768 to 32767)", "O.K.: confirms the form".
std::string StatusWords(const FocusedPosition& position);

}  // namespace formreel
