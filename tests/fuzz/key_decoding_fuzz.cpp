// libFuzzer target: any bytes as a terminal's input, decoded key by key as
// the terminal front end does, in a UTF-8 or a single-byte page, with more
// bytes to come or none. A key takes no more than there is, and at least a
// byte once no more are coming; only a character carries text, and that
// text is one whole printable character of the page, never a control, and
// the bytes themselves unless an escape sequence reported it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "forms/terminal/key_decoding.h"
#include "tests/support/require.h"

using namespace formreel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const CodePage& page = (data[0] & 1) != 0 ? Utf8Page : SingleBytePage;
  const bool complete = (data[0] & 2) != 0;
  // The input as libFuzzer hands it: AddressSanitizer stops a read beyond.
  std::string_view input(reinterpret_cast<const char*>(data + 1), size - 1);
  while (!input.empty()) {
    const DecodedKey decoded = DecodeKey(input, page, complete);
    Require(decoded.length <= input.size());
    Require(!complete || decoded.length >= 1);
    const std::string& text = decoded.press.text;
    if (decoded.press.key == Key::Character) {
      Require(!text.empty());
      if (page.kind == CodePage::Kind::Utf8) {  // UTF-8's decoder is held to the encoding by characters_fuzz
        const Utf8Character c = FirstUtf8(TextView(text.data(), text.size()));
        Require(c.status == Utf8Status::Whole && c.bytes == text.size() && !IsControlCode(c.code));
      } else {  // one byte, whatever the page makes of one beyond ASCII
        const auto byte = static_cast<std::uint8_t>(text[0]);
        Require(text.size() == 1 && byte >= 0x20 && byte != 0x7F);
      }
      // A character typed as bytes is those bytes.
      Require(input[0] == '\x1b' || text == input.substr(0, decoded.length));
    } else {
      Require(text.empty());
    }
    if (decoded.length == 0) break;  // waits for more
    input.remove_prefix(decoded.length);
  }
  return 0;
}
