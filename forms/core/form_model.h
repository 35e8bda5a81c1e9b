// The controls of a form held in memory, for the front ends that show the
// form themselves (the terminal, the plain line mode) and for a form that
// is confirmed without being shown. Construction makes them through
// FormControlFactory and read-back reads them through FieldControls, as it
// does the window's real controls, and they behave as those do: an editable
// combo box holds a text and a chosen entry, choosing an entry shows its
// text and editing the text forgets the choice; a drop-down list holds only
// its entries; a button holds its caption.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "forms/core/construction.h"
#include "forms/core/read_back.h"

namespace formreel {

// A front end that draws in character cells lays the form out in cells:
// every position and size of the layout is then a column or a row.
inline constexpr std::int32_t CellWidth = 1;
inline constexpr std::int32_t CellHeight = 1;

class FormModel final : public FormControlFactory, public FieldControls {
 public:
  enum class Kind : std::uint8_t {
    EditableList,  // C, D, I, L, R: a text, and a list to choose from
    ListOnly,      // S: only an entry of its list
    Button,        // O.K., CANCEL and the buttons of a group
  };
  struct Control {
    Kind kind = Kind::Button;
    std::uint32_t id = 0;
    Box box;                           // where construction put it
    std::string text;                  // a field's text, a button's caption
    std::vector<std::string> entries;  // a combo box's list, in order
    std::int32_t chosen = -1;          // 0-based entry, -1 for none
  };

  // Reads fields through `state`'s controls, which construction fills.
  explicit FormModel(const FormState& state) : state_(state) {}
  FormModel(const FormModel&) = delete;
  FormModel& operator=(const FormModel&) = delete;

  // The control behind a handle this model made.
  static Control& Of(ControlHandle handle) { return *handle.As<Control>(); }
  // The form's caption: its heading, or FormWindowTitle.
  const std::string& Caption() const { return caption_; }
  // The size construction gave the form, in cells.
  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }

  // Chooses entry `index` (0-based; -1 for none) of a combo box; an
  // editable one then shows the entry's text. An index beyond the list
  // chooses none, as CB_SETCURSEL does.
  static void Choose(Control& control, std::int32_t index);
  // Replaces an editable combo box's text, as typing does: the chosen entry
  // is forgotten. A drop-down list takes no typed text.
  static void Edit(Control& control, std::string_view text);

  // FormControlFactory
  void PlaceFormWindow(std::int32_t width, std::int32_t height) override;
  ControlHandle CreateComboBox(std::uint32_t style, Box box, std::uint32_t id) override;
  ControlHandle CreateButton(const char* caption, Box box, std::uint32_t id) override;
  void SetText(ControlHandle control, const char* text) override;
  void ReadText(ControlHandle control, FixedText<ScratchWidth>& text) override;
  void AddListEntry(ControlHandle comboBox, const char* text) override;
  void SelectListEntry(ControlHandle comboBox, std::int32_t index) override;
  void SetItemHeight(ControlHandle, std::int32_t, std::int32_t) override {}  // a row is a row
  void SetCaption(const char* text) override { caption_ = text; }

  // FieldControls
  std::int32_t ChosenEntry(std::int32_t field) override;
  std::int32_t ReadText(std::int32_t field, Record& scratch) override;

 private:
  ControlHandle Add(Control control);

  const FormState& state_;
  std::deque<Control> controls_;  // a deque: handles are addresses and must stay put
  std::string caption_ = FormWindowTitle;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace formreel
