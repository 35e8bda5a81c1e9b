// A form worked from a terminal's keyboard: what each key does, by one
// table of bindings, to the focused control and to the form. The form
// commands are the window's (navigation, confirmation with read-back,
// cancel); the editing keys are a line editor's over the focused field of
// the form model. Platform-free: keys arrive decoded, and the screen shows
// what this leaves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "forms/core/form_model.h"
#include "forms/terminal/key_decoding.h"

namespace formreel {

// What a key does to the focused control when it is no form command.
enum class FieldEdit : std::uint8_t {
  None,
  Interrupt,     // CTRL-C: the form ends without an answer
  Press,         // the focused button, as a click
  Insert,        // the key's character at the cursor
  TypeAhead,     // the list's next entry that starts with the key's character
  Left,
  Right,
  Home,
  End,
  DeleteBefore,
  DeleteAfter,
  EntryBefore,   // the list's previous entry, shown in the field
  EntryAfter,
  ToggleList,    // the whole list shown below the field, or hidden
};

// What `key` does with the focus on a control of `kind`: a form command of
// the window (CmdNextField, CmdConfirm, ...), or 0 and an edit.
struct KeyBinding {
  std::uint32_t command = 0;
  FieldEdit edit = FieldEdit::None;
};
KeyBinding BindingFor(Key key, FormModel::Kind kind);

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

 private:
  Progress Command(std::uint32_t command);
  void Edit(FieldEdit edit, const std::string& character);
  void Insert(const std::string& character, bool replacing);
  void Choose(std::int32_t entry);
  void TypeAhead(const std::string& character);
  std::size_t CharacterBefore(std::size_t position) const;
  std::size_t CharacterAfter(std::size_t position) const;
  void FocusMoved();
  FormModel::Control& Focused() { return FormModel::Of(state_.controls[FocusTargetSlot]); }

  FormState& state_;
  FormModel& model_;
  std::size_t cursor_ = 0;
  bool selected_ = false;
  bool listShown_ = false;
};

}  // namespace formreel
