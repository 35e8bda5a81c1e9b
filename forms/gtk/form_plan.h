// The form as the desktop window draws it: its rows in order (centred text
// lines and fields), each field with its control, its texts already in
// UTF-8 as they may be shown. Making the plan also readies the form's shared
// part for navigation and read-back (forms/core), whose decisions the window
// takes as they are. This is the window's one door to forms/core's
// construction: no pixel layout passes through it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "forms/core/state.h"

namespace formreel {

// The control of a field in the window.
enum class WindowControl : std::uint8_t {
  Text,          // a field to type in, with no list
  EditableList,  // a field to type in, or to take an entry of its list
  ListOnly,      // only an entry of its list
  Buttons,       // a row of buttons, the prompt the first: pressing one confirms
};

struct PlannedField {
  std::int32_t field = 0;  // 1-based, the index into the form's tables
  WindowControl control = WindowControl::Text;
  std::string prompt;                // whole, its blanks at either end dropped
  std::vector<std::string> entries;  // the list, or the buttons' captions
  std::string text;                  // the text it starts with
  std::int32_t chosen = -1;          // 0-based entry it starts with, -1 for none
  std::size_t maxBytes = 0;          // what its text may hold, in bytes
  std::int32_t firstButton = 0;      // Buttons: the form's number of its first button
};

struct PlannedRow {
  bool isTextLine = false;
  std::string textLine;  // a text line, when isTextLine
  PlannedField field;    // otherwise
};

struct FormPlan {
  std::string caption;
  std::vector<PlannedRow> rows;
};

// Plans the form whose shared part `state` holds, as FormFrontEnd::Show
// receives it, and readies the tables that navigation and read-back use.
// The control handles are left null: the window puts its own in
// (AttachControl), then chooses the first position.
FormPlan PlanForm(FormState& state);

// Where the window's controls go, so that navigation and read-back name
// them: field `field`'s control, group button `button` (the form's
// numbering), O.K. and CANCEL.
enum class ControlSlot : std::uint8_t { Field, GroupButton, Ok, Cancel };
void AttachControl(FormState& state, ControlSlot slot, std::int32_t number, ControlHandle control);

// A field's text as typed into the window, in the form's code page: the
// UTF-8 `shown` text, or, while it is still the `planned` text the field
// started with, the field's own bytes (shownTexts) that it stands for, so
// that an untouched field hands back the caller's value exactly.
std::string FieldTextFromWindow(const FormState& state, std::int32_t field, const std::string& planned,
                                const std::string& shown);

}  // namespace formreel
