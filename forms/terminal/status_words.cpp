#include "forms/terminal/status_words.h"

#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"

namespace formreel {

namespace {

constexpr std::string_view ListKeys = "; UP and DOWN step it, F4 shows it";
constexpr std::string_view BoxKeys = "; SPACE checks or clears it";

std::string ListOf(std::size_t entries) {
  return "a list of " + std::to_string(entries) + (entries == 1 ? " entry" : " entries");
}

// A number's type, within the program's bounds where it gives them.
std::string NumberTakes(const FieldKind& kind, const FieldCheck* check) {
  if (check != nullptr && check->bounded)
    return std::string(kind.valueName) + " from " + BoundsInWords(check->lowest, check->highest);
  return NumberInWords(kind);
}

std::string FieldTakes(const FocusedPosition& field) {
  const FieldKind& kind = KindOf(field.letter);
  const bool required = field.check != nullptr && field.check->required && kind.Requirable();
  const std::string_view must = required ? ", required" : "";
  if (kind.control == ControlKind::ListOnly) {
    if (field.entries == 0) return "an empty list" + std::string(must);
    return ListOf(field.entries) + std::string(must) + std::string(ListKeys);
  }
  std::string takes = kind.IsNumber() ? NumberTakes(kind, field.check)
                                      : std::string(kind.Hidden() ? "hidden text" : "text") + " of up to " +
                                            std::to_string(kind.maxBytes) + " bytes";
  if (field.entries > 0) return takes + ", or one of " + ListOf(field.entries) + std::string(must) + std::string(ListKeys);
  return takes + std::string(must);
}

std::string BoxTakes(const FocusedPosition& box) {
  const bool required = box.check != nullptr && box.check->required;
  return std::string(box.caption) + ", box " + std::to_string(box.box) + " of " + std::to_string(box.boxes) +
         (box.checked ? ", checked" : ", not checked") + std::string(BoxKeys) +
         (required ? "; one at least must be checked" : "");
}

}  // namespace

std::string StatusWords(const FocusedPosition& position) {
  std::string words(position.name);
  switch (position.is) {
    case FocusedPosition::Is::Field: return words + ": " + FieldTakes(position);
    case FocusedPosition::Is::Box: return words + ": " + BoxTakes(position);
    case FocusedPosition::Is::GroupButton: return words + ": a button; SPACE or ENTER presses it and confirms the form";
    case FocusedPosition::Is::Ok: return words + ": confirms the form";
    case FocusedPosition::Is::Cancel: return words + ": cancels the form";
  }
  return words;
}

}  // namespace formreel
