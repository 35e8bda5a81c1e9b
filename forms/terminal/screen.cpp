#include "forms/terminal/screen.h"

#include <algorithm>
#include <string_view>

#include "text/visible_text.h"

namespace formreel {

namespace {

// The client area starts below the caption's row.
constexpr int CaptionRows = 1;
constexpr int CaptionColumn = 1;

int Columns(const CodePage& page, std::string_view text) {
  return static_cast<int>(TextColumns(page, TextView(text.data(), text.size())));
}

// A field's extent underlined, the focused one in reverse video; a selected
// text stands out of it in plain video.
void DrawField(Screen& screen, const CodePage& page, const FormModel::Control& field, bool focused, bool selected) {
  const int row = CaptionRows + field.box.y;
  const std::uint8_t attributes = focused ? Reverse : Underline;
  screen.Fill(row, field.box.x, field.box.width, attributes);
  screen.Write(row, field.box.x, TextView(field.text.data(), field.text.size()), page,
               selected ? std::uint8_t{Underline} : attributes, field.box.width);
}

// [ caption ], the caption centred between the brackets.
void DrawButton(Screen& screen, const CodePage& page, const FormModel::Control& button, bool focused) {
  const int row = CaptionRows + button.box.y;
  const int width = button.box.width;
  const std::uint8_t attributes = focused ? Reverse : 0;
  screen.Fill(row, button.box.x, width, attributes);
  if (width < 2) return;
  screen.Write(row, button.box.x, TextView("[", 1), page, attributes, 1);
  screen.Write(row, button.box.x + width - 1, TextView("]", 1), page, attributes, 1);
  const int inside = width - 2;
  const int shown = std::min(Columns(page, button.text), inside);
  screen.Write(row, button.box.x + 1 + (inside - shown) / 2, TextView(button.text.data(), button.text.size()), page,
               attributes, inside);
}

// The focused field's entries below it, as many as the screen has rows for,
// the chosen one in view and in reverse video.
void DrawList(Screen& screen, const CodePage& page, const FormModel::Control& field) {
  const int top = CaptionRows + field.box.y + 1;
  const int rows = std::max(0, screen.Rows() - top);
  const auto count = static_cast<int>(field.entries.size());
  const int first = std::clamp(field.chosen - rows + 1, 0, std::max(0, count - rows));
  for (int k = 0; k < rows && first + k < count; ++k) {
    const std::string& entry = field.entries[static_cast<std::size_t>(first + k)];
    const std::uint8_t attributes = first + k == field.chosen ? Reverse : Bold;
    screen.Fill(top + k, field.box.x, field.box.width, attributes);
    screen.Write(top + k, field.box.x, TextView(entry.data(), entry.size()), page, attributes, field.box.width);
  }
}

void DrawCursor(Screen& screen, const CodePage& page, const FormModel::Control& focus, std::size_t cursor) {
  const int row = CaptionRows + focus.box.y;
  switch (focus.kind) {
    case FormModel::Kind::EditableList: {
      const int before = Columns(page, std::string_view(focus.text).substr(0, cursor));
      screen.cursor = CellPosition{row, focus.box.x + std::min(before, focus.box.width)};
      break;
    }
    case FormModel::Kind::ListOnly: screen.cursor = CellPosition{row, focus.box.x}; break;
    case FormModel::Kind::Button: screen.cursor = CellPosition{row, focus.box.x + 1}; break;
  }
}

// Words that fill the rows one after the other.
void DrawWrapped(Screen& screen, std::string_view text) {
  int row = 0;
  int column = 0;
  while (!text.empty() && row < screen.Rows()) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    const auto length = static_cast<int>(word.size());
    if (column > 0 && column + 1 + length > screen.Columns()) {
      ++row;
      column = 0;
    } else if (column > 0) {
      ++column;
    }
    if (row < screen.Rows())
      column += screen.Write(row, column, TextView(word.data(), word.size()), SingleBytePage, 0, screen.Columns());
    text = blank == std::string_view::npos ? std::string_view() : text.substr(blank + 1);
  }
}

}  // namespace

