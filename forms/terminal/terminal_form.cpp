#include "forms/terminal/terminal_form.h"

#include <array>

#include "forms/core/field_kinds.h"
#include "forms/core/keys.h"
#include "forms/core/navigation.h"

namespace formreel {

namespace {

using Kind = FormModel::Kind;

// Which focused controls a binding applies to.
enum class Where : std::uint8_t { Anywhere, Button, EditableField, ListOnlyField, AnyField };

struct Binding {
  Key key;
  Where where;
  KeyBinding does;
};

// The form's keys first, as the window has them (ENTER and TAB next,
// CTRL-BACKSPACE previous, CTRL-ENTER confirm, ESCAPE cancel), with
// SHIFT-TAB and CTRL-J for the terminals that cannot report the others;
// then a line editor's keys in an editable field, and a combo box's in any
// field.
constexpr std::array<Binding, 21> Bindings{{
    {Key::Enter, Where::Anywhere, {CmdNextField}},
    {Key::Tab, Where::Anywhere, {CmdNextField}},
    {Key::ShiftTab, Where::Anywhere, {CmdPreviousField}},
    {Key::CtrlBackspace, Where::Anywhere, {CmdPreviousField}},
    {Key::CtrlEnter, Where::Anywhere, {CmdConfirm}},
    {Key::CtrlJ, Where::Anywhere, {CmdConfirm}},
    {Key::Escape, Where::Anywhere, {CmdCancel}},
    {Key::CtrlC, Where::Anywhere, {0, FieldEdit::Interrupt}},
    {Key::Space, Where::Button, {0, FieldEdit::Press}},
    {Key::Space, Where::EditableField, {0, FieldEdit::Insert}},
    {Key::Character, Where::EditableField, {0, FieldEdit::Insert}},
    {Key::Character, Where::ListOnlyField, {0, FieldEdit::TypeAhead}},
    {Key::Left, Where::EditableField, {0, FieldEdit::Left}},
    {Key::Right, Where::EditableField, {0, FieldEdit::Right}},
    {Key::Home, Where::EditableField, {0, FieldEdit::Home}},
    {Key::End, Where::EditableField, {0, FieldEdit::End}},
    {Key::Backspace, Where::EditableField, {0, FieldEdit::DeleteBefore}},
    {Key::Delete, Where::EditableField, {0, FieldEdit::DeleteAfter}},
    {Key::Up, Where::AnyField, {0, FieldEdit::EntryBefore}},
    {Key::Down, Where::AnyField, {0, FieldEdit::EntryAfter}},
    {Key::ShowList, Where::AnyField, {0, FieldEdit::ToggleList}},
}};

bool Applies(Where where, Kind kind) {
  switch (where) {
    case Where::Anywhere: return true;
    case Where::Button: return kind == Kind::Button;
    case Where::EditableField: return kind == Kind::EditableList;
    case Where::ListOnlyField: return kind == Kind::ListOnly;
    case Where::AnyField: return kind != Kind::Button;
  }
  return false;
}

// ASCII letters compare without case, as a list's type-ahead does.
char Folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

KeyBinding BindingFor(Key key, FormModel::Kind kind) {
  for (const Binding& b : Bindings)
    if (b.key == key && Applies(b.where, kind)) return b.does;
  return {};
}

TerminalForm::TerminalForm(FormState& state, FormModel& model) : state_(state), model_(model) { FocusMoved(); }

TerminalForm::Progress TerminalForm::Press(const KeyPress& key) {
  const KeyBinding binding = BindingFor(key.key, Focus().kind);
  if (binding.command != 0) return Command(binding.command);
  switch (binding.edit) {
    case FieldEdit::Interrupt: return Progress::Interrupted;
    case FieldEdit::Press: return Command(Focus().id);
    default: Edit(binding.edit, key.key == Key::Space ? std::string(1, Blank) : key.text); break;
  }
  return Progress::Open;
}

// As the window's command handler: the same meanings, the same steps.
TerminalForm::Progress TerminalForm::Command(std::uint32_t command) {
  listShown_ = false;
  const CommandMeaning meaning = MeaningOf(command);
  switch (meaning.act) {
    case CommandMeaning::Act::Confirm:
      if (ConfirmFields(state_, meaning.groupButton, model_)) return Progress::Ended;
      break;  // the focus is on the field that did not convert
    case CommandMeaning::Act::Cancel: state_.confirmed = false; return Progress::Ended;
    case CommandMeaning::Act::NextField: StepToNextField(state_); break;
    case CommandMeaning::Act::PreviousField: StepToPreviousField(state_); break;
    case CommandMeaning::Act::None: return Progress::Open;
  }
  FocusMoved();
  return Progress::Open;
}

void TerminalForm::Edit(FieldEdit edit, const std::string& character) {
  FormModel::Control& field = Focused();
  if (edit != FieldEdit::ToggleList && edit != FieldEdit::EntryBefore && edit != FieldEdit::EntryAfter)
    listShown_ = false;
  // A selected text goes as a whole: typed over, deleted, or left where
  // the cursor moves from.
  const bool selected = selected_;
  if (edit != FieldEdit::ToggleList) selected_ = false;
  switch (edit) {
    case FieldEdit::Insert: Insert(character, selected); break;
    case FieldEdit::TypeAhead: TypeAhead(character); break;
    case FieldEdit::Left: cursor_ = CharacterBefore(cursor_); break;
    case FieldEdit::Right: cursor_ = CharacterAfter(cursor_); break;
    case FieldEdit::Home: cursor_ = 0; break;
    case FieldEdit::End: cursor_ = field.text.size(); break;
    case FieldEdit::DeleteBefore:
    case FieldEdit::DeleteAfter:
      if (selected) {
        FormModel::Edit(field, "");
        cursor_ = 0;
      } else if (edit == FieldEdit::DeleteBefore && cursor_ > 0) {
        const std::size_t from = CharacterBefore(cursor_);
        FormModel::Edit(field, field.text.substr(0, from) + field.text.substr(cursor_));
        cursor_ = from;
      } else if (edit == FieldEdit::DeleteAfter && cursor_ < field.text.size()) {
        FormModel::Edit(field, field.text.substr(0, cursor_) + field.text.substr(CharacterAfter(cursor_)));
      }
      break;
    case FieldEdit::EntryBefore:
      if (field.chosen > 0) Choose(field.chosen - 1);
      break;
    case FieldEdit::EntryAfter:
      if (field.chosen + 1 < static_cast<std::int32_t>(field.entries.size())) Choose(field.chosen + 1);
      break;
    case FieldEdit::ToggleList: listShown_ = !listShown_ && !field.entries.empty(); break;
    case FieldEdit::None:
    case FieldEdit::Interrupt:
    case FieldEdit::Press: break;
  }
}

// A character goes in, in place of the whole text when it is selected,
// while the field holds it: a C field's 30 bytes (what read-back keeps) or
// the 79 a number's text may have, and the columns the field shows.
void TerminalForm::Insert(const std::string& character, bool replacing) {
  FormModel::Control& field = Focused();
  const bool text = KindOf(state_.fieldTypes[state_.currentField]).slot == SlotHolds::Text;
  const std::size_t maxBytes = text ? TextValueLength : ScratchWidth - 1;
  const std::size_t at = replacing ? 0 : cursor_;
  const std::string edited =
      replacing ? character : field.text.substr(0, cursor_) + character + field.text.substr(cursor_);
  if (edited.size() > maxBytes ||
      TextColumns(state_.codePage, TextView(edited.data(), edited.size())) > static_cast<std::size_t>(field.box.width))
    return;
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
// window's combo box.
void TerminalForm::FocusMoved() {
  listShown_ = false;
  cursor_ = Focus().text.size();
  selected_ = Focus().kind == FormModel::Kind::EditableList && !Focus().text.empty();
}

}  // namespace formreel
