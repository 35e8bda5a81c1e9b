#include "forms/terminal/terminal_form.h"

#include <array>
#include <string_view>

#include "forms/core/field_checks.h"
#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/navigation.h"
#include "forms/core/read_back.h"
#include "forms/terminal/status_words.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

using Kind = FormModel::Kind;

// Which focused controls a binding applies to.
enum class Where : std::uint8_t { Anywhere, Button, Box, TextField, ListOnlyField, ListField };

struct Binding {
  Key key;
  Where where;
  Action action;
};

// The first binding of a key that applies wins. The form's keys as the
// window has them (TAB next, CTRL-BACKSPACE previous, CTRL-ENTER confirm,
// ESCAPE cancel), with SHIFT-TAB and CTRL-J for the terminals that cannot
// report the others, and ENTER pressing a button as terminal forms do (but
// moving on from a box, as from the window's group buttons); SPACE checks
// or clears a box; then a line editor's keys in a field that takes text,
// and a combo box's in a field with a list.
constexpr std::array<Binding, 23> Bindings{{
    {Key::Enter, Where::Button, Action::Press},
    {Key::Enter, Where::Anywhere, Action::Next},
    {Key::Tab, Where::Anywhere, Action::Next},
    {Key::ShiftTab, Where::Anywhere, Action::Previous},
    {Key::CtrlBackspace, Where::Anywhere, Action::Previous},
    {Key::CtrlEnter, Where::Anywhere, Action::Confirm},
    {Key::CtrlJ, Where::Anywhere, Action::Confirm},
    {Key::Escape, Where::Anywhere, Action::Cancel},
    {Key::CtrlC, Where::Anywhere, Action::Interrupt},
    {Key::Space, Where::Button, Action::Press},
    {Key::Space, Where::Box, Action::Toggle},
    {Key::Space, Where::TextField, Action::Type},
    {Key::Character, Where::TextField, Action::Type},
    {Key::Character, Where::ListOnlyField, Action::TypeAhead},
    {Key::Left, Where::TextField, Action::Left},
    {Key::Right, Where::TextField, Action::Right},
    {Key::Home, Where::TextField, Action::Home},
    {Key::End, Where::TextField, Action::End},
    {Key::Backspace, Where::TextField, Action::DeleteBefore},
    {Key::Delete, Where::TextField, Action::DeleteAfter},
    {Key::Up, Where::ListField, Action::EntryBefore},
    {Key::Down, Where::ListField, Action::EntryAfter},
    {Key::ShowList, Where::ListField, Action::ShowList},
}};

bool Applies(Where where, Kind kind) {
  switch (where) {
    case Where::Anywhere: return true;
    case Where::Button: return kind == Kind::Button;
    case Where::Box: return kind == Kind::CheckBox;
    case Where::TextField: return kind == Kind::EditableList || kind == Kind::HiddenText;
    case Where::ListOnlyField: return kind == Kind::ListOnly;
    case Where::ListField: return kind == Kind::EditableList || kind == Kind::ListOnly;
  }
  return false;
}

// ASCII letters compare without case, as a list's type-ahead does.
char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

Action ActionFor(Key key, FormModel::Kind kind) {
  for (const Binding& b : Bindings)
    if (b.key == key && Applies(b.where, kind)) return b.action;
  return Action::None;
}

TerminalForm::TerminalForm(FormState& state, FormModel& model)
    : state_(state), model_(model) {
  FocusMoved();
}

TerminalForm::Progress TerminalForm::Press(const KeyPress& key) {
  const Action action = ActionFor(key.key, Focus().kind);
  switch (action) {
    case Action::Next:
      StepToNextField(state_);
      FocusMoved();
      break;
    case Action::Previous:
      StepToPreviousField(state_);
      FocusMoved();
      break;
    case Action::Confirm: return Confirm(0);
    case Action::Cancel: state_.confirmed = false; return Progress::Ended;
    case Action::Interrupt: return Progress::Interrupted;
    case Action::Press: return PressFocusedButton();
    case Action::Toggle:
      Focused().checked = !Focused().checked;
      message_.clear();
      break;
    default: Edit(action, key.key == Key::Space ? std::string(1, Blank) : key.text); break;
  }
  return Progress::Open;
}

