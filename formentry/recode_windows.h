// Text from one Windows code page to another, through UTF-16, for a
// formentry whose active code page is a legacy one (a Windows that ignores
// its UTF-8 manifest): its files and standard input are UTF-8, its form
// speaks the active page, and what it prints is UTF-8 again.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace formreel::formentry {

// `text` of code page `from` in code page `to`; nothing when a byte of it
// is no character of `from`, or a character of it has no form in `to` (no
// near stand-in is taken for it).
std::optional<std::string> Recode(std::string_view text, unsigned from, unsigned to);

}  // namespace formreel::formentry
