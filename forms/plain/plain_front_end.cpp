#include "forms/plain/plain_front_end.h"

#include <optional>
#include <string>
#include <vector>

#include "forms/core/field_checks.h"
#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/form_model.h"
#include "forms/core/navigation.h"
#include "forms/core/read_back.h"
#include "text/small_number.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

constexpr char Escape = '\x1b';
constexpr char Command = '=';  // starts a line that is no typed text

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(Blank);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(Blank) - first + 1);
}

// A whole line of at most 9 digits as its number.
std::optional<int> WholeNumber(std::string_view text) { return SmallNumber(Trimmed(text)); }

bool IsYes(std::string_view answer) {
  answer = Trimmed(answer);
  return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes" || answer == "YES";
}

bool IsNo(std::string_view answer) {
  answer = Trimmed(answer);
  return answer == "n" || answer == "N" || answer == "no" || answer == "No" || answer == "NO";
}

std::string Count(std::size_t count, std::string_view one, std::string_view many) {
  return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

// Why a number is no entry of a list of `count`: "not an entry number (1 to
// 3, or 0 for none)".
std::string EntryRange(int count, bool noneToo) {
  return "not an entry number (1 to " + std::to_string(count) + (noneToo ? ", or 0 for none)" : ")");
}

class Dialogue {
 public:
  Dialogue(FormState& state, FormModel& model, LineChannel& channel)
      : state_(state), model_(model), channel_(channel) {}

  Showing Run();

 private:
  enum class Outcome : std::uint8_t { Next, Again, Pressed, Cancelled };

  Outcome AskField(std::int32_t field);
  Outcome AnswerEditable(std::int32_t field, FormModel::Control& control, const std::string& line);
  Outcome AnswerChoice(std::int32_t field, FormModel::Control& control, const std::string& line);
  Outcome AnswerButtons(std::int32_t field, const std::string& line);
  Outcome AskConfirmation();
  void Describe(std::int32_t field);
  // Says why field `field`'s answer is refused, naming the field first.
  void SayRefused(std::int32_t field, std::string_view reason, std::string_view text) {
    Say(RefusalLine(Prompt(field), reason, Visible(text)));
  }
  // Says why a confirmation stopped at `field`: its text does not convert
  // or it fails a check.
  void SayStopped(std::int32_t field) { SayRefused(field, state_.refusal, ControlOf(field).text); }
  std::string Shown(std::int32_t field) const;
  std::string Prompt(std::int32_t field) const;
  void Say(const std::string& line) { channel_.Write(line + "\n"); }
  std::string Visible(std::string_view text) const {
    return VisibleUtf8(state_.codePage, TextView(text.data(), text.size()));
  }
  // Whether `text` is made of characters that can be typed: no control
  // characters, no bytes that make no character of the page.
  bool Typeable(std::string_view text) const;
  // The line typed; nothing when the form ends here: cancelled (ESCAPE,
  // the end of input) or interrupted (`interrupted_`).
  std::optional<std::string> Read(const std::string& question);
  Showing Cancel() {
    state_.confirmed = false;
    return interrupted_ ? Showing::Interrupted : Showing::Ended;
  }
  FormModel::Control& ControlOf(std::int32_t field) { return FormModel::Of(state_.controls[field]); }
  char LetterOf(std::int32_t field) const { return Letter(state_.fieldTypes[field]); }

  FormState& state_;
  FormModel& model_;
  LineChannel& channel_;
  bool interrupted_ = false;
};

Showing Dialogue::Run() {
  Say(Visible(model_.Caption()));
  if (state_.fieldCount > 0) {
    // Lines short enough for a terminal of 80 columns: a screen reader
    // speaks a line the terminal wrapped as two, a word cut in two.
    Say("Answer each field on a line. ENTER alone keeps a field as it is.");
    Say(std::string(channel_.CancelKeys()) + " cancels the form.");
  }
  // The lines in the form's order: a text line as it comes, a field asked.
  for (const FormModel::Line& line : model_.Lines()) {
    if (line.field == 0) {
      const std::string_view text = Trimmed(line.text);
      if (!text.empty()) Say(Visible(text));
      continue;
    }
    switch (AskField(line.field)) {
      case Outcome::Cancelled: return Cancel();
      case Outcome::Pressed: return Showing::Ended;
      default: break;
    }
  }
  for (;;) {
    switch (AskConfirmation()) {
      case Outcome::Cancelled: return Cancel();
      case Outcome::Pressed: return Showing::Ended;
      default: break;
    }
  }
}

std::string Dialogue::Prompt(std::int32_t field) const {
  for (const FormModel::Line& line : model_.Lines())
    if (line.field == field) return Visible(Trimmed(line.text));
  return {};
}

void Dialogue::Describe(std::int32_t field) {
  const char letter = LetterOf(field);
  const FieldKind& kind = KindOf(letter);
  Say("Field " + std::to_string(field) + " of " + std::to_string(state_.fieldCount) + ": " + Prompt(field));
  if (kind.control == ControlKind::ButtonRow) {
    const auto count = static_cast<std::size_t>(state_.groupSize[field]);
    Say("A row of " + Count(count, "button", "buttons") + "; pressing one confirms the form.");
    for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m)
      Say("Button " + std::to_string(m) + ": " + Visible(FormModel::Of(PositionControl(state_, field, m)).text));
    return;
  }
  const FormModel::Control& control = ControlOf(field);
  const bool listOnly = kind.control == ControlKind::ListOnly;
  if (listOnly)
    Say("A choice of " + Count(control.entries.size(), "entry", "entries") + ".");
  else if (kind.slot == SlotHolds::Text)
    Say("Text of at most " + std::to_string(kind.maxBytes) + " bytes" +
        (control.entries.empty() ? "." : ", or an entry of its list."));
  else
    Say("Takes " + NumberInWords(kind) + (control.entries.empty() ? "." : ", or an entry of its list."));
  Say("Now: " + Shown(field) + ".");
  for (std::size_t k = 0; k < control.entries.size(); ++k)
    Say("Entry " + std::to_string(k + 1) + ": " + Visible(control.entries[k]));
  // In words: a screen reader drops the equals sign itself.
  if (!listOnly && !control.entries.empty())
    Say("An equals sign followed by an entry number picks that entry.");
}

