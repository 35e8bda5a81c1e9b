// A number a person or a script gives to count or pick something: a field's
// number, an entry's, a button's. Platform-free.
#pragma once

#include <optional>
#include <string_view>

namespace formreel {

// The whole of `text` as a number when it is 1 to 9 decimal digits (so it
// always fits an int); nothing for any other text: empty, signed, with a
// blank, or longer.
std::optional<int> SmallNumber(std::string_view text);

}  // namespace formreel
