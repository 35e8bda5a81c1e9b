#include "text/small_number.h"

#include <algorithm>
#include <charconv>

#include "text/field_input.h"

namespace formreel {

std::optional<int> SmallNumber(std::string_view text) {
  constexpr std::size_t MaxDigits = 9;
  if (text.empty() || text.size() > MaxDigits || !std::ranges::all_of(text, IsDigit)) return std::nullopt;
  int value = 0;
  static_cast<void>(std::from_chars(text.data(), text.data() + text.size(), value));
  return value;
}

}  // namespace formreel
