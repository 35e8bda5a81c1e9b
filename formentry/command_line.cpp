#include "command_line.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "text/characters.h"
#include "text/small_number.h"
#include "text/visible_text.h"

namespace formreel::formentry {

namespace {

CommandLineStatus Fail(std::string& message, std::string text) {
  message = std::move(text);
  return CommandLineStatus::UsageError;
}

constexpr std::string_view FileOption = "--file";
constexpr std::string_view ValueOption = "--value";
constexpr std::string_view SelectOption = "--select";
constexpr std::string_view PlainOption = "--plain";
constexpr std::string_view NoInputOption = "--no-input";
constexpr std::string_view RangeOption = "--range";
constexpr std::string_view RequiredOption = "--required";
constexpr std::string_view TimeoutOption = "--timeout";
constexpr std::string_view WindowOption = "--window";
constexpr std::string_view TerminalOption = "--terminal";

// The range's two ends in N=LOW..HIGH.
constexpr std::string_view RangeDots = "..";
// The longest --timeout, in seconds: its milliseconds fit an int.
constexpr double MostSeconds = 2000000;

// The blanks of a descriptor file's layout: after a line's last "|", or
// alone on a line.
constexpr std::string_view FileBlanks = " \t";

// Appended rather than "\"" + ...: g++ 12 at -O2 then warns of a memcpy that
// cannot happen (-Wrestrict).
std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted.append(text).push_back('"');
  return quoted;
}


// N=REST of --value and --select: the field number and the rest.
CommandLineStatus SplitAssignment(std::string_view option, std::string_view argument, int& field,
                                  std::string_view& rest, std::string& message) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos)
    return Fail(message, std::string(option) + " needs N=..., got " + Quoted(argument));
  const std::optional<int> number = SmallNumber(argument.substr(0, equals));
  if (!number || *number < 1)
    return Fail(message, std::string(option) + ": the field number " + Quoted(argument.substr(0, equals)) +
                             " is not a number from 1 up");
  field = *number;
  rest = argument.substr(equals + 1);
  return CommandLineStatus::Ok;
}

// What each option does to the command line being read; `argument` is the
// one that follows an option that takes one, else empty.
using ApplyOption = CommandLineStatus (*)(std::string_view option, std::string_view argument, CommandLine& line,
                                          std::string& message);

CommandLineStatus AskHelp(std::string_view, std::string_view, CommandLine& line, std::string&) {
  line.action = CommandLine::Action::Help;
  return CommandLineStatus::Ok;
}

CommandLineStatus AskVersion(std::string_view, std::string_view, CommandLine& line, std::string&) {
  if (line.action != CommandLine::Action::Help) line.action = CommandLine::Action::Version;
  return CommandLineStatus::Ok;
}

CommandLineStatus AskJson(std::string_view, std::string_view, CommandLine& line, std::string&) {
  line.json = true;
  return CommandLineStatus::Ok;
}

// The options that say how the form is shown: one of them at most.
constexpr std::array<std::pair<std::string_view, CommandLine::Display>, 4> DisplayOptions{{
    {PlainOption, CommandLine::Display::Plain},
    {NoInputOption, CommandLine::Display::Unattended},
    {WindowOption, CommandLine::Display::Window},
    {TerminalOption, CommandLine::Display::Terminal},
}};

CommandLineStatus AskDisplay(std::string_view option, std::string_view, CommandLine& line, std::string& message) {
  const auto asked = std::find_if(DisplayOptions.begin(), DisplayOptions.end(),
                                  [&](const auto& row) { return row.first == option; });
  const auto given = std::find_if(DisplayOptions.begin(), DisplayOptions.end(),
                                  [&](const auto& row) { return row.second == line.display; });
  if (given != DisplayOptions.end() && given != asked)
    return Fail(message, std::string(std::min(asked, given)->first) + " and " +
                             std::string(std::max(asked, given)->first) + " cannot both be given");
  line.display = asked->second;
  return CommandLineStatus::Ok;
}

