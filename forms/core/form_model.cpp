#include "forms/core/form_model.h"

#include <algorithm>

namespace formreel {

namespace {

// A control's text as the window system hands it over: at most 79 bytes and
// a NUL, so that it fits `scratch`.
std::int32_t CopyText(const std::string& text, FixedText<ScratchWidth>& into) {
  const auto length = static_cast<int>(std::min<std::size_t>(text.size(), ScratchWidth - 1));
  AssignText(into.Range(1, length), TextView(text.data(), static_cast<std::size_t>(length)));
  into.Set(length + 1, Nul);
  return length;
}

}  // namespace

void FormModel::Choose(Control& control, std::int32_t index) {
  if (control.kind == Kind::Button) return;
  const auto count = static_cast<std::int32_t>(control.entries.size());
  control.chosen = index >= 0 && index < count ? index : -1;
  if (control.chosen >= 0)
    control.text = control.entries[static_cast<std::size_t>(control.chosen)];
  else if (control.kind == Kind::ListOnly)
    control.text.clear();
}

void FormModel::Edit(Control& control, std::string_view text) {
  if (control.kind != Kind::EditableList) return;
  control.text = text;
  control.chosen = -1;
}

void FormModel::PlaceFormWindow(std::int32_t width, std::int32_t height) {
  width_ = width;
  height_ = height;
}

ControlHandle FormModel::CreateComboBox(std::uint32_t style, Box box, std::uint32_t id) {
  return Add({style == ListComboStyle ? Kind::ListOnly : Kind::EditableList, id, box, {}, {}, -1});
}

ControlHandle FormModel::CreateButton(const char* caption, Box box, std::uint32_t id) {
  return Add({Kind::Button, id, box, caption, {}, -1});
}

void FormModel::SetText(ControlHandle control, const char* text) {
  Control& c = Of(control);
  if (c.kind != Kind::ListOnly) c.text = text;
}

void FormModel::ReadText(ControlHandle control, FixedText<ScratchWidth>& text) {
  CopyText(Of(control).text, text);
}

void FormModel::AddListEntry(ControlHandle comboBox, const char* text) { Of(comboBox).entries.emplace_back(text); }

void FormModel::SelectListEntry(ControlHandle comboBox, std::int32_t index) { Choose(Of(comboBox), index); }

std::int32_t FormModel::ChosenEntry(std::int32_t field) { return Of(state_.controls[field]).chosen; }

std::int32_t FormModel::ReadText(std::int32_t field, Record& scratch) {
  return CopyText(Of(state_.controls[field]).text, scratch);
}

ControlHandle FormModel::Add(Control control) {
  controls_.push_back(std::move(control));
  return ControlHandle(&controls_.back());
}

}  // namespace formreel
