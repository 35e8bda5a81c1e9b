// libFuzzer target: formentry's command line. The input up to its first
// two NULs in a row is the arguments, a NUL between each; what follows is a
// descriptor file. The file's descriptor keeps nothing but the file's own
// bytes, has no line end before its NUL tail and no layout left to drop; a
// command line read or refused leaves what it says; a form set up from it
// holds exactly the options' values and choices. Abort on any disagreement
// (and the sanitizers on any fault), so that the fuzzer keeps the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "formentry/command_line.h"
#include "forms/core/descriptor_check.h"
#include "forms/core/descriptor_fields.h"
#include "tests/support/require.h"
#include "text/small_number.h"

using namespace formreel;
using namespace formreel::formentry;

namespace {

// Whether `part` is `whole` with some of its bytes left out.
bool LeftOutOf(std::string_view part, std::string_view whole) {
  std::size_t p = 0;
  for (std::size_t w = 0; w < whole.size() && p < part.size(); ++w)
    if (whole[w] == part[p]) ++p;
  return p == part.size();
}

// A refusal is one line, whatever the text it names.
void RequireOneLine(const std::string& message) {
  Require(!message.empty());
  const std::string line = ErrorLine(message);
  Require(line.find('\n') == line.size() - 1);
}

// The descriptor the file holds, or nothing for a file refused.
std::optional<std::string> ReadFile(std::string_view file) {
  std::string descriptor = "untouched";
  std::string message;
  if (DescriptorInFile(file, descriptor, message) != CommandLineStatus::Ok) {
    Require(descriptor == "untouched" && message.starts_with("line "));
    RequireOneLine(message);
    return std::nullopt;
  }
  Require(descriptor.size() <= file.size() && LeftOutOf(descriptor, file));
  Require(std::string_view(descriptor).substr(0, descriptor.find('\0')).find('\n') == std::string_view::npos);
  std::string again;
  Require(DescriptorInFile(descriptor, again, message) == CommandLineStatus::Ok && again == descriptor);
  return descriptor;
}

// The form `line` sets up: every field as the options say.
void SetUp(const std::string& descriptor, const CommandLine& line) {
  if (descriptor.size() > static_cast<std::size_t>(DescriptorCapacity)) return;
  const auto length = static_cast<std::int32_t>(descriptor.size());
  if (!DescriptorProblem(descriptor.data(), length, Utf8Page).empty()) return;
  const std::vector<DescriptorField> fields = DescriptorFields(descriptor.data(), length, Utf8Page);
  static FormArrays arrays;
  std::string message;
  if (SetUpForm(fields, line, arrays, message) != CommandLineStatus::Ok) return RequireOneLine(message);
  int rowsPressed = 0;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const int chosen = arrays.selections[k];
    Require(chosen >= 0 && static_cast<std::size_t>(chosen) <= fields[k].entries.size());
    rowsPressed += fields[k].letter == 'B' && chosen > 0 ? 1 : 0;
    if (SlotOf(fields[k].letter) == SlotHolds::Text)
      Require(arrays.values[k].TextAddress() == arrays.texts[k].data() && arrays.texts[k].back() == '\0');
  }
  Require(rowsPressed <= 1);
  for (const CommandLine::InitialValue& value : line.values) {
    const auto k = static_cast<std::size_t>(value.field - 1);
    Require(k < fields.size());
    ValueSlot read{};
    const std::optional<int> bits = SmallNumber(value.text);  // an M field's: --select checks more
    if (SlotOf(fields[k].letter) == SlotHolds::Text) Require(arrays.texts[k].data() == value.text);
    else if (SlotOf(fields[k].letter) == SlotHolds::Bits) Require(bits && (arrays.values[k].bytes[0] & *bits) == *bits);
    else Require(ReadTypedValue(fields[k].letter, value.text, read) && read == arrays.values[k]);
  }
  for (const CommandLine::Range& range : line.ranges) {
    const FieldCheck& check = arrays.checks[static_cast<std::size_t>(range.field - 1)];
    Require(check.bounded && check.lowest <= check.highest);
  }
  for (const CommandLine::Requirement& required : line.required)
    Require(arrays.checks[static_cast<std::size_t>(required.field - 1)].required);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = std::min(input.find(std::string_view("\0\0", 2)), input.size());
  const std::string_view file = input.substr(std::min(split + 2, input.size()));
  std::vector<std::string_view> arguments;
  for (std::string_view rest = input.substr(0, split); !rest.empty();) {
    const std::size_t end = std::min(rest.find('\0'), rest.size());
    arguments.push_back(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
  }
  const std::optional<std::string> fromFile = ReadFile(file);

  CommandLine line;
  line.values.push_back({0, "untouched"});
  std::string message;
  if (ParseCommandLine(arguments, line, message) != CommandLineStatus::Ok) {
    Require(line.values.size() == 1 && line.values[0].text == "untouched");
    RequireOneLine(message);
    return 0;
  }
  for (const CommandLine::InitialValue& value : line.values) Require(value.field >= 1);
  for (const CommandLine::InitialChoice& choice : line.choices) Require(choice.field >= 1 && choice.choice >= 0);
  if (line.action != CommandLine::Action::ShowForm) return 0;
  Require(line.descriptor.has_value() != line.file.has_value());
  if (line.descriptor) SetUp(*line.descriptor, line);
  else if (fromFile) SetUp(*fromFile, line);
  return 0;
}