CommandLineStatus TakeFile(std::string_view option, std::string_view argument, CommandLine& line,
                           std::string& message) {
  if (line.file) return Fail(message, std::string(option) + " given twice");
  line.file = std::string(argument);
  return CommandLineStatus::Ok;
}

CommandLineStatus TakeValue(std::string_view option, std::string_view argument, CommandLine& line,
                            std::string& message) {
  int field = 0;
  std::string_view rest;
  const CommandLineStatus status = SplitAssignment(option, argument, field, rest, message);
  if (status == CommandLineStatus::Ok) line.values.push_back({field, std::string(rest)});
  return status;
}

CommandLineStatus TakeChoice(std::string_view option, std::string_view argument, CommandLine& line,
                             std::string& message) {
  int field = 0;
  std::string_view rest;
  const CommandLineStatus status = SplitAssignment(option, argument, field, rest, message);
  if (status != CommandLineStatus::Ok) return status;
  const std::optional<int> choice = SmallNumber(rest);
  if (!choice)
    return Fail(message, std::string(option) + " " + std::to_string(field) + ": " + Quoted(rest) +
                             " is not a choice number (0 for none)");
  line.choices.push_back({field, *choice});
  return CommandLineStatus::Ok;
}

CommandLineStatus TakeRange(std::string_view option, std::string_view argument, CommandLine& line,
                            std::string& message) {
  int field = 0;
  std::string_view rest;
  const std::size_t dots = argument.find(RangeDots);
  if (dots == std::string_view::npos || argument.find('=') > dots)
    return Fail(message, std::string(option) + " needs N=LOW..HIGH, got " + Quoted(argument));
  const CommandLineStatus status = SplitAssignment(option, argument, field, rest, message);
  if (status != CommandLineStatus::Ok) return status;
  const std::size_t split = rest.find(RangeDots);
  line.ranges.push_back({field, std::string(rest.substr(0, split)), std::string(rest.substr(split + RangeDots.size()))});
  return CommandLineStatus::Ok;
}

CommandLineStatus TakeRequirement(std::string_view option, std::string_view argument, CommandLine& line,
                                  std::string& message) {
  const std::optional<int> field = SmallNumber(argument);
  if (!field || *field < 1)
    return Fail(message, std::string(option) + ": the field number " + Quoted(argument) + " is not a number from 1 up");
  line.required.push_back({*field});
  return CommandLineStatus::Ok;
}

CommandLineStatus TakeTimeout(std::string_view option, std::string_view argument, CommandLine& line,
                              std::string& message) {
  if (line.timeout.count() > 0) return Fail(message, std::string(option) + " given twice");
  double seconds = 0;
  const char* end = argument.data() + argument.size();
  const auto [stop, error] = std::from_chars(argument.data(), end, seconds);
  // Not-a-number fails both comparisons.
  if (error != std::errc{} || stop != end || !(seconds > 0 && seconds <= MostSeconds))
    return Fail(message, std::string(option) + ": " + Quoted(argument) + " is not a number of seconds above 0 (at most " +
                             std::to_string(static_cast<int>(MostSeconds)) + ")");
  line.timeout = std::chrono::milliseconds(static_cast<std::int64_t>(std::ceil(seconds * 1000)));
  return CommandLineStatus::Ok;
}

struct Option {
  std::string_view name;
  std::string_view shortName;  // empty when there is none
  bool takesArgument;
  ApplyOption apply;
};

constexpr std::array<Option, 13> Options{{
    {"--help", "-h", false, AskHelp},
    {"--version", "", false, AskVersion},
    {"--json", "", false, AskJson},
    {PlainOption, "", false, AskDisplay},
    {NoInputOption, "", false, AskDisplay},
    {WindowOption, "", false, AskDisplay},
    {TerminalOption, "", false, AskDisplay},
    {FileOption, "", true, TakeFile},
    {ValueOption, "", true, TakeValue},
    {SelectOption, "", true, TakeChoice},
    {RangeOption, "", true, TakeRange},
    {RequiredOption, "", true, TakeRequirement},
    {TimeoutOption, "", true, TakeTimeout},
}};

