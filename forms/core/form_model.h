// The form held in memory, for the front ends that lay it out and draw it
// themselves (the terminal, the plain line mode, a desktop window) and for
// a form confirmed without being shown. Construction makes its controls
// through FormControlFactory and read-back reads them through
// FieldControls, as it does the window's real controls. A control here is
// what a person works, not how a window draws it: an editable list holds a
// text and a chosen entry (choosing an entry shows its text, editing the
// text forgets the choice); a list only holds only its entries; a hidden
// text a text; a button its caption; a box its caption and whether it is
// checked.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "forms/core/construction.h"
#include "forms/core/read_back.h"

namespace formreel {

class FormModel final : public FormControlFactory, public FieldControls {
 public:
  enum class Kind : std::uint8_t {
    EditableList,  // C, X, D, I, L, R: a text, and a list to choose from
    ListOnly,      // S: only an entry of its list
    HiddenText,    // P: a text never shown
    Button,        // O.K., CANCEL and the buttons of a B row
    CheckBox,      // the boxes of an M field
  };
  struct Control {
    Kind kind = Kind::Button;
    std::int32_t field = 0;            // its field; 0 for O.K. and CANCEL
    std::int32_t index = 0;            // a button's or box's place in its row, from 1
    std::string text;                  // a field's text, a button's or box's caption
    std::vector<std::string> entries;  // a list's entries, in order
    std::int32_t chosen = -1;          // 0-based entry, -1 for none
    bool checked = false;              // a box
  };
  // A line of the form, in order: a text line (field 0) or a field's.
  struct Line {
    std::int32_t field = 0;
    std::string text;  // a text line's text, a field's prompt, as written
  };

  // Reads fields through `state`'s controls, which construction fills.
  explicit FormModel(const FormState& state) : state_(state) {}
  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  // The control behind a handle this model made.
  static Control& Of(ControlHandle handle) { return *handle.As<Control>(); }
  // The form's caption: its heading, or FormWindowTitle.
  const std::string& Caption() const { return caption_; }
  // The form's lines, in order.
  const std::vector<Line>& Lines() const { return lines_; }
  // The line (1 to the number of lines) that field `field` stands on; 0
  // for none.
  std::int32_t LineOf(std::int32_t field) const;
  // Field `field`'s prompt as written; empty for none.
  std::string_view PromptOf(std::int32_t field) const;
  // A prompt as a form shows it: its first 30 columns in `page`, without
  // the blanks after them.
  static std::string_view ShownPrompt(const CodePage& page, std::string_view prompt);

  // Chooses entry `index` (0-based; -1 for none) of a list; an editable
  // one then shows the entry's text. An index beyond the list chooses
  // none, as a combo box does.
  static void Choose(Control& control, std::int32_t index);
  // Replaces a field's text, as typing does: an editable list forgets its
  // chosen entry. A list only takes no typed text.
  static void Edit(Control& control, std::string_view text);

  // FormControlFactory
  void TextLine(std::int32_t line, TextView text) override;
  ControlHandle CreateField(std::int32_t field, std::int32_t line, const FieldKind& kind, TextView prompt) override;
  ControlHandle CreatePosition(std::int32_t field, std::int32_t line, const FieldKind& kind, std::int32_t index,
                               std::int32_t count, std::int32_t number, const char* caption,
                               TextView prompt) override;
  ControlHandle CreateFormButton(FormButton button, const char* caption) override;
  void SetText(ControlHandle control, const char* text) override;
  void ReadText(ControlHandle control, const FieldKind& kind, FieldText& text) override;
  void AddListEntry(ControlHandle field, const char* text) override;
  void SelectListEntry(ControlHandle field, std::int32_t index) override;
  void ListComplete(ControlHandle, bool) override {}
  void SetChecked(ControlHandle box, bool checked) override { Of(box).checked = checked; }
  void SetCaption(const char* text) override { caption_ = text; }

  // FieldControls
  std::int32_t ChosenEntry(std::int32_t field) override;
  std::int32_t ReadText(std::int32_t field, FieldText& text) override;
  std::uint8_t CheckedBoxes(std::int32_t field) override;

 private:
  ControlHandle Add(Control control);

  const FormState& state_;
  std::deque<Control> controls_;  // a deque: handles are addresses and must stay put
  std::vector<Line> lines_;
  std::string caption_ = FormWindowTitle;
};

}  // namespace formreel
