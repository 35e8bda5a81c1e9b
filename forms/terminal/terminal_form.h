// A form worked from a terminal's keyboard: keys are bound, by one table,
// to the terminal's named actions, which move through the form with the
// shared navigation, confirm it with the shared read-back and edit the
// focused field as a line editor does. It also keeps what the terminal
// says of the form in words: a status row for the focused position and a
// message row for a refused value. Platform-free: keys arrive decoded,
// and the screen shows what this leaves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "forms/core/form_model.h"
#include "forms/core/painting.h"
#include "forms/terminal/key_decoding.h"

namespace formreel {

// What the terminal's keys do, named.
enum class Action : std::uint8_t {
  None,
  Next,          // the next position
  Previous,
  Confirm,       // the form, as O.K. does
  Cancel,
  Interrupt,     // CTRL-C: the form ends without an answer
  Press,         // the focused button
  Toggle,        // the focused box, checked or cleared
  ShowList,      // the focused field's whole list, shown or hidden
  Type,          // the key's character at the cursor
  TypeAhead,     // the list's next entry that starts with the key's character
  Left,
  Right,
  Home,
  End,
  DeleteBefore,
  DeleteAfter,
  EntryBefore,   // the list's previous entry, shown in the field
  EntryAfter,
};

// What `key` does with the focus on a control of `kind`.
Action ActionFor(Key key, FormModel::Kind kind);

// The terminal's keys as its two key-help lines say them, beside the table
// that binds them.
inline constexpr KeyHelp TerminalKeyHelp{"ENTER or TAB=down   SHIFT-TAB=up   ESCAPE=cancel   F4=list",
                                         "SPACE or ENTER presses button   CTRL-ENTER or CTRL-J=confirm"};

// The columns a field shows on the terminal: what can be typed into a
// field whose text does not scroll sideways.
inline constexpr int FieldColumns = 30;

class TerminalForm {
 public:
  enum class Progress : std::uint8_t {
    Open,
    Ended,        // confirmed with every field converted, or cancelled
    Interrupted,  // CTRL-C
  };

  // The form that BuildForm made into `model` from `state`.
  TerminalForm(FormState& state, FormModel& model);

  Progress Press(const KeyPress& key);

  // The focused control: the focus target that navigation and read-back
  // leave in state.controls[0].
  const FormModel::Control& Focus() const { return FormModel::Of(state_.controls[FocusTargetSlot]); }
  // Where the cursor stands in the focused control's text, in bytes.
  std::size_t Cursor() const { return cursor_; }
  // Whether the focused field's whole text is selected, as it is when the
  // focus comes to it: a typed character then replaces it.
  bool Selected() const { return selected_; }
  // Whether the focused field's whole list is shown.
  bool ListShown() const { return listShown_; }

  // What the focused position takes, in words (StatusWords), as UTF-8.
  std::string Status() const;
  // Why a value was refused, as UTF-8: set when a confirmation stops on a
  // field whose text does not convert or fails its checks, or when a typed
  // character does not fit; gone once the field is left or changes. It
  // names the field and the reason, and the text only of a field that
  // shows it. Empty for none.
  const std::string& Message() const { return message_; }

  // The form's lines (text lines and fields, 1 to lineCount) and the field
  // that each holds, 0 for a text line; and the line of field i.
  std::int32_t FieldOnLine(std::int32_t line) const { return model_.Lines()[static_cast<std::size_t>(line - 1)].field; }
  std::int32_t LineOfField(std::int32_t field) const { return model_.LineOf(field); }
  // The line of the focused position; 0 for O.K. and CANCEL.
  std::int32_t FocusLine() const;
  // A field's prompt as it is shown (its first 30 columns), without the
  // blanks that pad it; empty for a button group, whose buttons say it.
  std::string_view Prompt(std::int32_t field) const;

 private:
  Progress Confirm(std::int32_t groupButton);
  Progress PressFocusedButton();
  void Edit(Action action, const std::string& character);
  void Insert(const std::string& character, bool replacing);
  void Choose(std::int32_t entry);
  void TypeAhead(const std::string& character);
  std::size_t CharacterBefore(std::size_t position) const;
  std::size_t CharacterAfter(std::size_t position) const;
  void FocusMoved();
  void Refuse(const std::string& reason, const std::string& text);
  FormModel::Control& Focused() { return FormModel::Of(state_.controls[FocusTargetSlot]); }

  FormState& state_;
  FormModel& model_;
  std::size_t cursor_ = 0;
  bool selected_ = false;
  bool listShown_ = false;
  std::string message_;
};

}  // namespace formreel