Screen::Screen(int rows, int columns)
    : rows_(std::max(rows, 0)), columns_(std::max(columns, 0)),
      cells_(static_cast<std::size_t>(rows_) * static_cast<std::size_t>(columns_)) {}

std::size_t Screen::Offset(int row, int column) const {
  if (!Inside(row, column)) FatalRunTimeError("screen cell outside the screen");
  return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
}

int Screen::Write(int row, int column, TextView text, const CodePage& page, std::uint8_t attributes, int width) {
  if (row < 0 || row >= rows_ || column < 0) return 0;
  const int end = std::min(columns_, column + std::max(width, 0));
  int at = column;
  while (!text.empty()) {
    const VisibleCharacter c = FirstVisible(page, text);
    const auto columns = static_cast<int>(c.columns);
    if (at + columns > end) break;
    cells_[Offset(row, at)] = {c.code, attributes};
    if (columns == 2) cells_[Offset(row, at + 1)] = {0, attributes};
    at += columns;
    text = text.subspan(c.bytes);
  }
  return at - column;
}

void Screen::Fill(int row, int column, int width, std::uint8_t attributes) {
  for (int c = std::max(column, 0); c < std::min(columns_, column + width); ++c)
    if (Inside(row, c)) cells_[Offset(row, c)] = {U' ', attributes};
}

std::string Screen::RowText(int row) const {
  std::string text;
  for (int c = 0; c < columns_; ++c)
    if (At(row, c).code != 0) text += Utf8Of(At(row, c).code);
  return text;
}

CellPosition FormScreenSize(const FormModel& model) { return {model.Height(), model.Width()}; }

Screen ComposeScreen(const FormState& state, const FormModel& model, const TerminalForm& form, int rows,
                     int columns) {
  Screen screen(rows, columns);
  const CellPosition needed = FormScreenSize(model);
  if (rows < needed.row || columns < needed.column) {
    DrawWrapped(screen, "This form needs " + std::to_string(needed.column) + " columns and " +
                            std::to_string(needed.row) + " rows; the terminal has " + std::to_string(columns) +
                            " columns and " + std::to_string(rows) +
                            " rows. Make it larger, or press ESCAPE to cancel.");
    return screen;
  }
  const CodePage& page = state.codePage;
  screen.Fill(0, 0, needed.column, Bold | Underline);
  screen.Write(0, CaptionColumn, TextView(model.Caption().data(), model.Caption().size()), page, Bold | Underline,
               needed.column - 2 * CaptionColumn);

  // Painted as the window paints, transparently: a blank mark leaves the
  // text line under it as it is.
  const FormPaint paint = PaintFormText(state, TerminalKeyHelp);
  for (const PaintedText& piece : paint.Texts()) {
    if (piece.text.size() == 1 && piece.text[0] == Blank) continue;
    screen.Write(CaptionRows + piece.origin.y, piece.origin.x, piece.text, page, 0, needed.column);
  }

  const FormModel::Control& focus = form.Focus();
  const auto draw = [&](ControlHandle handle) {
    if (!handle) return;
    const FormModel::Control& control = FormModel::Of(handle);
    if (control.kind == FormModel::Kind::Button)
      DrawButton(screen, page, control, &control == &focus);
    else
      DrawField(screen, page, control, &control == &focus, &control == &focus && form.Selected());
  };
  for (std::int32_t i = 1; i <= state.fieldCount; ++i) draw(state.controls[i]);
  for (std::int32_t j = 1; j <= state.buttonCount; ++j) draw(state.buttons[j]);
  draw(state.controls[OkButtonSlot]);
  draw(state.controls[CancelButtonSlot]);
  if (form.ListShown()) DrawList(screen, page, focus);
  DrawCursor(screen, page, focus, form.Cursor());
  return screen;
}

}  // namespace formreel
