// What a terminal shows of a form, cell by cell: the caption as a title,
// then the window's client area in cells (the layout with one-cell
// metrics): the lines, their marks and the controls where the window has
// them, the focus in reverse video, the terminal's own key help, the whole
// list of the focused field when it is shown, and the cursor in the focused
// control. Every text goes through the visible-text rules, so nothing of a
// descriptor or a typed value can drive the terminal. Platform-free; the
// terminal front end draws the cells it gets.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/core/form_model.h"
#include "forms/core/painting.h"
#include "forms/terminal/terminal_form.h"

namespace formreel {

// What the terminal's keys are: ENTER and TAB, SHIFT-TAB (or CTRL-BACKSPACE),
// CTRL-ENTER where the terminal reports it and CTRL-J everywhere, ESCAPE,
// SPACE on a button, F4 for a list.
inline constexpr KeyHelp TerminalKeyHelp{"ENTER or TAB=down   SHIFT-TAB=up   ESCAPE = Cancel   F4=list",
                                         "SPACE BAR presses button   CTRL-ENTER or CTRL-J=confirms form"};

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

// The cells a form needs: the window's outer size, its caption's row
// included.
CellPosition FormScreenSize(const FormModel& model);

// The screen of `rows` x `columns` cells showing `form`, or, when it is
// smaller than FormScreenSize, a message that says how large it must be.
Screen ComposeScreen(const FormState& state, const FormModel& model, const TerminalForm& form, int rows,
                     int columns);

}  // namespace formreel
