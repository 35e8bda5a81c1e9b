// Normalising and counting a form descriptor, before any window exists.
#pragma once

#include <cstdint>

#include "forms/core/state.h"

namespace formreel {

struct DescriptorCounts {
  std::int32_t fieldCount = 0;      // "|" not followed by T or H, less one if the first item is T or H
  std::int32_t textLineCount = 0;   // "\" characters
  std::int32_t descriptorLength = 0;  // position of the last character before the NUL, or 1999
};

// Raises an item letter the descriptor way: codes 97..127 lose 32, so lower
// case becomes capitals (and "|" becomes "\"); other codes stay.
constexpr char RaiseLetter(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code >= 97 && code <= 127 ? static_cast<char>(code - 32) : c;
}

// Where a normalised descriptor ends: the position of the last character
// before its first NUL, or 1999 when the first 1999 characters hold none.
std::int32_t DescriptorLengthBeforeNul(const FixedText<DescriptorCapacity>& descriptor);

// Copies the first `length` characters of `text` (at most 2000; none for a
// length below 1) into `descriptor`, blank-padded, raises the first
// character and every character after a "|", and counts. `text` must hold
// `length` readable characters.
DescriptorCounts NormaliseDescriptor(const char* text, std::int32_t length,
                                     FixedText<DescriptorCapacity>& descriptor);

}  // namespace formreel