const Option* FindOption(std::string_view argument) {
  const auto found = std::find_if(Options.begin(), Options.end(), [&](const Option& option) {
    return argument == option.name || (!option.shortName.empty() && argument == option.shortName);
  });
  return found == Options.end() ? nullptr : &*found;
}

// The options, wherever they stand, applied in order, and the other
// arguments (all of them after "--") collected as operands.
CommandLineStatus ApplyOptions(std::span<const std::string_view> arguments, CommandLine& line,
                               std::vector<std::string_view>& operands, std::string& message) {
  bool optionsEnded = false;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const std::string_view argument = arguments[k];
    if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
      operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const Option* option = FindOption(argument);
    if (option == nullptr) return Fail(message, "unknown option " + Quoted(argument));
    std::string_view value;
    if (option->takesArgument) {
      if (k + 1 == arguments.size()) return Fail(message, std::string(argument) + " needs an argument");
      value = arguments[++k];
    }
    const CommandLineStatus status = option->apply(option->name, value, line, message);
    if (status != CommandLineStatus::Ok) return status;
  }
  return CommandLineStatus::Ok;
}

// The descriptor of a form to show: the one operand, unless --file gives it.
CommandLineStatus TakeDescriptor(std::span<const std::string_view> operands, CommandLine& line,
                                 std::string& message) {
  if (line.action != CommandLine::Action::ShowForm) return CommandLineStatus::Ok;
  if (line.file && !operands.empty())
    return Fail(message, "a descriptor and " + std::string(FileOption) + " cannot both be given");
  if (!line.file && operands.empty()) return Fail(message, "no descriptor given");
  if (operands.size() > 1)
    return Fail(message, "more than one descriptor given (" + Quoted(operands[1]) +
                             "): quote the descriptor as one argument");
  if (!operands.empty()) line.descriptor = std::string(operands[0]);
  return CommandLineStatus::Ok;
}

std::string FieldName(int field, const FieldInfo& info) {
  return "field " + std::to_string(field) + " (" + std::string(1, info.letter) + " " + Quoted(info.prompt) + ")";
}

// Nothing chosen, no check, and every text field's slot pointing to its own
// empty buffer.
void ClearForm(const std::vector<FieldInfo>& fields, FormArrays& arrays) {
  arrays.selections.fill(0);
  arrays.checks.fill(FieldCheck{});
  for (std::size_t k = 0; k < fields.size(); ++k) {
    arrays.texts[k].fill('\0');
    const bool text = SlotOf(fields[k].letter) == SlotHolds::Text;
    arrays.values[k].Put(text ? arrays.texts[k].data() : static_cast<char*>(nullptr));
  }
}

// A text `option` gives field `field` that the field refuses, in the words
// every front end says a refusal in, the field named as a person sees it:
// "--value 2: YEAR: not a 16-bit integer (-32768 to 32767): 70000"; never a
// hidden text.
CommandLineStatus RefuseText(std::string_view option, const FieldInfo& info, int field, std::string_view text,
                             std::string_view reason, std::string& message) {
  const std::size_t first = info.prompt.find_first_not_of(' ');
  const std::string name = first == std::string::npos
                               ? "field " + std::to_string(field)
                               : info.prompt.substr(first, info.prompt.find_last_not_of(' ') + 1 - first);
  return Fail(message, std::string(option) + " " + std::to_string(field) + ": " +
                           RefusalLine(name, reason, KindOf(info.letter).Hidden() ? "" : text));
}

CommandLineStatus RefuseValue(const FieldInfo& info, const CommandLine::InitialValue& value, std::string_view reason,
                              std::string& message) {
  return RefuseText(ValueOption, info, value.field, value.text, reason, message);
}

