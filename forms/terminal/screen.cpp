#include "forms/terminal/screen.h"

#include <algorithm>
#include <string_view>

#include "forms/core/field_kinds.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

// The layout's columns: a prompt, then its field; a row of buttons across
// both; O.K. below the prompts and CANCEL below the fields.
constexpr int LeftColumn = 1;
constexpr int FieldColumn = LeftColumn + PromptWidth;
constexpr int ViewColumns = FieldColumn + FieldColumns + 1;
constexpr int RowColumns = 2 * PromptWidth;  // a text line, a row of buttons
constexpr int OkColumn = LeftColumn;
constexpr int CancelColumn = FieldColumn + 1;
constexpr int ButtonColumns = PromptWidth - 1;

// The layout's rows: the caption, a row for the sign of more above, the
// form's lines, a row for the sign of more below, then these.
constexpr int FirstLineRow = 2;
constexpr int StatusRows = 2;
constexpr int KeyHelpRows = 2;
constexpr int RowsBelowLines = 2 + StatusRows + 1 + KeyHelpRows;  // sign, buttons, status, message, key help
constexpr int RowsBesideLines = FirstLineRow + RowsBelowLines;

// The signs a terminal of the page can draw: the list's frame and the marks
// of more above and below.
struct Signs {
  std::string_view topLeft, topRight, bottomLeft, bottomRight, across, down, above, below;
};
constexpr Signs Utf8Signs{"┌", "┐", "└", "┘", "─", "│", "▲ more above", "▼ more below"};
constexpr Signs AsciiSigns{"+", "+", "+", "+", "-", "|", "^ more above", "v more below"};

int Columns(std::string_view text) { return static_cast<int>(TextColumns(Utf8Page, TextView(text))); }

// A field underlined, the focused one in reverse video; a selected text
// stands out of it in plain video.
void DrawField(Screen& screen, const CodePage& page, CellPosition at, const FormModel::Control& field, bool focused,
               bool selected) {
  const std::uint8_t attributes = focused ? Reverse : Underline;
  screen.Fill(at.row, at.column, FieldColumns, attributes);
  screen.Write(at.row, at.column, TextView(field.text), page, selected ? std::uint8_t{Underline} : attributes,
               FieldColumns);
}

// [ caption ], the caption centred between the brackets.
void DrawButton(Screen& screen, const CodePage& page, CellPosition at, int width, const std::string& caption,
                bool focused) {
  const std::uint8_t attributes = focused ? Reverse : 0;
  screen.Fill(at.row, at.column, width, attributes);
  if (width < 2) return;
  screen.Write(at.row, at.column, TextView("[", 1), page, attributes, 1);
  screen.Write(at.row, at.column + width - 1, TextView("]", 1), page, attributes, 1);
  const int inside = width - 2;
  const int shown = std::min(static_cast<int>(TextColumns(page, TextView(caption))), inside);
  screen.Write(at.row, at.column + 1 + (inside - shown) / 2, TextView(caption), page, attributes, inside);
}

// Button `m` of a row of `count`: where it starts and how wide it is.
int GroupButtonColumn(std::int32_t m, std::int32_t count) { return LeftColumn + (m - 1) * (RowColumns / count); }
int GroupButtonWidth(std::int32_t count) { return RowColumns / count - 1; }

