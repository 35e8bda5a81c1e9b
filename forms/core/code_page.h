// The process's code page, as the platform-free text rules need it. Each
// platform's front end reads it its own way: Windows asks for the active
// ANSI code page (forms/win32/code_page.cpp), elsewhere the locale's
// character set decides (forms/terminal/code_page.cpp).
#pragma once

#include <cstdint>
#include <span>

#include "text/characters.h"

namespace formreel {

// UTF-8 (a Windows program whose manifest asks for it, a UTF-8 locale), a
// double-byte page with its lead-byte ranges, or a single-byte page.
CodePage ActiveCodePage();

// Windows' number of the UTF-8 code page.
inline constexpr std::uint32_t Utf8CodePageNumber = 65001;

// Code page `number` as Windows reports it: its longest character in bytes
// and its lead bytes as pairs of a range's first and last byte, closed by a
// pair of zero bytes that a full list lacks. UTF-8 is known by its number;
// a page of characters of up to two bytes is double-byte, with its first
// CodePage::MaxLeadRanges ranges; any other page is read as single bytes.
CodePage DescribeCodePage(std::uint32_t number, std::uint32_t maxCharSize, std::span<const std::uint8_t> leadBytes);

}  // namespace formreel
