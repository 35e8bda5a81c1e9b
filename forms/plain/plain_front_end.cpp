#include "forms/plain/plain_front_end.h"

#include <algorithm>
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

// The blank-separated words of `text`.
std::vector<std::string_view> Words(std::string_view text) {
  std::vector<std::string_view> words;
  for (std::size_t start = text.find_first_not_of(" \t"); start != std::string_view::npos;) {
    const std::size_t end = std::min(text.find_first_of(" \t", start), text.size());
    words.push_back(text.substr(start, end - start));
    start = text.find_first_not_of(" \t", end);
  }
  return words;
}

class Dialogue {
 public:
  Dialogue(FormState& state, FormModel& model, LineChannel& channel)
      : state_(state), model_(model), channel_(channel) {}

  Showing Run();

 private:
  // Ended: cancelled, interrupted or out of time, as howEnded_ says.
  enum class Outcome : std::uint8_t { Next, Again, Pressed, Ended };

  Outcome AskField(std::int32_t field);
  Outcome AnswerEditable(std::int32_t field, FormModel::Control& control, const std::string& line);
  Outcome AnswerChoice(std::int32_t field, FormModel::Control& control, const std::string& line);
  Outcome AnswerButtons(std::int32_t field, const std::string& line);
  Outcome AnswerBoxes(std::int32_t field, const std::string& line);
  Outcome AskConfirmation();
  void Describe(std::int32_t field);
  void DescribeValue(std::int32_t field, const FieldKind& kind, const FormModel::Control& control);
  // Says why field `field`'s answer is refused, naming the field first and
  // then the text, but a hidden one's.
  void SayRefused(std::int32_t field, std::string_view reason, std::string_view text) {
    Say(RefusalLine(Prompt(field), reason, KindOf(LetterOf(field)).Hidden() ? "" : Visible(text)));
  }
  // Says why a confirmation stopped at `field`: its text does not convert
  // or it fails a check.
  void SayStopped(std::int32_t field) {
    const bool typed = KindOf(LetterOf(field)).control == ControlKind::EditableList;
    SayRefused(field, state_.refusal, typed ? ControlOf(field).text : std::string());
  }
  // Why a typed text, `value` as it converted (a text field's slot as it
  // is), fails field `field`'s checks but "required", which a confirmation
  // says; empty when it passes.
  std::string TypedRefusal(std::int32_t field, std::string_view text, const ValueSlot& value) const;
  std::string Shown(std::int32_t field) const;
  std::string Prompt(std::int32_t field) const;
  void Say(const std::string& line) { channel_.Write(line + "\n"); }
  std::string Visible(std::string_view text) const {
    return VisibleUtf8(state_.codePage, TextView(text.data(), text.size()));
  }
  // Whether `text` is made of characters that can be typed: no control
  // characters, no bytes that make no character of the page.
  bool Typeable(std::string_view text) const;
  // The line typed, its echo as `echo` asks; nothing when the form ends
  // here: cancelled (ESCAPE, the end of input), interrupted, or out of time
  // (`howEnded_`).
  std::optional<std::string> Read(const std::string& question, LineChannel::Echo echo = LineChannel::Echo::Shown);
  Showing End() {
    state_.confirmed = false;
    return howEnded_;
  }
  FormModel::Control& ControlOf(std::int32_t field) { return FormModel::Of(state_.controls[field]); }
  // Button or box `position` (from 1) of a B or M field.
  FormModel::Control& PositionOf(std::int32_t field, std::int32_t position) const {
    return FormModel::Of(PositionControl(state_, field, position));
  }
  char LetterOf(std::int32_t field) const { return Letter(state_.fieldTypes[field]); }

  FormState& state_;
  FormModel& model_;
  LineChannel& channel_;
  Showing howEnded_ = Showing::Ended;
};

Showing Dialogue::Run() {
  Say(Visible(model_.Caption()));
  if (state_.fieldCount > 0) {
    // Lines short enough for a terminal of 80 columns: a screen reader
    // speaks a line the terminal wrapped as two, a word cut in two.
    Say("Answer each field on a line. ENTER alone keeps a field as it is.");
    Say(std::string(channel_.CancelKeys()) + " cancels the form.");
    if (state_.rules.timeLimit.count() > 0)
      Say("Each question waits " + SecondsInWords(state_.rules.timeLimit) + " for an answer.");
  }
  // The lines in the form's order: a text line as it comes, a field asked.
  for (const FormModel::Line& line : model_.Lines()) {
    if (line.field == 0) {
      const std::string_view text = Trimmed(line.text);
      if (!text.empty()) Say(Visible(text));
      continue;
    }
    switch (AskField(line.field)) {
      case Outcome::Ended: return End();
      case Outcome::Pressed: return Showing::Ended;
      default: break;
    }
  }
  for (;;) {
    switch (AskConfirmation()) {
      case Outcome::Ended: return End();
      case Outcome::Pressed: return Showing::Ended;
      default: break;
    }
  }
}

