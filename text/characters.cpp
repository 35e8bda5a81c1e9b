#include "text/characters.h"

#include <algorithm>

namespace formreel {

namespace {

struct CodeRange {
  char32_t first;
  char32_t last;
};

// The blocks of East Asian wide and fullwidth characters, sorted: CJK
// ideographs and symbols, kana, Hangul, Yi, fullwidth forms and the common
// emoji blocks. A character outside them takes one column.
constexpr CodeRange WideRanges[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x1F300, 0x1F64F},
    {0x1F900, 0x1F9FF}, {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

bool IsWide(char32_t code) {
  const auto after = std::upper_bound(std::begin(WideRanges), std::end(WideRanges), code,
                                      [](char32_t c, const CodeRange& r) { return c < r.first; });
  return after != std::begin(WideRanges) && code <= (after - 1)->last;
}

std::uint8_t Byte(TextView text, std::size_t k) { return static_cast<std::uint8_t>(text[k]); }

bool IsContinuation(std::uint8_t b) { return (b & 0xC0) == 0x80; }

// One UTF-8 character: one byte, one column where the bytes make none.
TextExtent FirstUtf8Character(TextView text) {
  const Utf8Character character = FirstUtf8(text);
  switch (character.status) {
    case Utf8Status::Whole: return {character.bytes, IsWide(character.code) ? 2u : 1u};
    case Utf8Status::CutShort: return {character.bytes, 1};
    case Utf8Status::Invalid: break;
  }
  return {1, 1};
}

bool IsLeadByte(const CodePage& page, std::uint8_t b) {
  const std::size_t count = std::min(page.leadRangeCount, CodePage::MaxLeadRanges);
  for (std::size_t r = 0; r < count; ++r)
    if (b >= page.leadRanges[r].first && b <= page.leadRanges[r].last) return true;
  return false;
}

}  // namespace

Utf8Character FirstUtf8(TextView text) {
  constexpr Utf8Character Invalid{Utf8Status::Invalid, 0, 1};
  const std::uint8_t lead = Byte(text, 0);
  if (lead < 0x80) return {Utf8Status::Whole, lead, 1};
  // The lead byte fixes the length and the range its second byte must lie
  // in, which rules out overlong and surrogate forms and codes beyond U+10FFFF.
  std::size_t length = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  char32_t code = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return Invalid;
  }
  if (text.size() >= 2 && (Byte(text, 1) < low || Byte(text, 1) > high)) return Invalid;
  std::size_t k = 1;
  for (; k < length && k < text.size() && IsContinuation(Byte(text, k)); ++k)
    code = (code << 6) | (Byte(text, k) & 0x3Fu);
  if (k == length) return {Utf8Status::Whole, code, length};
  if (k < text.size()) return Invalid;  // a byte that continues nothing
  return {Utf8Status::CutShort, 0, k};
}

std::string Utf8Of(char32_t code) {
  std::string bytes;
  if (code < 0x80) {
    bytes += static_cast<char>(code);
  } else if (code < 0x800) {
    bytes += static_cast<char>(0xc0 | (code >> 6));
    bytes += static_cast<char>(0x80 | (code & 0x3f));
  } else if (code < 0x10000) {
    bytes += static_cast<char>(0xe0 | (code >> 12));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    bytes += static_cast<char>(0x80 | (code & 0x3f));
  } else {
    bytes += static_cast<char>(0xf0 | (code >> 18));
    bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3f));
    bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3f));
    bytes += static_cast<char>(0x80 | (code & 0x3f));
  }
  return bytes;
}

TextExtent FirstCharacter(const CodePage& page, TextView text) {
  if (text.empty()) return {};
  switch (page.kind) {
    case CodePage::Kind::Utf8: return FirstUtf8Character(text);
    case CodePage::Kind::DoubleByte:
      if (!IsLeadByte(page, Byte(text, 0))) return {1, 1};
      return text.size() >= 2 ? TextExtent{2, 2} : TextExtent{1, 1};
    case CodePage::Kind::SingleByte: break;
  }
  return {1, 1};
}

TextExtent WholePrefix(const CodePage& page, TextView text, std::size_t maxBytes, std::size_t maxColumns) {
  TextExtent prefix;
  while (prefix.bytes < text.size()) {
    const TextExtent next = FirstCharacter(page, text.subspan(prefix.bytes));
    if (next.bytes > maxBytes - prefix.bytes || next.columns > maxColumns - prefix.columns) break;
    prefix.bytes += next.bytes;
    prefix.columns += next.columns;
  }
  return prefix;
}

std::size_t TextColumns(const CodePage& page, TextView text) {
  return WholePrefix(page, text, NoLimit, NoLimit).columns;
}

std::size_t TerminatedWholeBytes(const CodePage& page, const char* text, std::size_t maxBytes) {
  std::size_t length = 0;
  while (length <= maxBytes && text[length] != Nul) ++length;
  return WholePrefix(page, TextView(text, length), maxBytes, NoLimit).bytes;
}

}  // namespace formreel