// Field k (0-based) named `name` gets the initial value `text`.
CommandLineStatus PutValue(const FieldInfo& info, const std::string& name, std::size_t k,
                           const CommandLine::InitialValue& value, FormArrays& arrays, std::string& message) {
  const FieldKind& kind = KindOf(info.letter);
  if (kind.slot == SlotHolds::Nothing)
    return Fail(message, std::string(ValueOption) + " is not for " + name + ": give its choice with " +
                             std::string(SelectOption));
  if (kind.slot == SlotHolds::Text) {
    const auto most = static_cast<std::size_t>(kind.maxBytes);
    if (value.text.size() > most) return RefuseValue(info, value, TooLongReason(most), message);
    std::copy(value.text.begin(), value.text.end(), arrays.texts[k].begin());
    return CommandLineStatus::Ok;
  }
  if (kind.slot == SlotHolds::Bits) {
    const int most = (1 << info.entries.size()) - 1;
    const std::optional<int> bits = SmallNumber(value.text);
    if (!bits || *bits > most)
      return RefuseValue(info, value, "not its boxes as a number (0 to " + std::to_string(most) + ")", message);
    arrays.values[k].Put(static_cast<std::uint8_t>(*bits));
    return CommandLineStatus::Ok;
  }
  if (!ReadTypedValue(info.letter, value.text, arrays.values[k]))
    return RefuseValue(info, value, NotConvertedReason(kind), message);
  return CommandLineStatus::Ok;
}

// Field k (0-based) named `name` gets the initial choice.
CommandLineStatus PutChoice(const FieldInfo& info, const std::string& name, std::size_t k,
                            const CommandLine::InitialChoice& choice, FormArrays& arrays, std::string& message) {
  const auto entries = static_cast<int>(info.entries.size());
  const bool one = entries == 1;
  const bool boxes = KindOf(info.letter).control == ControlKind::CheckBoxes;
  const std::string_view counted = info.letter == 'B' ? (one ? " button" : " buttons")
                                   : boxes            ? (one ? " box" : " boxes")
                                                      : (one ? " entry" : " entries");
  if (choice.choice > entries)
    return Fail(message, std::string(SelectOption) + " " + std::to_string(choice.field) + "=" +
                             std::to_string(choice.choice) + ": " + name + " has " + std::to_string(entries) +
                             std::string(counted));
  if (!boxes) {
    arrays.selections[k] = static_cast<std::int8_t>(choice.choice);
  } else if (choice.choice > 0) {  // checked beside the boxes --value gave
    const unsigned bits = arrays.values[k].Get<std::uint8_t>() | 1u << (choice.choice - 1);
    arrays.values[k].Put(static_cast<std::uint8_t>(bits));
  }
  return CommandLineStatus::Ok;
}

// Field k (0-based) named `name` takes values from LOW to HIGH, read as
// typed into it.
CommandLineStatus PutRange(const FieldInfo& info, const std::string& name, std::size_t k,
                           const CommandLine::Range& range, FormArrays& arrays, std::string& message) {
  const FieldKind& kind = KindOf(info.letter);
  const std::string option = std::string(RangeOption) + " " + std::to_string(range.field);
  if (!kind.IsNumber()) return Fail(message, option + ": " + name + " takes no range: only I, L, R and D fields do");
  ValueSlot lowest{}, highest{};
  for (const auto& [text, slot] : {std::pair{&range.lowest, &lowest}, std::pair{&range.highest, &highest}})
    if (!ReadTypedValue(info.letter, *text, *slot))
      return RefuseText(RangeOption, info, range.field, *text, NotConvertedReason(kind), message);
  FieldCheck& check = arrays.checks[k];
  check.lowest = kind.numberOf(lowest);
  check.highest = kind.numberOf(highest);
  if (!(check.lowest <= check.highest))
    return Fail(message, option + "=" + range.lowest + std::string(RangeDots) + range.highest +
                             ": the lowest value is above the highest");
  check.bounded = true;
  return CommandLineStatus::Ok;
}

// Field k (0-based) named `name` may not be left empty.
CommandLineStatus PutRequirement(const FieldInfo& info, const std::string& name, std::size_t k,
                                 const CommandLine::Requirement& requirement, FormArrays& arrays,
                                 std::string& message) {
  if (!KindOf(info.letter).Requirable())
    return Fail(message, std::string(RequiredOption) + " " + std::to_string(requirement.field) + ": " + name +
                             " cannot be required: only C, X, P, S and M fields can");
  arrays.checks[k].required = true;
  return CommandLineStatus::Ok;
}

