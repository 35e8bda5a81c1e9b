#include "command_line.h"

#include <algorithm>
#include <charconv>


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
constexpr std::string_view WindowOption = "--window";
constexpr std::string_view TerminalOption = "--terminal";

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// A whole argument as a number of at most 9 digits, or nothing.
std::optional<int> Number(std::string_view text) {
  int value = 0;
  if (text.empty() || text.size() > 9) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// N=REST of --value and --select: the field number and the rest.
CommandLineStatus SplitAssignment(std::string_view option, std::string_view argument, int& field,
                                  std::string_view& rest, std::string& message) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos)
    return Fail(message, std::string(option) + " needs N=..., got " + Quoted(argument));
  const std::optional<int> number = Number(argument.substr(0, equals));
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
  const std::optional<int> choice = Number(rest);
  if (!choice)
    return Fail(message, std::string(option) + " " + std::to_string(field) + ": " + Quoted(rest) +
                             " is not a choice number (0 for none)");
  line.choices.push_back({field, *choice});
  return CommandLineStatus::Ok;
}

struct Option {
  std::string_view name;
  std::string_view shortName;  // empty when there is none
  bool takesArgument;
  ApplyOption apply;
};

constexpr std::array<Option, 10> Options{{
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

// Nothing chosen, and every C field's slot pointing to its own empty buffer.
void ClearForm(const std::vector<FieldInfo>& fields, FormArrays& arrays) {
  arrays.selections.fill(0);
  for (std::size_t k = 0; k < fields.size(); ++k) {
    arrays.texts[k].fill('\0');
    const bool text = SlotOf(fields[k].letter) == SlotHolds::Text;
    arrays.values[k].Put(text ? arrays.texts[k].data() : static_cast<char*>(nullptr));
  }
}

// Field k (0-based) named `name` gets the initial value `text`.
CommandLineStatus PutValue(const FieldInfo& info, const std::string& name, std::size_t k,
                           const CommandLine::InitialValue& value, FormArrays& arrays, std::string& message) {
  const SlotHolds slot = SlotOf(info.letter);
  if (slot == SlotHolds::Nothing)
    return Fail(message, std::string(ValueOption) + " is not for " + name + ": give its choice with " +
                             std::string(SelectOption));
  const std::string prefix = std::string(ValueOption) + " for " + name;
  if (slot == SlotHolds::Text) {
    if (value.text.size() > static_cast<std::size_t>(TextValueLength))
      return Fail(message, prefix + " has " + std::to_string(value.text.size()) + " bytes (at most " +
                               std::to_string(TextValueLength) + ")");
    std::copy(value.text.begin(), value.text.end(), arrays.texts[k].begin());
    return CommandLineStatus::Ok;
  }
  if (!ReadTypedValue(info.letter, value.text, arrays.values[k]))
    return Fail(message, prefix + ": " + Quoted(value.text) + " does not convert");
  return CommandLineStatus::Ok;
}

// Field k (0-based) named `name` gets the initial choice.
CommandLineStatus PutChoice(const FieldInfo& info, const std::string& name, std::size_t k,
                            const CommandLine::InitialChoice& choice, FormArrays& arrays, std::string& message) {
  const auto entries = static_cast<int>(info.entries.size());
  if (choice.choice > entries)
    return Fail(message, std::string(SelectOption) + " " + std::to_string(choice.field) + "=" +
                             std::to_string(choice.choice) + ": " + name + " has " + std::to_string(entries) +
                             (info.letter == 'B' ? " buttons" : " entries"));
  arrays.selections[k] = static_cast<std::int8_t>(choice.choice);
  return CommandLineStatus::Ok;
}

// Puts each of `given` (values or choices, as `option` gave them) into the
// field it names with `put`; a field beyond the form, or one given twice,
// fails.
template <typename Initial, typename Put>
CommandLineStatus PutEach(std::string_view option, const std::vector<Initial>& given,
                          const std::vector<FieldInfo>& fields, FormArrays& arrays, std::string& message,
                          Put put) {
  const auto count = static_cast<int>(fields.size());
  std::array<bool, MaxFields> done{};
  for (const Initial& initial : given) {
    if (initial.field > count)
      return Fail(message, std::string(option) + " " + std::to_string(initial.field) + ": the form has " +
                               (count == 1 ? "1 field" : std::to_string(count) + " fields"));
    const auto k = static_cast<std::size_t>(initial.field - 1);
    const std::string name = FieldName(initial.field, fields[k]);
    if (done[k]) return Fail(message, std::string(option) + " given twice for " + name);
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
  if (contents.ends_with("\r\n")) contents.remove_suffix(2);
  else if (contents.ends_with('\n')) contents.remove_suffix(1);
  std::string kept;
  kept.reserve(contents.size());
  int line = 1;
  bool betweenItems = false;  // after a "|" and the line ends that follow it
  for (std::size_t p = 0; p < contents.size(); ++p) {
    const char c = contents[p];
    if (c == '\0') {
      kept.append(contents.substr(p));
      break;
    }
    const std::size_t lineEnd = c == '\n' ? 1 : contents.substr(p).starts_with("\r\n") ? 2 : 0;
    if (lineEnd == 0) {
      kept += c;
      betweenItems = c == '|';
      continue;
    }
    if (!betweenItems) {
      message = "line " + std::to_string(line) +
                " of the descriptor ends inside an item (in a file, a line may end only after \"|\")";
      return CommandLineStatus::Refused;
    }
    ++line;
    p += lineEnd - 1;
  }
  descriptor = std::move(kept);
  return CommandLineStatus::Ok;
}

CommandLineStatus SetUpForm(const std::vector<FieldInfo>& fields, const CommandLine& line, FormArrays& arrays,
                            std::string& message) {
  ClearForm(fields, arrays);
  const CommandLineStatus status = PutEach(ValueOption, line.values, fields, arrays, message, PutValue);
  if (status != CommandLineStatus::Ok) return status;
  return PutEach(SelectOption, line.choices, fields, arrays, message, PutChoice);
}

std::size_t FirstNonUtf8Byte(std::string_view text) {
  // By lead byte: the character's length and the range of the byte after
  // the lead, which rules out overlong and surrogate forms.
  struct Lead {
    unsigned char first, last;
    std::size_t length;
    unsigned char low, high;
  };
  static constexpr Lead Leads[] = {
      {0xC2, 0xDF, 2, 0x80, 0xBF}, {0xE0, 0xE0, 3, 0xA0, 0xBF}, {0xE1, 0xEC, 3, 0x80, 0xBF},
      {0xED, 0xED, 3, 0x80, 0x9F}, {0xEE, 0xEF, 3, 0x80, 0xBF}, {0xF0, 0xF0, 4, 0x90, 0xBF},
      {0xF1, 0xF3, 4, 0x80, 0xBF}, {0xF4, 0xF4, 4, 0x80, 0x8F},
  };
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  for (std::size_t k = 0; k < text.size();) {
    if (byte(k) < 0x80) {
      ++k;
      continue;
    }
    const auto* lead = std::find_if(std::begin(Leads), std::end(Leads),
                                    [&](const Lead& l) { return byte(k) >= l.first && byte(k) <= l.last; });
    if (lead == std::end(Leads) || k + lead->length > text.size()) return k + 1;
    for (std::size_t c = 1; c < lead->length; ++c) {
      const unsigned char low = c == 1 ? lead->low : 0x80, high = c == 1 ? lead->high : 0xBF;
      if (byte(k + c) < low || byte(k + c) > high) return k + 1;
    }
    k += lead->length;
  }
  return 0;
}

std::string UsageText() {
  return "usage: formentry [OPTIONS] DESCRIPTOR\n"
         "       formentry [OPTIONS] --file PATH     (PATH - is standard input)\n"
         "Shows the form DESCRIPTOR describes (in a window on Windows; elsewhere in the\n"
         "terminal, or without one in a window when WAYLAND_DISPLAY or DISPLAY names a\n"
         "desktop) and, once it is confirmed, prints one line per field. In a file, a\n"
         "line may end after a \"|\".\n"
         "  --value N=TEXT  initial value of field N (counting fields only, from 1): a C\n"
         "                  field's text (at most 30 bytes), or a number read as if\n"
         "                  typed into the I, L, R or D field (16#FF and 1.5D3 work; a\n"
         "                  comma ends a number: 12,5 is 12)\n"
         "  --select N=K    initial choice K of field N (0 for none)\n"
         "  --json          print the answers as one JSON object instead\n"
         "  --plain         ask one field at a time in plain lines, for screen readers\n"
         "                  (the default in a terminal whose TERM is dumb or unset)\n"
         "  --no-input      show nothing: confirm the form as it stands, with the values\n"
         "                  and choices given\n"
         "  --window        show the form in a window on the desktop (needs the package\n"
         "                  formreel-window on Linux)\n"
         "  --terminal      show the form in the terminal\n"
         "  --help          print this text;  --version  print the version\n"
         "Exit status: 0 confirmed, 1 cancelled, 2 descriptor refused, 3 run-time error,\n"
         "4 form not shown, 64 usage error, 130 interrupted (CTRL-C).\n";
}

}  // namespace formreel::formentry
