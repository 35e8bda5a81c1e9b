// What a terminal shows of a form, cell by cell, in a layout of the
// terminal's own: the caption as a title, then a row per line of the form
// (a text line, a prompt and its field, a row of buttons; a prompt and its
// check boxes, on as many rows as they need), O.K. and CANCEL, a status
// row of what the focused position takes, a message row and the key help.
// A form taller than the terminal scrolls, its focused line always in
// view, and a row above and below says that there is more. A text longer
// than its field scrolls sideways, the cursor always in view, a sign at
// either end saying that there is more; a hidden text shows a mask
// character for each of its characters and nothing else of it. The focus
// is in reverse video, the cursor in the focused control, and the focused
// field's whole list is framed over what lies below it. Every text goes
// through the visible-text rules, so nothing of a descriptor or a typed
// value can drive the terminal. Platform-free; the terminal front end draws
// the cells it gets.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "forms/core/form_model.h"
#include "forms/terminal/terminal_form.h"

namespace formreel {

enum CellAttribute : std::uint8_t { Bold = 1, Underline = 2, Reverse = 4 };

struct Cell {
  char32_t code = U' ';  // 0: the second column of a wide character
  std::uint8_t attributes = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};

struct CellPosition {
  int row = 0;
  int column = 0;
  friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

class Screen {
 public:
  Screen(int rows, int columns);
  int Rows() const { return rows_; }
  int Columns() const { return columns_; }
  const Cell& At(int row, int column) const { return cells_[Offset(row, column)]; }
  // The cells of one row, left to right.
  std::span<const Cell> Row(int row) const;

  // Writes `text` as it is shown in `page` from (row, column), at most
  // `width` columns and never beyond the screen: a character that does not
  // fit whole is left out. Returns the columns written.
  int Write(int row, int column, TextView text, const CodePage& page, std::uint8_t attributes, int width);
  // Blanks `width` cells from (row, column) with `attributes`.
  void Fill(int row, int column, int width, std::uint8_t attributes);
  // One row in UTF-8, the second columns of wide characters left out.
  std::string RowText(int row) const;

  std::optional<CellPosition> cursor;  // hidden when empty

 private:
  std::size_t Offset(int row, int column) const;
  bool Inside(int row, int column) const { return row >= 0 && row < rows_ && column >= 0 && column < columns_; }

  int rows_;
  int columns_;
  std::vector<Cell> cells_;
};

// A form on a terminal of any size: the screen it shows, scrolled to the
// focus.
class FormView {
 public:
  // The form that `form` works, made by BuildForm from `state` into `model`.
  FormView(const FormState& state, const FormModel& model, const TerminalForm& form)
      : state_(state), model_(model), form_(form) {}

  // The least terminal that shows the form: its width, and the rows of its
  // tallest line with the buttons, the status, the message and the key help.
  CellPosition LeastSize() const;
  bool Fits(int rows, int columns) const {
    return rows >= LeastSize().row && columns >= LeastSize().column;
  }

  // The screen of `rows` x `columns` cells showing the form, scrolled as
  // little as keeps the focused line in view since the last screen (and the
  // text lines just above it as far as they fit, when it scrolls up), the
  // focused field's text scrolled sideways as little as keeps the cursor in
  // view; or, when the form does not fit, a message that says how large it
  // must be.
  Screen Compose(int rows, int columns);

 private:
  std::int32_t LineCount() const { return static_cast<std::int32_t>(model_.Lines().size()); }
  // Whether a field's text scrolls sideways (X, P).
  bool Scrolls(const FormModel::Control& field) const;
  // The rows line `line` takes: one, or as many as its boxes need.
  int LineRows(std::int32_t line) const;
  int RowsOfLines(std::int32_t first, std::int32_t last) const;
  void DrawLine(Screen& screen, int row, std::int32_t line) const;
  void DrawBoxes(Screen& screen, int row, std::int32_t field) const;
  void DrawList(Screen& screen, CellPosition field) const;
  // Where the focused control starts on the screen, and its width.
  CellPosition FocusPlace(int& width) const;

  const FormState& state_;
  const FormModel& model_;
  const TerminalForm& form_;
  std::int32_t top_ = 1;  // the first line shown
  int shown_ = 0;         // and the rows the lines shown take
  // The focused field's text is shown from this byte (of its mask, for a
  // hidden text): kept from screen to screen while the focus stays.
  const FormModel::Control* sidewaysOf_ = nullptr;
  std::size_t sideways_ = 0;
};

}  // namespace formreel