// A field's value as the form shows it.
std::string Dialogue::Shown(std::int32_t field) const {
  if (KindOf(LetterOf(field)).control == ControlKind::ButtonRow) return "a row of buttons";
  const FormModel::Control& control = FormModel::Of(state_.controls[field]);
  if (control.chosen >= 0) return "entry " + std::to_string(control.chosen + 1) + ", " + Visible(control.text);
  if (control.kind == FormModel::Kind::ListOnly) return "nothing chosen";
  return control.text.empty() ? "empty" : Visible(control.text);
}

bool Dialogue::Typeable(std::string_view text) const {
  TextView rest(text.data(), text.size());
  while (!rest.empty()) {
    const VisibleCharacter c = FirstVisible(state_.codePage, rest);
    const bool replacement = c.code == ReplacementCharacter;
    const bool meant = c.bytes == 3 && std::string_view(rest.data(), 3) == "\xEF\xBF\xBD";
    if ((c.code >= U'\u2400' && c.code <= U'\u2421' && c.bytes == 1) || (replacement && !meant)) return false;
    rest = rest.subspan(c.bytes);
  }
  return true;
}

std::optional<std::string> Dialogue::Read(const std::string& question) {
  channel_.Write(question);
  LineChannel::Line line = channel_.ReadLine();
  interrupted_ = line.end == LineChannel::Line::End::Interrupted;
  if (line.end != LineChannel::Line::End::Typed || line.text.starts_with(Escape)) return std::nullopt;
  return std::move(line.text);
}

Dialogue::Outcome Dialogue::AskField(std::int32_t field) {
  const FieldKind& kind = KindOf(LetterOf(field));
  Describe(field);
  const bool group = kind.control == ControlKind::ButtonRow;
  std::string question;
  if (group) {
    question = "Button number to press it, or ENTER to go on: ";
  } else if (kind.control == ControlKind::ListOnly) {
    if (ControlOf(field).entries.empty()) return Outcome::Next;
    question = "Entry number, 0 for none, or ENTER to keep it: ";
  } else {
    question = "New value, an equals sign alone to empty it, or ENTER to keep it: ";
  }
  for (;;) {
    const std::optional<std::string> line = Read(question);
    if (!line) return Outcome::Cancelled;
    if (line->empty()) return Outcome::Next;
    Outcome outcome = Outcome::Again;
    if (group)
      outcome = AnswerButtons(field, *line);
    else if (kind.control == ControlKind::ListOnly)
      outcome = AnswerChoice(field, ControlOf(field), *line);
    else
      outcome = AnswerEditable(field, ControlOf(field), *line);
    if (outcome != Outcome::Again) return outcome;
  }
}

