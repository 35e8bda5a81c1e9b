// The process's code page, as the platform-free text rules need it. Each
// platform's front end reads it its own way: Windows asks for the active
// ANSI code page (forms/win32/code_page.cpp), elsewhere the locale's
// character set decides (forms/terminal/code_page.cpp).
#pragma once

#include "text/characters.h"

namespace formreel {

// UTF-8 (a Windows program whose manifest asks for it, a UTF-8 locale), a
// double-byte page with its lead-byte ranges, or a single-byte page.
CodePage ActiveCodePage();

}  // namespace formreel
