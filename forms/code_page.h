// The process's ANSI code page, as the platform-free text rules need it.
#pragma once

#include "text/characters.h"

namespace formreel {

// The active ANSI code page: UTF-8 (a program whose manifest asks for it),
// a double-byte page with its lead-byte ranges, or a single-byte page.
CodePage ActiveCodePage();

}  // namespace formreel
