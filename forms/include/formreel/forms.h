// formreel: keyboard forms described at run time: a window on Windows, the
// terminal or a desktop window elsewhere.
//
// A form is described by one descriptor string: items ended by "|", each
// starting with its letter (C text, X long text, P hidden text, I 16-bit
// integer, L 32-bit integer, R single real, D double real, S a choice from
// a list, M check boxes, B a row of buttons, T centred text lines ended by
// "\", H the window caption); in a field item the prompt ends with "^" and
// every further "^" ends a list entry (a button, for B; a box, for M).
// FormEntry shows it, runs the form until it is confirmed or cancelled,
// and hands the typed values back; checks and a time limit go beside the
// descriptor (FormRules). formreel/form.h binds a program's own variables
// to fields instead. docs/forms.md is the guide.
//
// This header needs nothing but the standard library: on Windows the
// handles are the platform's own pointer types, declared by name, so
// <windows.h> may come before or after it.
#pragma once

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <chrono>
#include <cstring>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "formreel/limits.h"

#if defined(_WIN32)
struct HWND__;
struct HINSTANCE__;
#endif

namespace formreel {

#if defined(_WIN32)
using WindowHandle = HWND__*;       // HWND
using InstanceHandle = HINSTANCE__*;  // HINSTANCE (and HMODULE)
#endif

// One field's 8-byte value, always at the start: I a 16-bit integer, L a
// 32-bit integer, R a single real, D a double real, C, X and P the address
// of the caller's text buffer (or null: the field starts empty and its text
// goes nowhere), M its checked boxes as bits (bit K-1 for box K, in the
// first byte); S and B do not use it. Writers zero the bytes beyond the
// value.
struct ValueSlot {
  unsigned char bytes[8];

  // The value at the start, as T. A real whose kind of not-a-number matters
  // is read as its bits (std::uint32_t or std::uint64_t): on 32-bit x86 a
  // float or double returned by value passes through the x87 unit, which
  // makes a signalling not-a-number quiet.
  template <typename T>
  T Get() const {
    static_assert(sizeof(T) <= sizeof(bytes));
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
  }
  // `value` at the start, zeros after it, copied from its bytes (a real
  // handed over by value could pass through the x87 unit).
  template <typename T>
  void Put(const T& value) {
    static_assert(sizeof(T) <= sizeof(bytes));
    std::memset(bytes, 0, sizeof(bytes));
    std::memcpy(bytes, &value, sizeof(T));
  }
  // A text field's slot: the caller's text buffer (at least 31 bytes for C,
  // 256 for X and P), or null.
  char* TextAddress() const { return Get<char*>(); }

  friend bool operator==(const ValueSlot& a, const ValueSlot& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof(a.bytes)) == 0;
  }
};
static_assert(sizeof(ValueSlot) == 8);

// A long text, for an X field: up to 255 bytes, shown scrolling sideways.
struct LongText {
  std::string text;
  friend bool operator==(const LongText&, const LongText&) = default;
};
// A hidden text, for a P field (a password, a token): typed but never
// shown, up to 255 bytes.
struct HiddenText {
  std::string text;
  friend bool operator==(const HiddenText&, const HiddenText&) = default;
};
// The checked boxes of an M field: bit K-1 for box K.
using CheckedBoxes = std::bitset<MaxCheckBoxes>;

// Which field letters take a value in their slot, and the C++ type of that
// value: the one place that says which letter a type is. A text field's
// slot holds the address of its text, which a program keeps as a
// std::string (C), a LongText (X) or a HiddenText (P).
template <char Letter, typename Type>
struct LetterRow {
  static constexpr char letter = Letter;
  using type = Type;
};
// An unsigned type takes the first letter wide enough for it, within its
// own range (formreel/form.h checks the bounds): std::uint8_t an I field,
// std::uint16_t an L field, std::uint32_t a D field of whole numbers. A
// letter's own type comes first: it is the one ValueTypeOf gives.
using ValueLetters = std::tuple<LetterRow<'C', std::string>, LetterRow<'I', std::int16_t>,
                                LetterRow<'L', std::int32_t>, LetterRow<'R', float>, LetterRow<'D', double>,
                                LetterRow<'I', std::uint8_t>, LetterRow<'L', std::uint16_t>,
                                LetterRow<'D', std::uint32_t>, LetterRow<'X', LongText>,
                                LetterRow<'P', HiddenText>, LetterRow<'M', CheckedBoxes>>;

