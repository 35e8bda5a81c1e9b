// Fixed-length, blank-padded text.
//
// A FixedText<N> always holds exactly N characters; positions are 1-based
// and ranges are inclusive. Every code 0..255 is an ordinary character here,
// NUL included: only the four bridges to NUL-terminated text give NUL a
// meaning. All positions are checked against the storage; a range that
// does not lie inside it, or a negative length, is a fatal run-time error.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "text/fatal_error.h"

namespace formreel {

inline constexpr char Blank = ' ';
inline constexpr char Nul = '\0';

// A read-only range of characters: its location and its length.
using TextView = std::span<const char>;
// A writable range of characters.
using TextSpan = std::span<char>;

namespace fixed_text_detail {

// Checks a 1-based inclusive range [first, last] against storage of `size`
// characters and returns its 0-based offset. Negative lengths and ranges
// outside the storage end the program.
constexpr std::size_t CheckedOffset(int first, int last, std::size_t size) {
  const long long length = static_cast<long long>(last) - first + 1;
  if (length < 0) FatalRunTimeError("negative text length");
  if (first < 1 || static_cast<unsigned long long>(first - 1 + length) > size)
    FatalRunTimeError("text range outside its storage");
  return static_cast<std::size_t>(first - 1);
}

}  // namespace fixed_text_detail

template <std::size_t N>
class FixedText {
 public:
  static_assert(N > 0 && N < 65536, "a FixedText holds 1 to 65535 characters");
  static constexpr int length = static_cast<int>(N);

  // All blanks.
  constexpr FixedText() { chars_.fill(Blank); }
  // `text` cut to N characters or blank-padded to N.
  constexpr explicit FixedText(std::string_view text) {
    const std::size_t taken = text.size() < N ? text.size() : N;
    std::copy_n(text.begin(), taken, chars_.begin());
    std::fill(chars_.begin() + static_cast<std::ptrdiff_t>(taken), chars_.end(), Blank);
  }

  // The character at 1-based `position`; out of range is fatal.
  constexpr char operator()(int position) const {
    return chars_[Offset(position)];
  }
  // Writes one character at 1-based `position`; out of range is fatal.
  constexpr void Set(int position, char c) { chars_[Offset(position)] = c; }

  // Characters first..last (1-based, inclusive); first = last + 1 is the
  // valid empty range.
  constexpr TextSpan Range(int first, int last) {
    const auto offset = fixed_text_detail::CheckedOffset(first, last, N);
    return TextSpan(chars_.data() + offset, static_cast<std::size_t>(last - first + 1));
  }
  constexpr TextView Range(int first, int last) const {
    const auto offset = fixed_text_detail::CheckedOffset(first, last, N);
    return TextView(chars_.data() + offset, static_cast<std::size_t>(last - first + 1));
  }
  constexpr TextSpan All() { return TextSpan(chars_); }
  constexpr TextView All() const { return TextView(chars_); }
  constexpr std::string_view View() const { return {chars_.data(), N}; }

  // For platform calls that read NUL-terminated text: the caller makes sure a
  // NUL lies within the N characters.
  const char* Terminated() const { return chars_.data(); }
  // For platform calls that write into a buffer of N characters.
  char* Buffer() { return chars_.data(); }

  friend constexpr bool operator==(const FixedText&, const FixedText&) = default;

 private:
  static constexpr std::size_t Offset(int position) {
    if (position < 1 || position > length) FatalRunTimeError("text position outside its storage");
    return static_cast<std::size_t>(position - 1);
  }
  std::array<char, N> chars_;
};

// The location and length of characters first..last of `text`.
template <std::size_t N>
constexpr TextView TextRange(const FixedText<N>& text, int first, int last) {
  return text.Range(first, last);
}

// Copies `source` into `destination`: blank-filled on the right when the
// source is shorter, cut on the right when it is longer. The ranges must not
// overlap.
void AssignText(TextSpan destination, TextView source);
// A string constant, without its closing NUL. (Any contiguous range of
// characters, a std::string_view among them, converts to TextView.)
template <std::size_t K>
void AssignText(TextSpan destination, const char (&constant)[K]) {
  AssignText(destination, TextView(constant, K - 1));
}
// Positional form: destination characters dFirst..dLast from source
// characters sFirst..sLast. A negative length on either side is fatal.
template <std::size_t N, std::size_t M>
void AssignText(FixedText<N>& destination, int dFirst, int dLast,
                const FixedText<M>& source, int sFirst, int sLast) {
  if (dLast - dFirst + 1 < 0 || sLast - sFirst + 1 < 0) FatalRunTimeError("negative text length");
  AssignText(destination.Range(dFirst, dLast), source.Range(sFirst, sLast));
}

// -1, 0 or +1. Codes compare unsigned; the shorter operand counts as if it
// were blank-extended, except that any non-blank beyond it (NUL included)
// makes the longer operand the greater.
int CompareText(TextView a, TextView b);
inline bool TextEqual(TextView a, TextView b) { return CompareText(a, b) == 0; }
inline bool TextNotEqual(TextView a, TextView b) { return CompareText(a, b) != 0; }
template <std::size_t K>
bool TextEqual(TextView a, const char (&constant)[K]) {
  return CompareText(a, TextView(constant, K - 1)) == 0;
}

// Removes the leading blanks of positions 1..30, moving NULs in from
// position 31 (which becomes NUL). Positions after 31 are untouched.
// `text` holds at least 31 characters.
void StripLeadingBlanks(TextSpan text);
template <std::size_t N>
void StripLeadingBlanks(FixedText<N>& text) requires(N >= 31) { StripLeadingBlanks(text.All()); }

// Cleans the fixed-point text of a number: leading blanks and trailing zero
// digits go, the point stays; a text left with at most one character becomes
// "0.0". `text` holds at least 31 characters.
void TrimNumberText(TextSpan text);
template <std::size_t N>
void TrimNumberText(FixedText<N>& text) requires(N >= 31) { TrimNumberText(text.All()); }

// Copies `source` up to its first NUL, at most 30 characters, into
// `destination` and ends it with a NUL. Bytes after that NUL keep their
// contents. `source` holds at least 30 and `destination` at least 31.
void FixedToTerminated(TextView source, TextSpan destination);

// Copies the NUL-terminated `source` (at most its first 30 characters) into
// `destination` followed by a NUL; later characters keep their contents.
// `destination` holds at least 31 characters; `source` is read only up to its
// NUL or its 30th character, whichever comes first.
void TerminatedToFixed(TextSpan destination, const char* source);

}  // namespace formreel
