// The collection step shared by both input rules.
#include "text/field_input.h"

namespace {

constexpr char Tab = '\t';
constexpr char CarriageReturn = '\r';
constexpr char LineFeed = '\n';
constexpr char EndOfFile = '\x1a';

}  // namespace

RecordStatus CollectField(TextView field, InputRule rule, CollectedText& collected) {
  if (field.size() > static_cast<std::size_t>(ReadableColumns))
    FatalRunTimeError("input field wider than the readable columns");
  CollectedText result;
  char* out = result.chars.data();
  char* const first = out;
  for (const char c : field) {
    if (c == Blank || c == Tab) continue;
    if (c == ',' || c == CarriageReturn || c == LineFeed) break;
    if (c == EndOfFile) return RecordStatus::EndOfFileMark;
    if (out == first) {
      if (rule == InputRule::Integer && c == '0') continue;
      if (rule == InputRule::Real) {
        if (c == '+' || c == '-') {
          *out++ = c;
          *out++ = '0';
          continue;
        }
        if (c == '.') {
          *out++ = '0';
          *out++ = '.';
          continue;
        }
      }
    }
    *out++ = c;
  }
  result.length = static_cast<int>(out - first);
  collected = result;
  return RecordStatus::Ok;
}