// UTF-8 words that fill `rows` rows from `row` one after the other, each
// row from column `left`; a word wider than a row is cut.
void DrawWrapped(Screen& screen, int row, int rows, int left, std::string_view text) {
  const int last = row + rows - 1;
  int column = left;
  while (!text.empty() && row <= last) {
    const std::size_t blank = text.find(' ');
    const std::string_view word = text.substr(0, blank);
    if (column > left && column + 1 + Columns(word) > screen.Columns()) {
      ++row;
      column = left;
    } else if (column > left) {
      ++column;
    }
    if (row <= last) column += screen.Write(row, column, TextView(word), Utf8Page, 0, screen.Columns());
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

std::span<const Cell> Screen::Row(int row) const {
  if (row < 0 || row >= rows_) FatalRunTimeError("screen row outside the screen");
  const auto columns = static_cast<std::size_t>(columns_);
  return std::span<const Cell>(cells_).subspan(static_cast<std::size_t>(row) * columns, columns);
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

CellPosition FormView::LeastSize() const {
  return {RowsBesideLines + std::min(LineCount(), 1), ViewColumns};
}

Screen FormView::Compose(int rows, int columns) {
  Screen screen(rows, columns);
  if (!Fits(rows, columns)) {
    const CellPosition least = LeastSize();
    DrawWrapped(screen, 0, rows, 0,
                "This form needs " + std::to_string(least.column) + " columns and " + std::to_string(least.row) +
                    " rows; the terminal has " + std::to_string(columns) + " columns and " + std::to_string(rows) +
                    " rows. Make it larger, or press ESCAPE to cancel.");
    return screen;
  }
  const CodePage& page = state_.codePage;
  const Signs& signs = page.kind == CodePage::Kind::Utf8 ? Utf8Signs : AsciiSigns;
  const std::int32_t lines = LineCount();
  const int shown = std::min(lines, rows - RowsBesideLines);
  shown_ = shown;
  top_ = std::clamp(top_, 1, lines - shown + 1);
  if (const std::int32_t focus = form_.FocusLine(); focus > 0) {
    if (focus < top_) {
      top_ = focus;
      while (top_ > 1 && form_.FieldOnLine(top_ - 1) == 0 && focus - top_ + 1 < shown) --top_;
    } else if (focus >= top_ + shown) {
      top_ = focus - shown + 1;
    }
  }

  screen.Fill(0, 0, ViewColumns, Bold | Underline);
  screen.Write(0, LeftColumn, TextView(model_.Caption()), page, Bold | Underline, ViewColumns - 2 * LeftColumn);
  if (top_ > 1) screen.Write(FirstLineRow - 1, LeftColumn, TextView(signs.above), Utf8Page, 0, RowColumns);
  for (int k = 0; k < shown; ++k) DrawLine(screen, FirstLineRow + k, top_ + k);
  const int belowRow = FirstLineRow + shown;
  if (top_ + shown <= lines) screen.Write(belowRow, LeftColumn, TextView(signs.below), Utf8Page, 0, RowColumns);
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  for (const int slot : {OkButtonSlot, CancelButtonSlot}) {
    const ControlHandle button = state_.controls[slot];
    DrawButton(screen, page, {belowRow + 1, slot == OkButtonSlot ? OkColumn : CancelColumn}, ButtonColumns,
               FormModel::Of(button).text, button == focus);
  }
  DrawWrapped(screen, belowRow + 2, StatusRows, LeftColumn, form_.Status());
  screen.Write(belowRow + 2 + StatusRows, LeftColumn, TextView(form_.Message()), Utf8Page, Bold, columns);
  const int help = belowRow + 3 + StatusRows;
  screen.Write(help, LeftColumn, TextView(TerminalKeyHelp.first), Utf8Page, 0, RowColumns);
  screen.Write(help + 1, LeftColumn, TextView(TerminalKeyHelp.second), Utf8Page, 0, RowColumns);

  int width = 0;
  const CellPosition place = FocusPlace(width);
  const FormModel::Control& control = form_.Focus();
  switch (control.kind) {
    case FormModel::Kind::EditableList: {
      const std::string_view before = std::string_view(control.text).substr(0, form_.Cursor());
      screen.cursor = CellPosition{
          place.row, place.column + std::min(static_cast<int>(TextColumns(page, TextView(before))), width)};
      break;
    }
    case FormModel::Kind::ListOnly: screen.cursor = place; break;
    case FormModel::Kind::Button: screen.cursor = CellPosition{place.row, place.column + 1}; break;
  }
  if (form_.ListShown()) DrawList(screen, place);
  return screen;
}

// A text line's first 60 columns; a prompt's 30 and its field; a row of
// buttons.
void FormView::DrawLine(Screen& screen, int row, std::int32_t line) const {
  const CodePage& page = state_.codePage;
  const std::int32_t field = form_.FieldOnLine(line);
  const std::string& text = model_.Lines()[static_cast<std::size_t>(line - 1)].text;
  if (field == 0) {  // centred by the columns it fills, as the window centres it
    const TextExtent shown = WholePrefix(page, TextView(text), NoLimit, LineWidth);
    const int padding = static_cast<int>(LineWidth - shown.columns) / 2;
    screen.Write(row, LeftColumn + padding, TextView(text).first(shown.bytes), page, 0, RowColumns - padding);
    return;
  }
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  if (KindOf(state_.fieldTypes[field]).control == ControlKind::ButtonRow) {
    const std::int32_t count = state_.groupSize[field];
    for (std::int32_t m = 1; m <= count; ++m) {
      const ControlHandle button = state_.buttons[state_.groupStart[field] + m];
      DrawButton(screen, page, {row, GroupButtonColumn(m, count)}, GroupButtonWidth(count),
                 FormModel::Of(button).text, button == focus);
    }
    return;
  }
  screen.Write(row, LeftColumn, TextView(form_.Prompt(field)), page, 0, PromptWidth);
  const ControlHandle control = state_.controls[field];
  DrawField(screen, page, {row, FieldColumn}, FormModel::Of(control), control == focus,
            control == focus && form_.Selected());
}

CellPosition FormView::FocusPlace(int& width) const {
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  const std::int32_t line = form_.FocusLine();
  if (line == 0) {  // O.K. or CANCEL, below the lines shown and the sign row
    width = ButtonColumns;
    return {FirstLineRow + shown_ + 1, focus == state_.controls[OkButtonSlot] ? OkColumn : CancelColumn};
  }
  const int row = FirstLineRow + line - top_;
  const std::int32_t field = state_.currentField;
  if (KindOf(state_.fieldTypes[field]).control != ControlKind::ButtonRow) {
    width = FieldColumns;
    return {row, FieldColumn};
  }
  const std::int32_t count = state_.groupSize[field];
  width = GroupButtonWidth(count);
  for (std::int32_t m = 1; m <= count; ++m)
    if (state_.buttons[state_.groupStart[field] + m] == focus) return {row, GroupButtonColumn(m, count)};
  return {row, LeftColumn};
}

// The focused field's entries in a frame of their own below it, or above it
// where there is more room, as many as fit, the chosen one in view and in
// reverse video.
void FormView::DrawList(Screen& screen, CellPosition field) const {
  const FormModel::Control& control = form_.Focus();
  const Signs& signs = state_.codePage.kind == CodePage::Kind::Utf8 ? Utf8Signs : AsciiSigns;
  const auto count = static_cast<int>(control.entries.size());
  const int below = screen.Rows() - field.row - 1;
  const int above = field.row;
  const bool down = below >= count + 2 || below >= above;
  const int height = std::min(count + 2, down ? below : above);
  if (height < 3) return;
  const int top = down ? field.row + 1 : field.row - height;
  const int inside = height - 2;
  const int left = field.column - 1;
  const int right = field.column + FieldColumns;
  const auto edge = [&](int row, std::string_view first, std::string_view last) {
    screen.Write(row, left, TextView(first), Utf8Page, 0, 1);
    for (int c = field.column; c < right; ++c) screen.Write(row, c, TextView(signs.across), Utf8Page, 0, 1);
    screen.Write(row, right, TextView(last), Utf8Page, 0, 1);
  };
  edge(top, signs.topLeft, signs.topRight);
  edge(top + height - 1, signs.bottomLeft, signs.bottomRight);
  const int first = std::clamp(control.chosen - inside + 1, 0, std::max(0, count - inside));
  for (int k = 0; k < inside; ++k) {
    const int row = top + 1 + k;
    const int entry = first + k;
    const std::uint8_t attributes = entry == control.chosen ? Reverse : 0;
    screen.Write(row, left, TextView(signs.down), Utf8Page, 0, 1);
    screen.Fill(row, field.column, FieldColumns, attributes);
    if (entry < count)
      screen.Write(row, field.column, TextView(control.entries[static_cast<std::size_t>(entry)]), state_.codePage,
                   attributes, FieldColumns);
    screen.Write(row, right, TextView(signs.down), Utf8Page, 0, 1);
  }
}

}  // namespace formreel
