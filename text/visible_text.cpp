#include "text/visible_text.h"

namespace formreel {

namespace {

constexpr char32_t ControlPictures = U'\u2400';  // U+2400 + code for codes 0..31
constexpr char32_t DeletePicture = U'\u2421';

std::uint8_t Byte(TextView text, std::size_t k) { return static_cast<std::uint8_t>(text[k]); }

// The code point of a valid UTF-8 character of `length` bytes.
char32_t DecodeUtf8(TextView text, std::size_t length) {
  static constexpr std::uint8_t LeadMask[] = {0, 0x7f, 0x1f, 0x0f, 0x07};
  char32_t code = Byte(text, 0) & LeadMask[length];
  for (std::size_t k = 1; k < length; ++k) code = (code << 6) | (Byte(text, k) & 0x3fu);
  return code;
}

}  // namespace

VisibleCharacter FirstVisible(const CodePage& page, TextView text) {
  const TextExtent extent = FirstCharacter(page, text);
  VisibleCharacter shown{ReplacementCharacter, extent.bytes, extent.columns};
  const std::uint8_t lead = Byte(text, 0);
  if (lead < 0x20) {
    shown.code = ControlPictures + lead;
  } else if (lead == 0x7f) {
    shown.code = DeletePicture;
  } else if (lead < 0x80) {
    shown.code = lead;
  } else if (page.kind == CodePage::Kind::Utf8) {
    // FirstCharacter takes a lead byte and its continuations as one
    // character only when they are valid UTF-8 of that length.
    const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : 2;
    if (extent.bytes == length && lead >= 0xc2) {
      const char32_t code = DecodeUtf8(text, length);
      if (code >= 0xa0) shown.code = code;  // C1 controls stay replaced
    }
  }
  return shown;
}

std::string VisibleUtf8(const CodePage& page, TextView text) {
  std::string shown;
  while (!text.empty()) {
    const VisibleCharacter c = FirstVisible(page, text);
    shown += Utf8Of(c.code);
    text = text.subspan(c.bytes);
  }
  return shown;
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

}  // namespace formreel
