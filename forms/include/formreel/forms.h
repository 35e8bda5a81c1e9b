// formreel: keyboard forms described at run time, for Win32 programs.
//
// A form is described by one descriptor string: items ended by "|", each
// starting with its letter (C text, I 16-bit integer, L 32-bit integer, R
// single real, D double real, S a choice from a list, B a row of buttons, T
// centred text lines ended by "\", H the window caption); in a field item
// the prompt ends with "^" and every further "^" ends a list entry (a
// button, for B). FormEntry shows it, runs the form until it is confirmed
// or cancelled, and hands the typed values back. docs/forms.md is the guide.
//
// This header needs nothing but the standard library: the handles are the
// platform's own pointer types, declared by name, so <windows.h> may come
// before or after it.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

struct HWND__;
struct HINSTANCE__;

namespace formreel {

using WindowHandle = HWND__*;       // HWND
using InstanceHandle = HINSTANCE__*;  // HINSTANCE (and HMODULE)

// Limits of one form.
inline constexpr int MaxFields = 20;        // fields, so entries of the arrays
inline constexpr int MaxLines = 25;         // fields and text lines
inline constexpr int MaxGroupButtons = 20;  // buttons of all B fields
inline constexpr int MaxGroupSize = 8;      // buttons of one B field
inline constexpr int DescriptorCapacity = 2000;  // characters, its NUL included
// A C field's text: at most 30 characters, then a NUL, in a caller's buffer
// of at least 31 bytes.
inline constexpr int TextValueLength = 30;

// One field's 8-byte value, always at the start: I a 16-bit integer, L a
// 32-bit integer, R a single real, D a double real, C the address of the
// caller's text buffer (or null: the field starts empty and its text goes
// nowhere); S and B do not use it. Writers zero the bytes beyond the value.
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
  // A C field's slot: the caller's text buffer of at least 31 bytes, or null.
  char* TextAddress() const { return Get<char*>(); }

  friend bool operator==(const ValueSlot& a, const ValueSlot& b) {
    return std::memcmp(a.bytes, b.bytes, sizeof(a.bytes)) == 0;
  }
};
static_assert(sizeof(ValueSlot) == 8);

// The window class of every form window, for a program or script that looks
// for the open form (FindWindowA(formreel::FormClassName, nullptr)).
inline constexpr char FormClassName[] = "FORM_ENTRY";

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
bool FormEntry(const InstanceHandle& instance, const WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values);

// How a FormEntry call ended: after a false result, whether the user saw the
// form and did not confirm it, or the form was never shown, and why.
enum class FormEntryEnd : std::uint8_t {
  Confirmed,  // it returned true
  Cancelled,  // shown, then ended unconfirmed: ESCAPE, CANCEL, closed from its
              // frame, a quit message, or its window destroyed from outside
  Refused,    // not shown: the descriptor is refused (DescriptorProblem says
              // why) or the arrays hold fewer entries than it has fields
  NotShown,   // not shown: the form window could not be created (no display,
              // an owner that is not a window, the class not registered)
  Busy,       // not shown: another form was open in the process
  Interrupted,  // shown in a terminal, then ended by CTRL-C (or a signal that
                // ends the program) rather than answered
};

// How the calling thread's last FormEntry call ended (NotShown before its
// first). Each thread has its own, so a call refused as Busy on another
// thread does not change it.
FormEntryEnd LastFormEntryEnd();

// Why FormEntry would refuse the descriptor, as a one-line message naming
// the item and what is wrong; empty when it can be shown. `text` must hold
// `length` readable characters (none are read for a null `text` or a length
// below 1).
std::string DescriptorProblem(const char* text, std::int32_t length);

// From now on a run-time error of the facility (an impossible internal
// condition, which ends the program with status 3) is also shown in a
// message box, not only written to standard error: for programs without a
// console.
void ShowFatalReportsInAMessageBox();

}  // namespace formreel