std::string Dialogue::Prompt(std::int32_t field) const { return Visible(Trimmed(model_.PromptOf(field))); }

void Dialogue::Describe(std::int32_t field) {
  const char letter = LetterOf(field);
  const FieldKind& kind = KindOf(letter);
  Say("Field " + std::to_string(field) + " of " + std::to_string(state_.fieldCount) + ": " + Prompt(field));
  const auto boxes = static_cast<std::size_t>(state_.groupSize[field]);
  const bool required = CheckOf(state_.rules, field).required && kind.Requirable();
  switch (kind.control) {
    case ControlKind::ButtonRow:
      Say("A row of " + Count(boxes, "button", "buttons") + "; pressing one confirms the form.");
      for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m)
        Say("Button " + std::to_string(m) + ": " + Visible(PositionOf(field, m).text));
      return;
    case ControlKind::CheckBoxes:
      Say(Count(boxes, "check box", "check boxes") + "; any number of them may be checked.");
      if (required) Say("Required.");
      for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m)
        Say("Box " + std::to_string(m) + ": " + Visible(PositionOf(field, m).text) +
            (PositionOf(field, m).checked ? ", checked." : ", not checked."));
      return;
    case ControlKind::HiddenText:
      Say("Hidden text of at most " + std::to_string(kind.maxBytes) + " bytes; what is typed is not shown.");
      break;
    default: DescribeValue(field, kind, ControlOf(field)); break;
  }
  if (required) Say("Required.");
  const FormModel::Control& control = ControlOf(field);
  Say("Now: " + Shown(field) + ".");
  if (kind.Hidden()) return;
  for (std::size_t k = 0; k < control.entries.size(); ++k)
    Say("Entry " + std::to_string(k + 1) + ": " + Visible(control.entries[k]));
  // In words: a screen reader drops the equals sign itself.
  if (kind.control != ControlKind::ListOnly && !control.entries.empty())
    Say("An equals sign followed by an entry number picks that entry.");
}

// What a list or an editable field takes: "Takes a 32-bit integer from 1
// to 65535, or an entry of its list."
void Dialogue::DescribeValue(std::int32_t field, const FieldKind& kind, const FormModel::Control& control) {
  const std::string orEntry = control.entries.empty() ? "." : ", or an entry of its list.";
  const FieldCheck& check = CheckOf(state_.rules, field);
  if (kind.control == ControlKind::ListOnly)
    Say("A choice of " + Count(control.entries.size(), "entry", "entries") + ".");
  else if (kind.slot == SlotHolds::Text)
    Say("Text of at most " + std::to_string(kind.maxBytes) + " bytes" + orEntry);
  else if (check.bounded)
    Say("Takes " + std::string(kind.valueName) + " from " + BoundsInWords(check.lowest, check.highest) + orEntry);
  else
    Say("Takes " + NumberInWords(kind) + orEntry);
}

// A field's value as the form shows it.
std::string Dialogue::Shown(std::int32_t field) const {
  const FieldKind& kind = KindOf(LetterOf(field));
  if (kind.control == ControlKind::ButtonRow) return "a row of buttons";
  if (kind.control == ControlKind::CheckBoxes) {
    std::string checked;
    for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m) {
      const FormModel::Control& box = PositionOf(field, m);
      if (box.checked) checked += (checked.empty() ? "checked: " : ", ") + Visible(box.text);
    }
    return checked.empty() ? "none checked" : checked;
  }
  const FormModel::Control& control = FormModel::Of(state_.controls[field]);
  // Neither the text of a hidden field nor its length.
  if (kind.Hidden()) return control.text.empty() ? "empty" : "set";
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

std::optional<std::string> Dialogue::Read(const std::string& question, LineChannel::Echo echo) {
  channel_.Write(question);
  LineChannel::Line line = channel_.ReadLine(echo, state_.rules.timeLimit);
  switch (line.end) {
    case LineChannel::Line::End::Typed: break;
    case LineChannel::Line::End::EndOfInput: return std::nullopt;
    case LineChannel::Line::End::Interrupted: howEnded_ = Showing::Interrupted; return std::nullopt;
    case LineChannel::Line::End::TimedOut:
      howEnded_ = Showing::TimedOut;
      channel_.Write("\nNo answer for " + SecondsInWords(state_.rules.timeLimit) + ": the form ends.\n");
      return std::nullopt;
  }
  if (line.text.starts_with(Escape)) return std::nullopt;
  return std::move(line.text);
}