// A confirmation that stops leaves the focus on the field that did not
// convert or pass its checks, its text selected, and says why: with the
// text only where the field shows it (not a hidden text, nor a box's
// caption).
TerminalForm::Progress TerminalForm::Confirm(std::int32_t groupButton) {
  if (ConfirmFields(state_, groupButton, model_)) return Progress::Ended;
  FocusMoved();
  Refuse(state_.refusal, Focus().kind == Kind::EditableList ? Focus().text : std::string());
  return Progress::Open;
}

TerminalForm::Progress TerminalForm::PressFocusedButton() {
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  if (focus == state_.controls[CancelButtonSlot]) {
    state_.confirmed = false;
    return Progress::Ended;
  }
  for (std::int32_t j = 1; j <= state_.buttonCount; ++j)
    if (focus == state_.buttons[j]) return Confirm(j);
  return Confirm(0);  // O.K.
}

std::int32_t TerminalForm::FocusLine() const {
  const std::int32_t field = state_.currentField;
  return field >= 1 && field <= state_.fieldCount ? LineOfField(field) : 0;
}

std::string_view TerminalForm::Prompt(std::int32_t field) const {
  return FormModel::ShownPrompt(state_.codePage, model_.PromptOf(field));
}

std::string TerminalForm::Status() const {
  FocusedPosition position;
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  const std::int32_t field = state_.currentField;
  const FormModel::Control& control = Focus();
  // A button's caption, a box's; never a field's text.
  const std::string caption =
      control.kind == Kind::Button || control.kind == Kind::CheckBox
          ? VisibleUtf8(state_.codePage, TextView(control.text))
          : std::string();
  std::string prompt;
  position.name = caption;
  if (focus == state_.controls[OkButtonSlot]) {
    position.is = FocusedPosition::Is::Ok;
  } else if (focus == state_.controls[CancelButtonSlot]) {
    position.is = FocusedPosition::Is::Cancel;
  } else if (control.kind == Kind::Button) {
    position.is = FocusedPosition::Is::GroupButton;
  } else {
    prompt = VisibleUtf8(state_.codePage, TextView(Prompt(field)));
    position.name = prompt;
    position.letter = Letter(state_.fieldTypes[field]);
    position.check = &CheckOf(state_.rules, field);
    if (control.kind == Kind::EditableList || control.kind == Kind::ListOnly)
      position.entries = control.entries.size();
    if (control.kind == Kind::CheckBox) {
      position.is = FocusedPosition::Is::Box;
      position.caption = caption;
      position.box = control.index;
      position.boxes = state_.groupSize[field];
      position.checked = control.checked;
    }
  }
  return StatusWords(position);
}

void TerminalForm::Refuse(const std::string& reason, const std::string& text) {
  const std::string prompt = VisibleUtf8(state_.codePage, TextView(Prompt(state_.currentField)));
  message_ = RefusalLine(prompt, reason, VisibleUtf8(state_.codePage, TextView(text)));
}

