// Building a form from its descriptor, whatever shows it: the line table,
// each field's control with its initial text, list or boxes, the caption,
// and the first position. Platform-free: the controls are made through
// FormControlFactory, which each front end implements with controls of its
// own (the window with real ones, placed in pixels; the form model,
// forms/core/form_model.h, with controls held in memory for the front ends
// that lay the form out themselves). The factory is told what each
// control is for, never how the window places it.
#pragma once

#include <cstdint>

#include "forms/core/field_kinds.h"
#include "forms/core/state.h"

namespace formreel {

// The two buttons every form ends with.
enum class FormButton : std::uint8_t { Ok, Cancel };

class FormControlFactory {
 public:
  virtual ~FormControlFactory() = default;
  // Text line `line` of the form (it is in state.lines too), as written.
  virtual void TextLine(std::int32_t line, TextView text) = 0;
  // The control of field `field`, on line `line`, of `kind` (an editable
  // list, a list only or a hidden text), whose prompt is `prompt` as
  // written; null when it could not be made.
  virtual ControlHandle CreateField(std::int32_t field, std::int32_t line, const FieldKind& kind,
                                    TextView prompt) = 0;
  // Position `index` (1-based) of the `count` of field `field`'s row on
  // line `line`: a button of a B row, the form's group button `number`, or
  // a box of an M field, the form's check box `number`; `caption` is
  // NUL-terminated. An M field's prompt, which no position shows, comes
  // with its first box.
  virtual ControlHandle CreatePosition(std::int32_t field, std::int32_t line, const FieldKind& kind,
                                       std::int32_t index, std::int32_t count, std::int32_t number,
                                       const char* caption, TextView prompt) = 0;
  // O.K. or CANCEL.
  virtual ControlHandle CreateFormButton(FormButton button, const char* caption) = 0;
  // Sets the text of a field's control (NUL-terminated).
  virtual void SetText(ControlHandle control, const char* text) = 0;
  // The text a field's control of `kind` holds, NUL-terminated in `text`
  // (empty for a control that could not be made).
  virtual void ReadText(ControlHandle control, const FieldKind& kind, FieldText& text) = 0;
  // Appends an entry to a field's list (NUL-terminated).
  virtual void AddListEntry(ControlHandle field, const char* text) = 0;
  // Selects the entry with 0-based `index`; -1 selects none.
  virtual void SelectListEntry(ControlHandle field, std::int32_t index) = 0;
  // Field `field`'s list is complete: `shown` says whether it is one that
  // is shown (a list-only field's, or an editable one with choices).
  virtual void ListComplete(ControlHandle field, bool shown) = 0;
  // Checks or clears an M field's box.
  virtual void SetChecked(ControlHandle box, bool checked) = 0;
  // Sets the form's caption (NUL-terminated).
  virtual void SetCaption(const char* text) = 0;
};

inline constexpr char OkCaption[] = "O.K.";
inline constexpr char CancelCaption[] = "CANCEL";

// The lines a form has: its fields and text lines, within the form's limit.
std::int32_t LineCountOf(const FormState& state);

// Builds the window part of `state` from its normalised descriptor and
// counts, creating every control through `factory`. The descriptor must
// have passed DescriptorProblem; the tables are indexed within their
// bounds in any case.
void BuildForm(FormState& state, FormControlFactory& factory);

}  // namespace formreel