namespace letters_detail {
template <typename T, std::size_t... K>
constexpr char LetterOf(std::index_sequence<K...>) {
  char letter = '\0';
  ((std::is_same_v<T, typename std::tuple_element_t<K, ValueLetters>::type>
        ? static_cast<void>(letter = std::tuple_element_t<K, ValueLetters>::letter)
        : static_cast<void>(0)),
   ...);
  return letter;
}
template <char Letter, std::size_t K = 0>
auto TypeOf() {
  if constexpr (K == std::tuple_size_v<ValueLetters>) {
    return static_cast<void*>(nullptr);  // no value type
  } else if constexpr (std::tuple_element_t<K, ValueLetters>::letter == Letter) {
    return typename std::tuple_element_t<K, ValueLetters>::type{};
  } else {
    return TypeOf<Letter, K + 1>();
  }
}
}  // namespace letters_detail

// The letter of the field that takes a T ('\0' for a type no field takes).
template <typename T>
inline constexpr char LetterOf =
    letters_detail::LetterOf<T>(std::make_index_sequence<std::tuple_size_v<ValueLetters>>{});
// The type of the value of a field of `Letter` (void* for a letter whose
// slot holds no value of its own).
template <char Letter>
using ValueTypeOf = decltype(letters_detail::TypeOf<Letter>());

// What a field's value slot holds, by its letter.
enum class SlotHolds : std::uint8_t {
  Nothing,  // S and B (their answer is the selection), T and H (no field), and other characters
  Text,     // C, X and P: the address of the caller's text buffer, or null
  Number,   // I, L, R and D: the value itself
  Bits,     // M: the checked boxes
};
SlotHolds SlotOf(char letter);

#if defined(_WIN32)
// The window class of every form window, for a program or script that looks
// for the open form (FindWindowA(formreel::FormClassName, nullptr)).
inline constexpr char FormClassName[] = "FORM_ENTRY";
// The form window's style: a caption, the system menu and a sizing frame
// (and the bit 0x4000). A program whose windows should look like its forms
// gives them this style too.
inline constexpr std::uint32_t FormWindowStyle = 0x00CC4000;

// Shows the form that `descriptor` describes (its first `length`
// characters, which may count its closing NUL) as a window owned by `owner`
// (null for none), runs the modal loop until the form ends and returns true
// when it was confirmed. Only then are the first fieldCount entries of
// `selections` (per field the chosen entry's or pressed button's 1-based
// number, 0 for none) and `values` rewritten with the answers, and the C
// fields' texts written into the caller's buffers; otherwise the caller's
// arrays and text buffers keep what they held. A descriptor that cannot be
// shown (malformed, beyond the limits, or with more fields than the arrays
// hold) and a form window that cannot be created give false at once. While a
// form is open anywhere in the process (a call from a timer or window
// procedure that the form's loop dispatches, or from another thread), a
// further call returns false at once: it shows nothing and touches neither
// the open form nor its own arrays and buffers. A quit message that reaches
// the form's loop while the form is open (PostQuitMessage from the caller's
// code) ends the form unconfirmed, and the quit message is posted again, with
// its exit code, for the caller's own loop. After a false result,
// LastFormEntryEnd tells a cancel from a form that was never shown.
// `instance` decides nothing (any, null included, will do): the form's
// window class, window and controls belong to the module that holds this
// copy of the facility, so that a program and a DLL of its own each show
// their own forms.
bool FormEntry(const InstanceHandle& instance, const WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values);
#endif