// Only an M field takes --select again, a box each time.
bool ChecksBoxes(const FieldInfo& info) { return KindOf(info.letter).control == ControlKind::CheckBoxes; }

// Puts each of `given` (values, choices, ranges or requirements, as
// `option` gave them) into the field it names with `put`; a field beyond
// the form, or one given twice but where `again` allows it, fails.
template <typename Initial, typename Put>
CommandLineStatus PutEach(std::string_view option, const std::vector<Initial>& given,
                          const std::vector<FieldInfo>& fields, FormArrays& arrays, std::string& message,
                          Put put, bool (*again)(const FieldInfo&) = nullptr) {
  const auto count = static_cast<int>(fields.size());
  std::array<bool, MaxFields> done{};
  for (const Initial& initial : given) {
    if (initial.field > count)
      return Fail(message, std::string(option) + " " + std::to_string(initial.field) + ": the form has " +
                               (count == 1 ? "1 field" : std::to_string(count) + " fields"));
    const auto k = static_cast<std::size_t>(initial.field - 1);
    const std::string name = FieldName(initial.field, fields[k]);
    if (done[k] && (again == nullptr || !again(fields[k])))
      return Fail(message, std::string(option) + " given twice for " + name);
    done[k] = true;
    const CommandLineStatus status = put(fields[k], name, k, initial, arrays, message);
    if (status != CommandLineStatus::Ok) return status;
  }
  return CommandLineStatus::Ok;
}

}  // namespace

CommandLineStatus ParseCommandLine(std::span<const std::string_view> arguments, CommandLine& line,
                                   std::string& message) {
  CommandLine parsed;
  std::vector<std::string_view> operands;
  CommandLineStatus status = ApplyOptions(arguments, parsed, operands, message);
  if (status == CommandLineStatus::Ok) status = TakeDescriptor(operands, parsed, message);
  if (status == CommandLineStatus::Ok) line = std::move(parsed);
  return status;
}

CommandLineStatus DescriptorInFile(std::string_view contents, std::string& descriptor, std::string& message) {
  // The descriptor ends at a NUL: what follows it is kept as it is.
  const std::string_view tail = contents.substr(std::min(contents.find('\0'), contents.size()));
  contents.remove_suffix(tail.size());
  if (contents.ends_with("\r\n")) contents.remove_suffix(2);
  else if (contents.ends_with('\n')) contents.remove_suffix(1);
  std::string kept;
  kept.reserve(contents.size() + tail.size());
  // Every line starts between items: a line end elsewhere is refused.
  int number = 0;
  for (std::size_t start = 0; start < contents.size();) {
    ++number;
    const std::size_t lineFeed = contents.find('\n', start);
    const bool ended = lineFeed != std::string_view::npos;
    std::string_view line = contents.substr(start, (ended ? lineFeed : contents.size()) - start);
    start = ended ? lineFeed + 1 : contents.size();
    if (ended && line.ends_with('\r')) line.remove_suffix(1);
    const std::size_t last = line.find_last_not_of(FileBlanks);
    if (last == std::string_view::npos || line.starts_with('#')) continue;  // layout
    if (line[last] == '|') line = line.substr(0, last + 1);
    if (ended && !line.ends_with('|')) {
      message = "line " + std::to_string(number) +
                " of the descriptor ends inside an item (in a file, a line may end only after \"|\")";
      return CommandLineStatus::Refused;
    }
    kept += line;
  }
  kept += tail;
  descriptor = std::move(kept);
  return CommandLineStatus::Ok;
}