std::string Dialogue::TypedRefusal(std::int32_t field, std::string_view text, const ValueSlot& value) const {
  FieldCheck check = CheckOf(state_.rules, field);
  check.required = false;
  return CheckFailure(KindOf(LetterOf(field)), check, FieldAnswer{field, 0, value, text});
}

Dialogue::Outcome Dialogue::AskField(std::int32_t field) {
  const FieldKind& kind = KindOf(LetterOf(field));
  Describe(field);
  std::string question;
  switch (kind.control) {
    case ControlKind::ButtonRow: question = "Button number to press it, or ENTER to go on: "; break;
    case ControlKind::CheckBoxes:
      question = "Box numbers to check, with spaces between, 0 for none, or ENTER to keep: ";
      break;
    case ControlKind::ListOnly:
      if (ControlOf(field).entries.empty()) return Outcome::Next;
      question = "Entry number, 0 for none, or ENTER to keep it: ";
      break;
    default: question = "New value, an equals sign alone to empty it, or ENTER to keep it: "; break;
  }
  const LineChannel::Echo echo = kind.Hidden() ? LineChannel::Echo::Hidden : LineChannel::Echo::Shown;
  for (;;) {
    const std::optional<std::string> line = Read(question, echo);
    if (!line) return Outcome::Ended;
    if (line->empty()) return Outcome::Next;
    Outcome outcome = Outcome::Again;
    switch (kind.control) {
      case ControlKind::ButtonRow: outcome = AnswerButtons(field, *line); break;
      case ControlKind::CheckBoxes: outcome = AnswerBoxes(field, *line); break;
      case ControlKind::ListOnly: outcome = AnswerChoice(field, ControlOf(field), *line); break;
      default: outcome = AnswerEditable(field, ControlOf(field), *line); break;
    }
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
    // A hidden text takes no entry: its field shows no list.
    const auto count = KindOf(LetterOf(field)).Hidden() ? 0 : static_cast<int>(control.entries.size());
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
  ValueSlot converted = state_.values[field];
  if (kind.IsNumber() && !ReadTypedValue(kind.letter, text, converted)) {
    SayRefused(field, NotConvertedReason(kind, CheckOf(state_.rules, field)), text);
    return Outcome::Again;
  }
  // A bound or the program's own check refuses the text at once, rather
  // than at the confirmation.
  if (const std::string failure = TypedRefusal(field, text, converted); !failure.empty()) {
    SayRefused(field, failure, text);
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

// The numbers of the boxes to check, every other box left unchecked; 0
// alone for none.
Dialogue::Outcome Dialogue::AnswerBoxes(std::int32_t field, const std::string& line) {
  const std::int32_t count = state_.groupSize[field];
  const std::vector<std::string_view> words = Words(line);
  unsigned bits = 0;
  bool valid = !words.empty();
  for (const std::string_view word : words) {
    const std::optional<int> box = SmallNumber(word);
    valid = valid && box && *box <= count && (*box != 0 || words.size() == 1);
    if (valid && *box > 0) bits |= 1u << (*box - 1);
  }
  if (!valid) {
    SayRefused(field, "not box numbers (1 to " + std::to_string(count) + ", or 0 alone for none)", line);
    return Outcome::Again;
  }
  for (std::int32_t m = 1; m <= count; ++m) PositionOf(field, m).checked = (bits >> (m - 1) & 1u) != 0;
  return Outcome::Next;
}

Dialogue::Outcome Dialogue::AskConfirmation() {
  for (std::int32_t k = 1; k <= state_.fieldCount; ++k)
    Say(std::to_string(k) + " " + Prompt(k) + ": " + Shown(k));
  const std::string question = state_.fieldCount > 0 ? "Y to confirm, N to cancel, or a field's number to change it: "
                                                     : "Y to confirm, or N to cancel: ";
  for (;;) {
    const std::optional<std::string> line = Read(question);
    if (!line || IsNo(*line)) return Outcome::Ended;
    if (IsYes(*line)) {
      if (ConfirmFields(state_, 0, model_)) return Outcome::Pressed;
      SayStopped(state_.currentField);
      return AskField(state_.currentField) == Outcome::Ended ? Outcome::Ended : Outcome::Next;
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
