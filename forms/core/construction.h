// Building a form from its descriptor: the metrics, the line table, the
// controls with their initial texts and lists, the caption, and the first
// position. Platform-free: the controls are made through FormControlFactory,
// which the form window implements with real controls and the form model
// (forms/core/form_model.h) with controls held in memory.
#pragma once

#include <cstdint>

#include "forms/core/layout.h"
#include "forms/core/state.h"

namespace formreel {

class FormControlFactory {
 public:
  virtual ~FormControlFactory() = default;
  // Moves the form window to (0, 0) with this outer size, repainting it.
  virtual void PlaceFormWindow(std::int32_t width, std::int32_t height) = 0;
  // A child combo box of `style` with identifier `id`; null when it could
  // not be made.
  virtual ControlHandle CreateComboBox(std::uint32_t style, Box box, std::uint32_t id) = 0;
  // A child push button showing `caption` (NUL-terminated).
  virtual ControlHandle CreateButton(const char* caption, Box box, std::uint32_t id) = 0;
  // Sets the text of a control (NUL-terminated).
  virtual void SetText(ControlHandle control, const char* text) = 0;
  // The text a control holds, as NUL-terminated text of at most 79
  // characters in `text` (empty for a control that could not be made).
  virtual void ReadText(ControlHandle control, FixedText<ScratchWidth>& text) = 0;
  // Appends an entry to a combo box's list (NUL-terminated).
  virtual void AddListEntry(ControlHandle comboBox, const char* text) = 0;
  // Selects the entry with 0-based `index`; -1 selects none.
  virtual void SelectListEntry(ControlHandle comboBox, std::int32_t index) = 0;
  // Height of the list entries (index 0) or of the selection field (-1).
  virtual void SetItemHeight(ControlHandle comboBox, std::int32_t index, std::int32_t height) = 0;
  // Sets the form window's caption (NUL-terminated).
  virtual void SetCaption(const char* text) = 0;
};

inline constexpr char OkCaption[] = "O.K.";
inline constexpr char CancelCaption[] = "CANCEL";

// Builds the window part of `state` from its normalised descriptor and
// counts, with the font's average character width and line height (height
// plus external leading), creating every control through `factory`. The
// descriptor must have passed DescriptorProblem; the tables are indexed
// within their bounds in any case.
void BuildForm(FormState& state, std::int32_t charWidth, std::int32_t lineHeight,
               FormControlFactory& factory);

}  // namespace formreel