CommandLineStatus SetUpForm(const std::vector<FieldInfo>& fields, const CommandLine& line, FormArrays& arrays,
                            std::string& message) {
  ClearForm(fields, arrays);
  CommandLineStatus status = PutEach(ValueOption, line.values, fields, arrays, message, PutValue);
  if (status == CommandLineStatus::Ok)
    status = PutEach(SelectOption, line.choices, fields, arrays, message, PutChoice, ChecksBoxes);
  if (status == CommandLineStatus::Ok) status = PutEach(RangeOption, line.ranges, fields, arrays, message, PutRange);
  if (status == CommandLineStatus::Ok)
    status = PutEach(RequiredOption, line.required, fields, arrays, message, PutRequirement);
  if (status != CommandLineStatus::Ok) return status;
  // A pressed button ends the form: one row of buttons at most may have one.
  const CommandLine::InitialChoice* pressed = nullptr;
  for (const CommandLine::InitialChoice& choice : line.choices) {
    const FieldInfo& info = fields[static_cast<std::size_t>(choice.field - 1)];
    if (info.letter != 'B' || choice.choice == 0) continue;
    if (pressed != nullptr)
      return Fail(message, std::string(SelectOption) + " " + std::to_string(choice.field) + "=" +
                               std::to_string(choice.choice) + ": a button of " +
                               FieldName(pressed->field, fields[static_cast<std::size_t>(pressed->field - 1)]) +
                               " is chosen already, and one button ends the form");
    pressed = &choice;
  }
  return CommandLineStatus::Ok;
}

std::size_t FirstNonUtf8Byte(std::string_view text) {
  for (std::size_t k = 0; k < text.size();) {
    const Utf8Character character = FirstUtf8(TextView(text.data() + k, text.size() - k));
    if (character.status != Utf8Status::Whole) return k + 1;
    k += character.bytes;
  }
  return 0;
}

std::string UsageText() {
  return "usage: formentry [OPTIONS] DESCRIPTOR\n"
         "       formentry [OPTIONS] --file PATH     (PATH - is standard input)\n"
         "Shows the form DESCRIPTOR describes and, once it is confirmed, prints one line\n"
         "per field. In a file, a line may end after a \"|\"; empty lines and lines\n"
         "starting with \"#\" are left out. A file or standard input is read up to " +
         std::to_string(DescriptorFileCapacity) + "\nbytes and must end within " + std::to_string(DescriptorFileSeconds) +
         " seconds. An M field's line lists its checked\n"
         "boxes, each in single quotes (eval \"set -- $line\" splits it); a P field's line\n"
         "is its text, as typed.\n"
         "Where: on Windows in a window; elsewhere in the controlling terminal when there\n"
         "is one, else in a window on the desktop that WAYLAND_DISPLAY or DISPLAY names,\n"
         "else nowhere (status 4). --window, --terminal, --plain or --no-input chooses.\n"
         "  --value N=TEXT  initial value of field N (counting fields only, from 1): a C\n"
         "                  field's text (at most 30 bytes), an X or P field's (at most\n"
         "                  255), a number read as if typed into the I, L, R or D field\n"
         "                  (16#FF and 1.5D3 work; a comma ends a number: 12,5 is 12),\n"
         "                  or an M field's boxes as one number (bit K-1 for box K)\n"
         "  --select N=K    initial choice K of field N (0 for none); in a B row, the\n"
         "                  button --no-input presses; in an M field, box K checked\n"
         "                  (given once for each box)\n"
         "  --range N=LOW..HIGH  field N (I, L, R or D) takes LOW to HIGH only\n"
         "  --required N    field N (C, X, P, S or M) must not be left empty\n"
         "  --timeout SECONDS  end the form unconfirmed after SECONDS without a key (in\n"
         "                  the plain mode, without an answer)\n"
         "  --json          print the answers as one JSON object instead\n"
         "  --plain         ask one field at a time in plain lines, for screen readers\n"
         "                  (the default in a terminal whose TERM is dumb or unset)\n"
         "  --no-input      show nothing: confirm the form as it stands, with the values\n"
         "                  and choices given, which must pass every check\n"
         "  --window        show the form in a window on the desktop (on Linux, the\n"
         "                  package formreel-window brings it)\n"
         "  --terminal      show the form in the terminal\n"
         "  --help          print this text;  --version  print the version\n"
         "Exit status: 0 confirmed, 1 cancelled, 2 descriptor or value refused,\n"
         "3 run-time error, 4 form not shown, 64 usage error, 124 timed out,\n"
         "130 interrupted (CTRL-C).\n";
}

std::string ErrorLine(std::string_view message) {
  return "formentry: " + VisibleUtf8(Utf8Page, TextView(message.data(), message.size())) + "\n";
}

}  // namespace formreel::formentry