Dialogue::Outcome Dialogue::AnswerEditable(std::int32_t field, FormModel::Control& control, const std::string& line) {
  std::string text = line;
  if (line.starts_with(std::string(2, Command))) {
    text = line.substr(1);
  } else if (line.size() == 1 && line[0] == Command) {
    FormModel::Edit(control, "");
    return Outcome::Next;
  } else if (line[0] == Command) {
    const std::optional<int> entry = WholeNumber(std::string_view(line).substr(1));
    const auto count = static_cast<int>(control.entries.size());
    if (entry && *entry >= 1 && *entry <= count) {
      FormModel::Choose(control, *entry - 1);
      return Outcome::Next;
    }
    SayRefused(field, count == 0 ? "no list to pick an entry from" : EntryRange(count, false), line.substr(1));
    Say("A text that starts with an equals sign takes one more before it.");
    return Outcome::Again;
  }
  if (!Typeable(text)) {
    SayRefused(field, "holds a control character or a byte that is no character", "");
    return Outcome::Again;
  }
  const FieldKind& kind = KindOf(LetterOf(field));
  if (kind.slot == SlotHolds::Text && text.size() > static_cast<std::size_t>(kind.maxBytes)) {
    SayRefused(field, TooLongReason(static_cast<std::size_t>(kind.maxBytes)), text);
    return Outcome::Again;
  }
  ValueSlot converted;
  if (kind.IsNumber() && !ReadTypedValue(kind.letter, text, converted)) {
    SayRefused(field, NotConvertedReason(kind, CheckOf(state_.rules, field)), text);
    return Outcome::Again;
  }
  FormModel::Edit(control, text);
  return Outcome::Next;
}

Dialogue::Outcome Dialogue::AnswerChoice(std::int32_t field, FormModel::Control& control, const std::string& line) {
  const std::string_view number = line[0] == Command ? std::string_view(line).substr(1) : std::string_view(line);
  const std::optional<int> entry = WholeNumber(number);
  const auto count = static_cast<int>(control.entries.size());
  if (entry && *entry <= count) {
    FormModel::Choose(control, *entry - 1);
    return Outcome::Next;
  }
  SayRefused(field, EntryRange(count, true), line);
  return Outcome::Again;
}

Dialogue::Outcome Dialogue::AnswerButtons(std::int32_t field, const std::string& line) {
  const std::optional<int> button = WholeNumber(line);
  const std::int32_t size = state_.groupSize[field];
  if (!button || *button > size) {
    SayRefused(field, "not a button number (1 to " + std::to_string(size) + ")", line);
    return Outcome::Again;
  }
  if (*button == 0) return Outcome::Next;
  if (ConfirmFields(state_, state_.groupStart[field] + *button, model_)) return Outcome::Pressed;
  // As in the window, a press whose confirmation stops is forgotten.
  SayStopped(state_.currentField);
  return Outcome::Next;
}

Dialogue::Outcome Dialogue::AskConfirmation() {
  for (std::int32_t k = 1; k <= state_.fieldCount; ++k)
    Say(std::to_string(k) + " " + Prompt(k) + ": " + Shown(k));
  const std::string question = state_.fieldCount > 0 ? "Y to confirm, N to cancel, or a field's number to change it: "
                                                     : "Y to confirm, or N to cancel: ";
  for (;;) {
    const std::optional<std::string> line = Read(question);
    if (!line || IsNo(*line)) return Outcome::Cancelled;
    if (IsYes(*line)) {
      if (ConfirmFields(state_, 0, model_)) return Outcome::Pressed;
      SayStopped(state_.currentField);
      return AskField(state_.currentField) == Outcome::Cancelled ? Outcome::Cancelled : Outcome::Next;
    }
    const std::optional<int> field = WholeNumber(*line);
    if (field && *field >= 1 && *field <= state_.fieldCount) {
      const Outcome outcome = AskField(*field);
      return outcome == Outcome::Next ? Outcome::Again : outcome;
    }
    Say("Not an answer: " + Visible(*line) + ".");
  }
}

}  // namespace

Showing PlainFrontEnd::Show(FormState& state) {
  FormModel model(state);
  BuildForm(state, model);
  Dialogue dialogue(state, model, channel_);
  return dialogue.Run();
}

}  // namespace formreel
