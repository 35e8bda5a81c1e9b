// The collection step shared by both input rules.
#include <cstring>

#include "text/field_input.h"

namespace {

enum class CharClass : std::uint8_t { Keep, Skip, End, EndOfFile };

// Blank and tab are skipped; comma, CR and LF end the field; code 26 fails.
constexpr std::array<CharClass, 256> CharClasses = [] {
  std::array<CharClass, 256> classes{};
  classes.fill(CharClass::Keep);
  classes[static_cast<unsigned char>(' ')] = CharClass::Skip;
  classes[static_cast<unsigned char>('\t')] = CharClass::Skip;
  classes[static_cast<unsigned char>(',')] = CharClass::End;
  classes[static_cast<unsigned char>('\r')] = CharClass::End;
  classes[static_cast<unsigned char>('\n')] = CharClass::End;
  classes[0x1A] = CharClass::EndOfFile;
  return classes;
}();

constexpr std::uint64_t EightBlanks = 0x2020202020202020;

}  // namespace

RecordStatus CollectField(TextView field, InputRule rule, CollectedText& collected) {
  if (field.size() > static_cast<std::size_t>(ReadableColumns))
    FatalRunTimeError("input field wider than the readable columns");
  const char* p = field.data();
  const char* const end = p + field.size();
  // Typed numbers arrive right-aligned: step over the leading blanks eight
  // at a time.
  while (end - p >= 8) {
    std::uint64_t eight;
    std::memcpy(&eight, p, sizeof eight);
    if (eight != EightBlanks) break;
    p += 8;
  }
  char* const first = collected.chars.data();
  char* out = first;
  for (; p < end; ++p) {
    const char c = *p;
    const CharClass kind = CharClasses[static_cast<unsigned char>(c)];
    if (kind == CharClass::Skip) continue;
    if (kind == CharClass::End) break;
    if (kind == CharClass::EndOfFile) return RecordStatus::EndOfFileMark;
    if (out == first) {
      if (rule == InputRule::Integer) {
        if (c == '0') continue;
      } else if (c == '+' || c == '-') {
        *out++ = c;
        *out++ = '0';
        continue;
      } else if (c == '.') {
        *out++ = '0';
      }
    }
    *out++ = c;
  }
  collected.length = static_cast<int>(out - first);
  return RecordStatus::Ok;
}
