#include "text/visible_text.h"

namespace formreel {

namespace {

constexpr char32_t ControlPictures = U'\u2400';  // U+2400 + code for codes 0..31
constexpr char32_t DeletePicture = U'\u2421';

}  // namespace

VisibleCharacter FirstVisible(const CodePage& page, TextView text) {
  const TextExtent extent = FirstCharacter(page, text);
  VisibleCharacter shown{ReplacementCharacter, extent.bytes, extent.columns};
  const auto lead = static_cast<std::uint8_t>(text[0]);
  if (lead < 0x20) {
    shown.code = ControlPictures + lead;
  } else if (lead == 0x7f) {
    shown.code = DeletePicture;
  } else if (lead < 0x80) {
    shown.code = lead;
  } else if (page.kind == CodePage::Kind::Utf8) {
    if (const Utf8Character c = FirstUtf8(text); c.status == Utf8Status::Whole && !IsControlCode(c.code))
      shown.code = c.code;
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

}  // namespace formreel