// A field's answer as a confirmation is about to hand it back, for a
// program's own check (FieldCheck::own).
struct FieldAnswer {
  std::int32_t field = 0;      // 1-based, counting fields only
  std::int8_t selection = 0;   // the chosen entry's number, 0 for none
  ValueSlot value{};           // a number as it converted (or the caller's,
                               // for a field left as it was shown)
  std::string_view text;       // a text field's text as it will be written
                               // (C, X, P); a chosen entry's text otherwise
};

// What a program asks of a field beyond its letter's type, given beside
// the descriptor (whose language stays as it is). A field that fails a
// check is refused as a value that does not convert is: the confirmation
// stops on it, and the terminal and plain modes say why ("PORT: 1 to
// 65535: 70000", "NAME: required").
struct FieldCheck {
  // C, X and P: not empty; S: an entry chosen; M: one box checked at
  // least. The other letters ignore it (an empty number reads as 0).
  bool required = false;
  // I, L, R and D: the value lies from `lowest` to `highest`, both
  // included. The other letters ignore it.
  bool bounded = false;
  double lowest = 0;
  double highest = 0;
  // The program's own check, run after the others: empty accepts the
  // answer, any other text is the reason it is refused, said to the person
  // as it stands (one line, a few words).
  std::function<std::string(const FieldAnswer&)> own;
};

// What a form is given beside its descriptor.
struct FormRules {
  // Field k's checks at index k - 1; fields beyond the span have none.
  std::span<const FieldCheck> checks;
  // How long the form waits for a key before it ends unconfirmed as
  // TimedOut; zero waits for ever, and then no timer runs at all. In the
  // plain mode, where a line comes whole, it is how long each question
  // waits for its answer.
  std::chrono::milliseconds timeLimit{0};
};

#if defined(_WIN32)
// The window's entry call above, with checks on the fields and a time limit:
// a Windows program's form in its own window, checked as the other entry
// calls check it. Keys and mouse buttons pressed anywhere in the calling
// thread count as the form's keys for its time limit.
bool FormEntry(const InstanceHandle& instance, const WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections, std::span<ValueSlot> values,
               const FormRules& rules);
#endif

// How a form is shown by the entry call without window handles.
enum class FormDisplay : std::uint8_t {
  Standard,    // as this system shows forms: on Windows a window with no owner;
               // elsewhere as Terminal when the program has a controlling
               // terminal, else as Window when WAYLAND_DISPLAY or DISPLAY
               // names a desktop, else not at all (NotShown)
  Plain,       // one field at a time as plain lines, for screen readers: in
               // the controlling terminal, or the program's Windows console
  Unattended,  // not shown: confirmed at once as it stands, every field
               // answering with what the arrays gave it; a B row whose
               // selection names one of its buttons has that button
               // pressed (the first such row in field order; every other
               // B row answers 0). Every check applies to the values given:
               // one that fails ends the call as Refused, nothing changed
  Window,      // a window on the desktop: on Windows as Standard; elsewhere
               // through GTK 4, from the window module, which the package
               // formreel-window installs (NotShown without it, and
               // LastFormEntryProblem says so)
  Terminal,    // full screen in the controlling terminal, or as Plain where
               // TERM is dumb, unset or names no terminal description; on
               // Windows as Plain, in the program's console
};

// The entry call on every system, for a program with no window of its own:
// as the call above promises, shown as `display` asks. In a terminal the
// form takes the controlling terminal (/dev/tty), so that standard input and
// output stay the program's, and gives it back as it was on every way out;
// CTRL-C ends it as Interrupted, and a signal that ends programs (SIGINT,
// SIGTERM, SIGHUP, SIGQUIT) gives the terminal back and is then sent again
// to the handler that was there before; but as Plain, where the terminal
// sends CTRL-C as SIGINT to the whole foreground job, SIGINT is that CTRL-C:
// it ends the form as Interrupted and is not sent again. The texts are in the locale's
// character set (call setlocale first) or, on Windows, the active code page.
bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display = FormDisplay::Standard);
// The same, with checks on the fields and a time limit.
bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, FormDisplay display, const FormRules& rules);

