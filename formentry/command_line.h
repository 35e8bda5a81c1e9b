// The command line of formentry: the options, and the form set up from them
// and the descriptor's fields. Platform-free; the program reads the
// descriptor, shows the form and reports the answers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formreel/forms.h"

namespace formreel::formentry {

// A form's fields, as formentry names and reports them.
using FieldInfo = DescriptorField;

// What the command line asks for.
struct CommandLine {
  enum class Action : std::uint8_t { ShowForm, Help, Version };
  struct InitialValue {
    int field;  // 1-based, counting fields only
    std::string text;
  };
  struct InitialChoice {
    int field;
    int choice;  // 0 for none
  };

  // How the form is shown: as this system shows forms (a window on
  // Windows; elsewhere the terminal form when there is a terminal, else a
  // window when there is a desktop), as plain lines, not at all (confirmed
  // as it stands), in a window, or in the terminal.
  enum class Display : std::uint8_t { Standard, Plain, Unattended, Window, Terminal };

  Action action = Action::ShowForm;
  Display display = Display::Standard;
  std::optional<std::string> descriptor;  // given on the command line
  std::optional<std::string> file;        // --file PATH; "-" is standard input
  std::vector<InitialValue> values;       // --value N=TEXT, in the order given
  std::vector<InitialChoice> choices;     // --select N=K
  bool json = false;
};

// Losing one would take a refused command line for a good one.
enum class [[nodiscard]] CommandLineStatus : std::uint8_t {
  Ok = 0,
  UsageError = 1,  // the message says what is wrong
  Refused = 2,     // the descriptor cannot be read; the message says why
};

// Reads the arguments after the program's name: options in any order, before
// or after the descriptor (unless --file gives it); after "--" every argument
// is an operand, even one that looks like an option. --help wins over
// --version, and either over a missing descriptor. On failure `message` says
// what is wrong and `line` is untouched.
CommandLineStatus ParseCommandLine(std::span<const std::string_view> arguments, CommandLine& line,
                                   std::string& message);

// The descriptor a file holds, one item a line or all on one: a line end
// (LF or CR LF) right after a "|", or after such a line end, is layout and
// dropped, and so is one line end at the very end. Another line end is
// refused (Refused, with `message` naming its line; `descriptor` untouched).
// Nothing after a NUL is looked at, as the descriptor ends there.
CommandLineStatus DescriptorInFile(std::string_view contents, std::string& descriptor, std::string& message);

// The arrays FormEntry takes, and the C fields' text buffers that their
// slots point to (so the record is neither copied nor moved).
struct FormArrays {
  FormArrays() = default;
  FormArrays(const FormArrays&) = delete;
  FormArrays& operator=(const FormArrays&) = delete;

  std::array<std::int8_t, MaxFields> selections{};
  std::array<ValueSlot, MaxFields> values{};
  std::array<std::array<char, TextValueLength + 1>, MaxFields> texts{};
};

// Fills `arrays` for `fields` from the initial values and choices: every C
// field's slot points to its own buffer (empty unless --value gives a text of
// at most 30 bytes); I, L, R and D values are read with the field's own
// input rule, as typed text is read back; a choice is 0 to the number of the
// field's entries (buttons for B). A field number beyond the fields, a
// second value or choice for one field, a value for an S or B field, or a
// value that does not convert fails with `message` naming the field; then
// `arrays` holds nothing meaningful.
CommandLineStatus SetUpForm(const std::vector<FieldInfo>& fields, const CommandLine& line, FormArrays& arrays,
                            std::string& message);

// The 1-based position of the first byte of `text` that is no part of a
// whole UTF-8 character (an overlong or surrogate form included); 0 when
// all of it is UTF-8.
std::size_t FirstNonUtf8Byte(std::string_view text);

// The usage text, ending with a line feed.
std::string UsageText();

}  // namespace formreel::formentry