void TerminalForm::Edit(Action action, const std::string& character) {
  FormModel::Control& field = Focused();
  if (action != Action::ShowList && action != Action::EntryBefore && action != Action::EntryAfter)
    listShown_ = false;
  // A selected text goes as a whole: typed over, deleted, or left where
  // the cursor moves from.
  const bool selected = selected_;
  if (action != Action::ShowList) selected_ = false;
  const std::string before = field.text;
  switch (action) {
    case Action::Type: Insert(character, selected); break;
    case Action::TypeAhead: TypeAhead(character); break;
    case Action::Left: cursor_ = CharacterBefore(cursor_); break;
    case Action::Right: cursor_ = CharacterAfter(cursor_); break;
    case Action::Home: cursor_ = 0; break;
    case Action::End: cursor_ = field.text.size(); break;
    case Action::DeleteBefore:
    case Action::DeleteAfter:
      if (selected) {
        FormModel::Edit(field, "");
        cursor_ = 0;
      } else if (action == Action::DeleteBefore && cursor_ > 0) {
        const std::size_t from = CharacterBefore(cursor_);
        FormModel::Edit(field, field.text.substr(0, from) + field.text.substr(cursor_));
        cursor_ = from;
      } else if (action == Action::DeleteAfter && cursor_ < field.text.size()) {
        FormModel::Edit(field, field.text.substr(0, cursor_) + field.text.substr(CharacterAfter(cursor_)));
      }
      break;
    case Action::EntryBefore:
      if (field.chosen > 0) Choose(field.chosen - 1);
      break;
    case Action::EntryAfter:
      if (field.chosen + 1 < static_cast<std::int32_t>(field.entries.size())) Choose(field.chosen + 1);
      break;
    case Action::ShowList: listShown_ = !listShown_ && !field.entries.empty(); break;
    default: break;
  }
  if (field.text != before) message_.clear();
}

// A character goes in, in place of the whole text when it is selected,
// while the field holds it: the bytes its kind takes (a C field's 30, what
// read-back keeps; the 79 a number's text may have; X's and P's 255), and,
// unless its text scrolls sideways, the columns the field shows. One that
// does not fit is refused in words.
void TerminalForm::Insert(const std::string& character, bool replacing) {
  FormModel::Control& field = Focused();
  const FieldKind& kind = KindOf(state_.fieldTypes[state_.currentField]);
  const auto maxBytes = static_cast<std::size_t>(kind.maxBytes);
  const std::size_t at = replacing ? 0 : cursor_;
  const std::string edited =
      replacing ? character : field.text.substr(0, cursor_) + character + field.text.substr(cursor_);
  if (edited.size() > maxBytes) return Refuse(TooLongReason(maxBytes), "");
  if (!kind.ScrollsSideways() && TextColumns(state_.codePage, TextView(edited)) > std::size_t{FieldColumns})
    return Refuse(TooWideReason(FieldColumns), "");
  FormModel::Edit(field, edited);
  cursor_ = at + character.size();
}
// A chosen entry's text is shown selected, as the window's combo box shows it.
void TerminalForm::Choose(std::int32_t entry) {
  FormModel::Control& field = Focused();
  FormModel::Choose(field, entry);
  cursor_ = field.text.size();
  selected_ = field.kind == FormModel::Kind::EditableList && !field.text.empty();
}

void TerminalForm::TypeAhead(const std::string& character) {
  const FormModel::Control& field = Focused();
  const auto count = static_cast<std::int32_t>(field.entries.size());
  for (std::int32_t step = 1; step <= count; ++step) {
    const std::int32_t k = (field.chosen + step + count) % count;
    const std::string& entry = field.entries[static_cast<std::size_t>(k)];
    const bool same = character.size() == 1 ? !entry.empty() && Folded(entry[0]) == Folded(character[0])
                                            : entry.starts_with(character);
    if (same) return Choose(k);
  }
}

std::size_t TerminalForm::CharacterBefore(std::size_t position) const {
  const std::string& text = Focus().text;
  std::size_t start = 0;
  while (start < position) {
    const std::size_t next = start + FirstCharacter(state_.codePage, TextView(text).subspan(start)).bytes;
    if (next >= position) break;
    start = next;
  }
  return start;
}

std::size_t TerminalForm::CharacterAfter(std::size_t position) const {
  const std::string& text = Focus().text;
  if (position >= text.size()) return text.size();
  return position + FirstCharacter(state_.codePage, TextView(text).subspan(position)).bytes;
}

// The focus comes to a field with its text selected, as it comes to the
// window's combo box and edit control.
void TerminalForm::FocusMoved() {
  listShown_ = false;
  message_.clear();
  cursor_ = Focus().text.size();
  selected_ = (Focus().kind == Kind::EditableList || Focus().kind == Kind::HiddenText) && !Focus().text.empty();
}

}  // namespace formreel
