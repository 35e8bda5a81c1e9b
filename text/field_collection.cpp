// The collection step shared by both input rules, and the blank skipper
// it shares with the fast readers of plain fields.
#include <bit>
#include <cstring>

#include "text/field_input.h"

namespace formreel {

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

// Eight characters as a word whose lowest byte is the first character.
std::uint64_t Load8(const char* p) {
  std::uint64_t eight = 0;
  if constexpr (std::endian::native == std::endian::little) {
    std::memcpy(&eight, p, sizeof eight);
  } else {
    for (int k = 7; k >= 0; --k) eight = (eight << 8) | static_cast<unsigned char>(p[k]);
  }
  return eight;
}

// The 0-based index of the first non-zero byte of a non-zero word (lowest
// byte first).
int FirstNonZeroByte(std::uint64_t word) { return std::countr_zero(word) / 8; }

}  // namespace

// The last word may overlap the one before it.
const char* SkipBlanks(const char* p, std::size_t n) {
  std::size_t i = 0;
  for (; i + 8 < n; i += 8) {
    const std::uint64_t x = Load8(p + i) ^ EightBlanks;
    if (x != 0) return p + i + FirstNonZeroByte(x);
  }
  if (n >= 8) {
    const std::uint64_t x = Load8(p + n - 8) ^ EightBlanks;
    return x != 0 ? p + n - 8 + FirstNonZeroByte(x) : p + n;
  }
  for (; i < n && p[i] == ' '; ++i) {
  }
  return p + i;
}

RecordStatus CollectField(TextView field, InputRule rule, CollectedText& collected) {
  if (field.size() > static_cast<std::size_t>(ReadableColumns))
    FatalRunTimeError("input field wider than the readable columns");
  const char* const end = field.data() + field.size();
  const char* p = SkipBlanks(field.data(), field.size());
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

}  // namespace formreel
