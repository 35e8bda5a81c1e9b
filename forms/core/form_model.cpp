#include "forms/core/form_model.h"

#include <algorithm>

#include "forms/core/navigation.h"

namespace formreel {

namespace {

// A control's text as a field hands it over: at most 255 bytes and a NUL.
std::int32_t CopyText(const std::string& text, FieldText& into) {
  const auto length = static_cast<int>(std::min<std::size_t>(text.size(), FieldText::length - 1));
  AssignText(into.Range(1, length), TextView(text.data(), static_cast<std::size_t>(length)));
  into.Set(length + 1, Nul);
  return length;
}

std::string Text(TextView text) { return {text.begin(), text.end()}; }

FormModel::Kind KindFor(ControlKind control) {
  switch (control) {
    case ControlKind::ListOnly: return FormModel::Kind::ListOnly;
    case ControlKind::HiddenText: return FormModel::Kind::HiddenText;
    case ControlKind::ButtonRow: return FormModel::Kind::Button;
    case ControlKind::CheckBoxes: return FormModel::Kind::CheckBox;
    default: return FormModel::Kind::EditableList;
  }
}

}  // namespace

void FormModel::Choose(Control& control, std::int32_t index) {
  if (control.kind != Kind::EditableList && control.kind != Kind::ListOnly) return;
  const auto count = static_cast<std::int32_t>(control.entries.size());
  control.chosen = index >= 0 && index < count ? index : -1;
  if (control.chosen >= 0)
    control.text = control.entries[static_cast<std::size_t>(control.chosen)];
  else if (control.kind == Kind::ListOnly)
    control.text.clear();
}

void FormModel::Edit(Control& control, std::string_view text) {
  if (control.kind != Kind::EditableList && control.kind != Kind::HiddenText) return;
  control.text = text;
  control.chosen = -1;
}

std::int32_t FormModel::LineOf(std::int32_t field) const {
  const auto line = std::ranges::find(lines_, field, &Line::field);
  return line == lines_.end() || field == 0 ? 0 : static_cast<std::int32_t>(line - lines_.begin()) + 1;
}

std::string_view FormModel::PromptOf(std::int32_t field) const {
  const std::int32_t line = LineOf(field);
  return line == 0 ? std::string_view() : std::string_view(lines_[static_cast<std::size_t>(line - 1)].text);
}

std::string_view FormModel::ShownPrompt(const CodePage& page, std::string_view prompt) {
  prompt = prompt.substr(0, WholePrefix(page, TextView(prompt), NoLimit, PromptWidth).bytes);
  const std::size_t last = prompt.find_last_not_of(Blank);
  return last == std::string_view::npos ? std::string_view() : prompt.substr(0, last + 1);
}

void FormModel::TextLine(std::int32_t, TextView text) { lines_.push_back({0, Text(text)}); }

ControlHandle FormModel::CreateField(std::int32_t field, std::int32_t, const FieldKind& kind, TextView prompt) {
  lines_.push_back({field, Text(prompt)});
  return Add({KindFor(kind.control), field, 0, {}, {}, -1, false});
}

ControlHandle FormModel::CreatePosition(std::int32_t field, std::int32_t, const FieldKind& kind, std::int32_t index,
                                        std::int32_t, std::int32_t, const char* caption, TextView prompt) {
  if (index == 1) lines_.push_back({field, Text(prompt)});
  return Add({KindFor(kind.control), field, index, caption, {}, -1, false});
}

ControlHandle FormModel::CreateFormButton(FormButton, const char* caption) {
  return Add({Kind::Button, 0, 0, caption, {}, -1, false});
}

void FormModel::SetText(ControlHandle control, const char* text) {
  Control& c = Of(control);
  if (c.kind != Kind::ListOnly) c.text = text;
}

void FormModel::ReadText(ControlHandle control, const FieldKind&, FieldText& text) {
  CopyText(Of(control).text, text);
}

void FormModel::AddListEntry(ControlHandle field, const char* text) { Of(field).entries.emplace_back(text); }

void FormModel::SelectListEntry(ControlHandle field, std::int32_t index) { Choose(Of(field), index); }

// An M field has no control of its own, only its boxes: no list.
std::int32_t FormModel::ChosenEntry(std::int32_t field) {
  const ControlHandle control = state_.controls[field];
  return control ? Of(control).chosen : -1;
}

std::int32_t FormModel::ReadText(std::int32_t field, FieldText& text) {
  return CopyText(Of(state_.controls[field]).text, text);
}

std::uint8_t FormModel::CheckedBoxes(std::int32_t field) {
  std::uint8_t bits = 0;
  for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m)
    if (Of(PositionControl(state_, field, m)).checked) bits = static_cast<std::uint8_t>(bits | 1u << (m - 1));
  return bits;
}

ControlHandle FormModel::Add(Control control) {
  controls_.push_back(std::move(control));
  return ControlHandle(&controls_.back());
}

}  // namespace formreel
