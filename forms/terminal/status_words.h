// What the terminal's status row says of the focused position: what it
// takes and which keys work it, in words written to be heard as well as
// read (a console screen reader speaks the row when it changes), so no
// word leans on a sign that screen readers leave out. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "formreel/forms.h"

namespace formreel {

// A position of a form as its status row tells it.
struct FocusedPosition {
  enum class Is : std::uint8_t { Field, Box, GroupButton, Ok, Cancel };
  Is is = Is::Field;
  std::string_view name;    // a field's prompt (a box's too) or a button's caption, as it is shown
  char letter = ' ';        // a field's item letter
  std::size_t entries = 0;  // a field's list entries
  // The program's checks of a field; null for none. Only those its letter
  // takes are said.
  const FieldCheck* check = nullptr;
  std::string_view caption;  // a box's caption, as it is shown
  std::int32_t box = 0;      // a box's place in its field, from 1
  std::int32_t boxes = 0;    // and how many the field has
  bool checked = false;
};

// "KIND: a list of 3 entries; UP and DOWN step it, F4 shows it", "YEAR: a
// 16-bit integer (-32768 to 32767)", "PORT: a 32-bit integer from 1 to
// 65535", "NAME: text of up to 30 bytes, required", "GENRES: FILM, box 1
// of 3, checked; SPACE checks or clears it", "O.K.: confirms the form".
std::string StatusWords(const FocusedPosition& position);

}  // namespace formreel