// The plain mode (FormDisplay::Plain) answered from a program's own
// streams rather than a terminal: each question is written to `said`, each
// answer is the next line of `answers`, as a person would type it; the end
// of `answers` cancels the form. The same questions and checks, so that a
// program's tests can fill its forms. The time limit does not apply.
bool FormEntry(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values, std::istream& answers, std::ostream& said,
               const FormRules& rules = {});

// How a FormEntry call ended: after a false result, whether the user saw the
// form and did not confirm it, or the form was never shown, and why.
enum class FormEntryEnd : std::uint8_t {
  Confirmed,  // it returned true
  Cancelled,  // shown, then ended unconfirmed: ESCAPE, CANCEL, closed from its
              // frame, a quit message, or its window destroyed from outside
  Refused,    // not shown: the descriptor is refused (DescriptorProblem says
              // why), the arrays hold fewer entries than it has fields, or,
              // for FormDisplay::Unattended, a value given fails its field's
              // checks (LastFormEntryProblem: "PORT: 1 to 65535: 70000")
  NotShown,   // not shown: no form window could be created (no display, an
              // owner that is not a window, the class not registered), or
              // there is no terminal or console to show it in; see
              // LastFormEntryProblem
  Busy,       // not shown: another form was open in the process
  Interrupted,  // shown, then ended by CTRL-C in a terminal or console, or by
                // a signal that ends programs, rather than answered
  TimedOut,   // shown, then ended unconfirmed because no key came within the
              // form's time limit (FormRules::timeLimit)
};

// The end's name in words, for a message: "confirmed", "cancelled",
// "refused", "not shown", "busy", "interrupted", "timed out".
std::string_view FormEntryEndName(FormEntryEnd end);

// How the calling thread's last FormEntry call ended (NotShown before its
// first). Each thread has its own, so a call refused as Busy on another
// thread does not change it.
FormEntryEnd LastFormEntryEnd();
// After any end but Confirmed, why, as one line for a message: "no terminal
// to draw on: /dev/tty: No such device or address", "the arrays hold 2
// entries; the descriptor has 3 fields", "cancelled", "no key for 30
// seconds"; empty after a confirmation.
std::string LastFormEntryProblem();

// Why FormEntry would refuse the descriptor, as a one-line message naming
// the item and what is wrong; empty when it can be shown. `text` must hold
// `length` readable characters (none are read for a null `text` or a length
// below 1).
std::string DescriptorProblem(const char* text, std::int32_t length);

// One field of a descriptor as its author wrote it.
struct DescriptorField {
  char letter = ' ';                 // B, C, D, I, L, M, P, R, S or X, in capitals
  std::string prompt;                // whole, as written (a form shows 30 columns of it)
  std::vector<std::string> entries;  // its list; for B the buttons' captions, the prompt
                                     // first; for M its boxes' captions
  friend bool operator==(const DescriptorField&, const DescriptorField&) = default;
};
// The fields of a descriptor that DescriptorProblem accepts, in field order
// (the order of the selection and value arrays); none for one it refuses.
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length);

// Reads `text` as a form reads what is typed into a field of `letter` (I,
// L, R or D): into `slot` (zeros after the value) when it converts, and
// true; false, `slot` untouched, when it does not, when it is longer than 79
// bytes, or for a letter that takes no number.
[[nodiscard]] bool ReadTypedValue(char letter, std::string_view text, ValueSlot& slot);

// A field's answer as a script prints it: a text field's text (its
// buffer's, up to the NUL; empty for a null address), an I or L value in
// decimal, an R or D value as the shortest text that reads back as the same
// single or double real, an M field's bits as a decimal number; empty for
// the letters whose slot holds nothing.
std::string AnswerText(char letter, const ValueSlot& slot);

#if defined(_WIN32)
// From now on a run-time error of the facility (an impossible internal
// condition, which ends the program with status 3) is also shown in a
// message box, not only written to standard error: for programs without a
// console.
void ShowFatalReportsInAMessageBox();

#endif

}  // namespace formreel
