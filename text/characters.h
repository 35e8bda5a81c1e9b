// Whole characters of a multi-byte code page, counted the way a reader
// counts them: how many bytes a character takes, how many columns of the
// fixed-pitch cell grid it fills, and where a text may be cut without
// splitting one. Platform-free: the Windows side describes the active code
// page once and hands the description in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

#include "text/fixed_text.h"

namespace formreel {

// How the bytes of a text make characters.
struct CodePage {
  enum class Kind : std::uint8_t {
    SingleByte,  // every byte a character of one column
    Utf8,        // up to four bytes; East Asian wide characters take two columns
    DoubleByte,  // a lead byte and the byte after it make one character of two columns
  };
  // Inclusive range of lead bytes of a double-byte page.
  struct ByteRange {
    std::uint8_t first = 0;
    std::uint8_t last = 0;
  };
  static constexpr std::size_t MaxLeadRanges = 6;

  Kind kind = Kind::SingleByte;
  std::array<ByteRange, MaxLeadRanges> leadRanges{};  // DoubleByte only
  std::size_t leadRangeCount = 0;
};

inline constexpr CodePage SingleBytePage{};
inline constexpr CodePage Utf8Page{CodePage::Kind::Utf8, {}, 0};

// A prefix of a text: its length in bytes and the columns it fills.
struct TextExtent {
  std::size_t bytes = 0;
  std::size_t columns = 0;
  friend constexpr bool operator==(const TextExtent&, const TextExtent&) = default;
};

// A limit that never stops a prefix.
inline constexpr std::size_t NoLimit = std::numeric_limits<std::size_t>::max();

// How the bytes at the start of a text make a UTF-8 character.
enum class Utf8Status : std::uint8_t {
  Whole,     // a valid character (ASCII controls included)
  CutShort,  // the start of a valid character that the end of the text cuts short
  Invalid,   // the first byte starts no valid character: a stray continuation,
             // an overlong or surrogate form, a lead byte not continued as it must be
};

struct Utf8Character {
  Utf8Status status = Utf8Status::Invalid;
  char32_t code = 0;      // the code point, when Whole
  std::size_t bytes = 0;  // Whole: its length; CutShort: the whole text; Invalid: 1
};

// The UTF-8 character that starts `text` (not empty). The one decoder of
// UTF-8: every other reading of it goes through here.
Utf8Character FirstUtf8(TextView text);

// The UTF-8 bytes of `code`, a Unicode scalar value (not a surrogate, at
// most U+10FFFF).
std::string Utf8Of(char32_t code);

// Whether `code` is a control character (C0, DELETE or C1: U+0000..U+001F,
// U+007F..U+009F): no character to show or to type.
constexpr bool IsControlCode(char32_t code) { return code < 0x20 || (code >= 0x7F && code <= 0x9F); }

// The bytes of the character that starts `text` (0 for an empty text) and
// its columns. Bytes that make no valid character (a stray continuation, an
// overlong or surrogate form in UTF-8) are one character of one column
// each; a character that the end of `text` cuts short is one character of
// the bytes that are there.
TextExtent FirstCharacter(const CodePage& page, TextView text);

// The longest prefix of `text` made of whole characters that has at most
// `maxBytes` bytes and fills at most `maxColumns` columns. In a single-byte
// page it is min(size, maxBytes, maxColumns) bytes, as many columns.
TextExtent WholePrefix(const CodePage& page, TextView text, std::size_t maxBytes, std::size_t maxColumns);

// The columns the whole of `text` fills.
std::size_t TextColumns(const CodePage& page, TextView text);

// The bytes of the whole characters of the NUL-terminated `text` that fit
// in `maxBytes`: a character that the byte after them would continue is
// left out. Reads at most maxBytes + 1 bytes, stopping at the NUL.
std::size_t TerminatedWholeBytes(const CodePage& page, const char* text, std::size_t maxBytes);

}  // namespace formreel
