#include "formentry/command_line.h"

#include <algorithm>
#include <charconv>

#include "forms/read_back.h"

namespace formreel::formentry {

namespace {

CommandLineStatus Fail(std::string& message, std::string text) {
  message = std::move(text);
  return CommandLineStatus::UsageError;
}

// A whole argument as a number of at most 9 digits, or nothing.
std::optional<int> Number(std::string_view text) {
  int value = 0;
  if (text.empty() || text.size() > 9) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return std::nullopt;
  return value;
}

// N=REST of --value and --select: the field number and the rest.
bool SplitAssignment(std::string_view option, std::string_view argument, int& field, std::string_view& rest,
                     std::string& message) {
  const std::size_t equals = argument.find('=');
  if (equals == std::string_view::npos) {
    Fail(message, std::string(option) + " needs N=..., got \"" + std::string(argument) + "\"");
    return false;
  }
  const std::optional<int> number = Number(argument.substr(0, equals));
  if (!number || *number < 1) {
    Fail(message, std::string(option) + ": the field number \"" + std::string(argument.substr(0, equals)) +
                      "\" is not a number from 1 up");
    return false;
  }
  field = *number;
  rest = argument.substr(equals + 1);
  return true;
}

std::string FieldName(int field, const FieldInfo& info) {
  return "field " + std::to_string(field) + " (" + std::string(1, info.letter) + " \"" + info.prompt + "\")";
}

// Reads `text` into `slot` as typed text is read back into a field of `type`.
bool ReadValue(FieldType type, std::string_view text, ValueSlot& slot) {
  Record scratch;
  const auto length = static_cast<std::int32_t>(text.size());
  AssignText(scratch.All(), text);
  scratch.Set(length + 1, Nul);
  AlignNumberText(scratch, length);
  return ReadNumber(type, scratch, slot) == RecordStatus::Ok;
}

}  // namespace

CommandLineStatus ParseCommandLine(std::span<const std::string_view> arguments, CommandLine& line,
                                   std::string& message) {
  CommandLine parsed;
  std::vector<std::string_view> operands;
  bool options = true;
  for (std::size_t k = 0; k < arguments.size(); ++k) {
    const std::string_view argument = arguments[k];
    if (!options || argument.empty() || argument[0] != '-' || argument == "-") {
      operands.push_back(argument);
      options = false;  // the descriptor ends the options
      continue;
    }
    if (argument == "--") {
      options = false;
      continue;
    }
    if (argument == "--help" || argument == "-h") {
      parsed.action = CommandLine::Action::Help;
      continue;
    }
    if (argument == "--version") {
      if (parsed.action != CommandLine::Action::Help) parsed.action = CommandLine::Action::Version;
      continue;
    }
    if (argument == "--json") {
      parsed.json = true;
      continue;
    }
    const bool takesValue = argument == "--file" || argument == "--value" || argument == "--select";
    if (!takesValue) return Fail(message, "unknown option \"" + std::string(argument) + "\"");
    if (k + 1 == arguments.size()) return Fail(message, std::string(argument) + " needs an argument");
    const std::string_view value = arguments[++k];
    if (argument == "--file") {
      if (parsed.file) return Fail(message, "--file given twice");
      parsed.file = std::string(value);
      continue;
    }
    int field = 0;
    std::string_view rest;
    if (!SplitAssignment(argument, value, field, rest, message)) return CommandLineStatus::UsageError;
    if (argument == "--value") {
      parsed.values.push_back({field, std::string(rest)});
    } else {
      const std::optional<int> choice = Number(rest);
      if (!choice) return Fail(message, "--select " + std::to_string(field) + ": \"" + std::string(rest) +
                                            "\" is not a choice number (0 for none)");
      parsed.choices.push_back({field, *choice});
    }
  }
  if (parsed.action == CommandLine::Action::ShowForm) {
    if (parsed.file && !operands.empty())
      return Fail(message, "a descriptor and --file cannot both be given");
    if (!parsed.file && operands.empty()) return Fail(message, "no descriptor given");
    if (operands.size() > 1)
      return Fail(message, "more than one descriptor given (\"" + std::string(operands[1]) +
                               "\"): quote the descriptor as one argument");
    if (!operands.empty()) parsed.descriptor = std::string(operands[0]);
  }
  line = std::move(parsed);
  return CommandLineStatus::Ok;
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
    if (c == Nul) {
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
  const auto count = static_cast<int>(fields.size());
  arrays.selections.fill(0);
  for (std::size_t k = 0; k < fields.size(); ++k) {
    arrays.texts[k].fill(Nul);
    const bool text = fields[k].letter == Letter(FieldType::TextField);
    arrays.values[k].Put(text ? arrays.texts[k].data() : static_cast<char*>(nullptr));
  }
  const auto beyond = [&](std::string_view option, int field) {
    return Fail(message, std::string(option) + " " + std::to_string(field) + ": the form has " +
                             (count == 1 ? "1 field" : std::to_string(count) + " fields"));
  };

  std::array<bool, MaxFields> valued{};
  for (const CommandLine::InitialValue& value : line.values) {
    if (value.field > count) return beyond("--value", value.field);
    const auto k = static_cast<std::size_t>(value.field - 1);
    const FieldInfo& info = fields[k];
    const std::string name = FieldName(value.field, info);
    if (valued[k]) return Fail(message, "--value given twice for " + name);
    valued[k] = true;
    const auto type = static_cast<FieldType>(info.letter);
    if (type == FieldType::Selection || type == FieldType::ButtonGroup)
      return Fail(message, "--value is not for " + name + ": give its choice with --select");
    if (type == FieldType::TextField) {
      if (value.text.size() > static_cast<std::size_t>(TextValueLength))
        return Fail(message, "--value for " + name + " has " + std::to_string(value.text.size()) +
                                 " bytes (at most " + std::to_string(TextValueLength) + ")");
      std::copy(value.text.begin(), value.text.end(), arrays.texts[k].begin());
      continue;
    }
    if (value.text.size() > static_cast<std::size_t>(ScratchWidth - 1) ||
        !ReadValue(type, value.text, arrays.values[k]))
      return Fail(message, "--value for " + name + ": \"" + value.text + "\" does not convert");
  }

  std::array<bool, MaxFields> chosen{};
  for (const CommandLine::InitialChoice& choice : line.choices) {
    if (choice.field > count) return beyond("--select", choice.field);
    const auto k = static_cast<std::size_t>(choice.field - 1);
    const FieldInfo& info = fields[k];
    const std::string name = FieldName(choice.field, info);
    if (chosen[k]) return Fail(message, "--select given twice for " + name);
    chosen[k] = true;
    const auto entries = static_cast<int>(info.entries.size());
    if (choice.choice > entries)
      return Fail(message, "--select " + std::to_string(choice.field) + "=" + std::to_string(choice.choice) +
                               ": " + name + " has " + std::to_string(entries) +
                               (info.letter == Letter(FieldType::ButtonGroup) ? " buttons" : " entries"));
    arrays.selections[k] = static_cast<std::int8_t>(choice.choice);
  }
  return CommandLineStatus::Ok;
}

std::string UsageText() {
  return "usage: formentry [OPTIONS] DESCRIPTOR\n"
         "       formentry [OPTIONS] --file PATH     (PATH - is standard input)\n"
         "Shows the form DESCRIPTOR describes and, once it is confirmed, prints one line\n"
         "per field. In a file, a line may end after a \"|\".\n"
         "  --value N=TEXT  initial value of field N (counting fields only, from 1): a C\n"
         "                  field's text (at most 30 bytes), or a number read as if\n"
         "                  typed into the I, L, R or D field (16#FF, 1.5D3 and 12,5 work)\n"
         "  --select N=K    initial choice K of field N (0 for none)\n"
         "  --json          print the answers as one JSON object instead\n"
         "  --help          print this text;  --version  print the version\n"
         "Exit status: 0 confirmed, 1 cancelled, 2 descriptor refused, 4 form not shown,\n"
         "64 usage error.\n";
}

}  // namespace formreel::formentry
