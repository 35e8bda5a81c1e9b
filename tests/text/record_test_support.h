// Helpers shared by the record format tests: building fields and reading
// records back as strings.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

#include "text/display_text.h"
#include "text/record_format.h"

namespace formreel {

namespace record_test {

// n copies of `c`.
inline std::string Repeat(std::size_t n, char c) { return std::string(n, c); }
inline std::string Zeros(std::size_t n) { return Repeat(n, '0'); }
inline std::string Blanks(std::size_t n) { return Repeat(n, ' '); }

// `text` right-justified in `width` columns.
inline std::string Right(std::string_view text, std::size_t width) {
  return Blanks(width > text.size() ? width - text.size() : 0) + std::string(text);
}

// All 80 characters of a record.
inline std::string Str(const Record& record) { return std::string(record.View()); }

// The record's text up to its first NUL.
inline std::string Terminated(const Record& record) {
  const std::string_view all = record.View();
  return std::string(all.substr(0, all.find('\0')));
}

// A record holding `text` from position 1, blank-padded.
inline Record Field(std::string_view text) { return Record(text); }

// A record prepared as typed text is before a parse: right-aligned in the
// 30 readable columns (or its first 30 characters when longer).
inline Record TypedField(std::string_view text) {
  if (text.size() >= static_cast<std::size_t>(ReadableColumns)) return Record(text);
  return Record(Right(text, static_cast<std::size_t>(ReadableColumns)));
}

inline std::uint64_t Bits(double x) { return std::bit_cast<std::uint64_t>(x); }
inline std::uint32_t Bits(float x) { return std::bit_cast<std::uint32_t>(x); }

// The display text of a real at hand, handed over by its bits.
inline void SingleDisplayText(float x, Record& scratch) { SingleRealDisplayText(Bits(x), scratch); }
inline void DoubleDisplayText(double x, Record& scratch) { DoubleRealDisplayText(Bits(x), scratch); }

}  // namespace record_test

}  // namespace formreel
