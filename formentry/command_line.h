// The command line of formentry: the options, and the form set up from them
// and the descriptor's fields. Platform-free; the program reads the
// descriptor, shows the form and reports the answers.
#pragma once

#include <array>
#include <chrono>
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
    int choice;  // 0 for none; an M field's box to check
  };
  struct Range {
    int field;
    std::string lowest, highest;  // as typed into the field
  };
  struct Requirement {
    int field;
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
  std::vector<Range> ranges;              // --range N=LOW..HIGH
  std::vector<Requirement> required;      // --required N
  std::chrono::milliseconds timeout{0};   // --timeout SECONDS; zero for none
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

// The most a descriptor file (or standard input) may hold: room for a
// descriptor of the most bytes, written an item a line among comments.
inline constexpr std::size_t DescriptorFileCapacity = 32 * static_cast<std::size_t>(DescriptorCapacity);
// How long formentry waits for the end of a descriptor file that does not
// end at once (a pipe, standard input), so that one that never closes
// cannot hold a script for ever.
inline constexpr int DescriptorFileSeconds = 10;

// The descriptor a file holds, one item a line or all on one. Layout is
// dropped: a line end (LF or CR LF) after a line's last "|", blanks (spaces
// and tabs) between that "|" and the line end, empty or blank lines, lines
// that start with "#", and one line end at the very end, whatever precedes
// it. Every other line end is inside an item and refused (Refused, with
// `message` naming its line; `descriptor` untouched); since every line thus
// starts between items, a "#" there is never an item's. The descriptor ends
// at a NUL, and what follows it is kept as it is, unread.
CommandLineStatus DescriptorInFile(std::string_view contents, std::string& descriptor, std::string& message);

// The arrays FormEntry takes, the text fields' buffers that their slots
// point to (so the record is neither copied nor moved), and the fields'
// checks.
struct FormArrays {
  FormArrays() = default;
  FormArrays(const FormArrays&) = delete;
  FormArrays& operator=(const FormArrays&) = delete;

  std::array<std::int8_t, MaxFields> selections{};
  std::array<ValueSlot, MaxFields> values{};
  std::array<std::array<char, LongTextLength + 1>, MaxFields> texts{};
  std::array<FieldCheck, MaxFields> checks{};
};

// Fills `arrays` for `fields` from the options: every C, X and P field's
// slot points to its own buffer (empty unless --value gives a text of at
// most the field's 30 or 255 bytes); I, L, R and D values are read with the
// field's own input rule, as typed text is read back; an M value is its
// boxes as a number (bit K-1 for box K); a choice is 0 to the number of the
// field's entries (buttons for B: the button an unattended form presses;
// for M, a box to check, which --select may name again and again). A
// --range is read as the field's values are, lowest first; --required
// marks a field. A field number beyond the fields, a second value, choice,
// range or requirement for one field, a value for an S or B field, a value
// the field refuses (said in the words of every front end: "--value 2:
// YEAR: not a 16-bit integer (-32768 to 32767): 70000"; a hidden text's
// never), a range for a field that holds no number or whose lowest is above
// its highest, a requirement for a field that cannot be required, or a
// button chosen in a second row of buttons fails with `message` naming the
// field; then `arrays` holds nothing meaningful.
CommandLineStatus SetUpForm(const std::vector<FieldInfo>& fields, const CommandLine& line, FormArrays& arrays,
                            std::string& message);

// The 1-based position of the first byte of `text` that is no part of a
// whole UTF-8 character (an overlong or surrogate form included); 0 when
// all of it is UTF-8.
std::size_t FirstNonUtf8Byte(std::string_view text);

// The usage text, ending with a line feed.
std::string UsageText();

// An error as formentry writes it: "formentry: ", the UTF-8 `message` with
// its control characters shown as their pictures (a descriptor's text or a
// value named in it cannot drive the terminal), and a line feed.
std::string ErrorLine(std::string_view message);

}  // namespace formreel::formentry
