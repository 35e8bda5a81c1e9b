// libFuzzer target: any bytes as text of UTF-8 or of a double-byte page
// whose lead-byte ranges the input chooses, cut at any limits. A whole prefix
// must keep both limits, end where a character ends, be the longest that
// does, and never end inside a well-formed UTF-8 character. The UTF-8
// decoder and encoder agree: a whole character is its code point's bytes.
#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/support/require.h"
#include "text/characters.h"

using namespace formreel;

namespace {

// The page from the input's first bytes: 0 single-byte, 1 UTF-8, else a
// double-byte page of up to three ranges.
CodePage PageOf(const std::uint8_t*& data, std::size_t& size) {
  CodePage page;
  if (size < 7) return page;
  const std::uint8_t kind = data[0] % 3;
  page.kind = kind == 0 ? CodePage::Kind::SingleByte : kind == 1 ? CodePage::Kind::Utf8 : CodePage::Kind::DoubleByte;
  if (page.kind == CodePage::Kind::DoubleByte) {
    page.leadRangeCount = 3;
    for (std::size_t r = 0; r < 3; ++r) page.leadRanges[r] = {data[1 + 2 * r], data[2 + 2 * r]};
  }
  data += 7;
  size -= 7;
  return page;
}

// Whether the UTF-8 text has a well-formed character that covers byte k and
// starts before it (checked by the encoding's own rules, without the module).
bool InsideWellFormedUtf8(const std::uint8_t* text, std::size_t size, std::size_t k) {
  for (std::size_t start = k >= 3 ? k - 3 : 0; start < k; ++start) {
    const std::uint8_t b = text[start];
    const std::size_t length = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? (b <= 0xEF ? 3 : 0) : b >= 0xC2 ? 2 : 0;
    if (length == 0 || start + length <= k || start + length > size) continue;
    char32_t code = b & (length == 2 ? 0x1Fu : length == 3 ? 0x0Fu : 0x07u);
    bool continued = true;
    for (std::size_t j = 1; j < length; ++j) {
      continued = continued && (text[start + j] & 0xC0) == 0x80;
      code = (code << 6) | (text[start + j] & 0x3Fu);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (continued && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::size_t maxBytes = data[0] % 64;
  const std::size_t maxColumns = data[1] % 64;
  data += 2;
  size -= 2;
  const CodePage page = PageOf(data, size);
  const TextView text(reinterpret_cast<const char*>(data), size);

  const TextExtent prefix = WholePrefix(page, text, maxBytes, maxColumns);
  Require(prefix.bytes <= maxBytes && prefix.columns <= maxColumns && prefix.bytes <= size);

  // Character by character from the start: the prefix ends on a boundary and
  // the next character would break a limit.
  TextExtent walked;
  while (walked.bytes < prefix.bytes) {
    const TextExtent next = FirstCharacter(page, text.subspan(walked.bytes));
    Require(next.bytes >= 1 && next.bytes <= 4 && next.columns >= 1 && next.columns <= 2);
    walked.bytes += next.bytes;
    walked.columns += next.columns;
  }
  Require(walked == prefix);
  if (prefix.bytes < size) {
    const TextExtent next = FirstCharacter(page, text.subspan(prefix.bytes));
    Require(prefix.bytes + next.bytes > maxBytes || prefix.columns + next.columns > maxColumns);
  }
  if (page.kind == CodePage::Kind::Utf8 && prefix.bytes < size)
    Require(!InsideWellFormedUtf8(data, size, prefix.bytes));
  if (size > 0) {
    const Utf8Character first = FirstUtf8(text);
    Require(first.bytes >= 1 && first.bytes <= size);
    if (first.status == Utf8Status::Whole) Require(Utf8Of(first.code) == std::string(text.data(), first.bytes));
  }
  return 0;
}
