#include "forms/terminal/status_words.h"

#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"

namespace formreel {

namespace {

std::string ListOf(std::size_t entries) {
  return "a list of " + std::to_string(entries) + (entries == 1 ? " entry" : " entries") +
         "; UP and DOWN step it, F4 shows it";
}

std::string FieldTakes(const FocusedPosition& field) {
  const FieldKind& kind = KindOf(field.letter);
  if (kind.control == ControlKind::ListOnly) return field.entries == 0 ? "an empty list" : ListOf(field.entries);
  std::string takes =
      kind.IsNumber() ? NumberInWords(kind) : "text of up to " + std::to_string(kind.maxBytes) + " bytes";
  if (field.entries > 0) takes += ", or one of " + ListOf(field.entries);
  return takes;
}

}  // namespace

std::string StatusWords(const FocusedPosition& position) {
  std::string words(position.name);
  switch (position.is) {
    case FocusedPosition::Is::Field: return words + ": " + FieldTakes(position);
    case FocusedPosition::Is::GroupButton: return words + ": a button; SPACE or ENTER presses it and confirms the form";
    case FocusedPosition::Is::Ok: return words + ": confirms the form";
    case FocusedPosition::Is::Cancel: return words + ": cancels the form";
  }
  return words;
}

}  // namespace formreel
