#include "forms/terminal/screen.h"

#include <algorithm>
#include <string_view>

#include "forms/core/field_kinds.h"
#include "forms/core/navigation.h"
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

// The signs a terminal of the page can draw: the list's frame, the marks
// of more above and below, of more text left and right in a field (which
// a screen reader leaves out at its usual punctuation level, so that a
// scrolled text is heard as it stands), and the mask of a hidden text's
// characters.
struct Signs {
  std::string_view topLeft, topRight, bottomLeft, bottomRight, across, down, above, below, left, right, mask;
};
constexpr Signs Utf8Signs{"┌", "┐", "└", "┘", "─", "│", "▲ more above", "▼ more below", "<", ">", "•"};
constexpr Signs AsciiSigns{"+", "+", "+", "+", "-", "|", "^ more above", "v more below", "<", ">", "*"};

const Signs& SignsOf(const CodePage& page) { return page.kind == CodePage::Kind::Utf8 ? Utf8Signs : AsciiSigns; }

int Columns(std::string_view text) { return static_cast<int>(TextColumns(Utf8Page, TextView(text))); }

// A field's text as its cells show it: a hidden text as one mask character
// for each of its characters, the cursor among them where it stands among
// the characters. Only a text that may be longer than the field (X, P)
// scrolls sideways; any other shows its first 30 columns.
struct FieldCells {
  std::string text;
  const CodePage* page = nullptr;
  std::size_t cursor = 0;  // in bytes of `text`
  bool scrolls = false;

  std::size_t ColumnsOf(std::size_t from, std::size_t to) const {
    return TextColumns(*page, TextView(text).subspan(from, to - from));
  }
  // Whether the text shown from byte `start` leaves more unshown on the
  // right, where a sign then takes the field's last column.
  bool MoreRight(std::size_t start) const {
    return scrolls && (start > 0 ? 1u : 0u) + ColumnsOf(start, text.size()) > static_cast<std::size_t>(FieldColumns);
  }
};

FieldCells CellsOf(const FormModel::Control& field, const CodePage& page, std::size_t cursor, bool scrolls) {
  if (field.kind != FormModel::Kind::HiddenText) return {field.text, &page, cursor, scrolls};
  FieldCells cells{{}, &Utf8Page, 0, scrolls};
  const std::string_view mask = SignsOf(page).mask;
  for (std::size_t at = 0; at < field.text.size(); at += FirstCharacter(page, TextView(field.text).subspan(at)).bytes) {
    if (at < cursor) cells.cursor += mask.size();
    cells.text += mask;
  }
  return cells;
}

// Whether the cursor's cell (its character, or a blank at the end) is in
// view when the field shows its text from byte `start`.
bool CursorShown(const FieldCells& cells, std::size_t start) {
  if (cells.cursor < start) return false;
  const std::size_t under =
      cells.cursor < cells.text.size()
          ? FirstCharacter(*cells.page, TextView(cells.text).subspan(cells.cursor)).columns
          : 1;
  const std::size_t end = static_cast<std::size_t>(FieldColumns) - (cells.MoreRight(start) ? 1 : 0);
  return (start > 0 ? 1 : 0) + cells.ColumnsOf(start, cells.cursor) + under <= end;
}

// The byte a field shows its text from: `from`, where it showed it from
// last, moved as little as brings the cursor into view, then back as far as
// the rest of the text, and a cell after it, still fits.
std::size_t SidewaysStart(const FieldCells& cells, std::size_t from) {
  if (!cells.scrolls) return 0;
  std::vector<std::size_t> starts{0};  // where each character starts, and the end
  for (std::size_t at = 0; at < cells.text.size();)
    starts.push_back(at += FirstCharacter(*cells.page, TextView(cells.text).subspan(at)).bytes);
  auto k = static_cast<std::size_t>(std::upper_bound(starts.begin(), starts.end(), std::min(from, cells.cursor)) -
                                    starts.begin() - 1);
  while (starts[k] < cells.cursor && !CursorShown(cells, starts[k])) ++k;
  while (k > 0 && (k > 1 ? 1u : 0u) + cells.ColumnsOf(starts[k - 1], cells.text.size()) + 1 <=
                      static_cast<std::size_t>(FieldColumns))
    --k;
  return starts[k];
}

// A field underlined, the focused one in reverse video, showing its text
// from byte `start`, with the signs of more left and right; a selected text
// stands out of it in plain video.
void DrawField(Screen& screen, CellPosition at, const FieldCells& cells, std::size_t start, const Signs& signs,
               bool focused, bool selected) {
  const std::uint8_t attributes = focused ? Reverse : Underline;
  const int left = start > 0 ? 1 : 0;
  const int right = cells.MoreRight(start) ? 1 : 0;
  screen.Fill(at.row, at.column, FieldColumns, attributes);
  if (left != 0) screen.Write(at.row, at.column, TextView(signs.left), Utf8Page, attributes, 1);
  screen.Write(at.row, at.column + left, TextView(cells.text).subspan(start), *cells.page,
               selected ? std::uint8_t{Underline} : attributes, FieldColumns - left - right);
  if (right != 0) screen.Write(at.row, at.column + FieldColumns - 1, TextView(signs.right), Utf8Page, attributes, 1);
}

// An M field's boxes, "[x] FILM", two blanks apart in the columns beside
// its prompt, a box that does not fit after the others on the next row.
constexpr std::string_view CheckedMark = "[x] ";
constexpr std::string_view ClearMark = "[ ] ";
constexpr int BoxGap = 2;
constexpr int BoxesColumns = ViewColumns - FieldColumn;

struct BoxPlace {
  int row = 0;     // from the line's first row
  int column = 0;  // from the field column
  int width = 0;
};

std::vector<BoxPlace> BoxPlaces(const FormState& state, std::int32_t field) {
  std::vector<BoxPlace> places;
  int row = 0;
  int column = 0;
  for (std::int32_t m = 1; m <= state.groupSize[field]; ++m) {
    const std::string& caption = FormModel::Of(PositionControl(state, field, m)).text;
    const int width = std::min(Columns(CheckedMark) + static_cast<int>(TextColumns(state.codePage, TextView(caption))),
                               BoxesColumns);
    if (column > 0 && column + BoxGap + width > BoxesColumns) {
      ++row;
      column = 0;
    } else if (column > 0) {
      column += BoxGap;
    }
    places.push_back({row, column, width});
    column += width;
  }
  return places;
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

bool FormView::Scrolls(const FormModel::Control& field) const {
  return field.field > 0 && KindOf(state_.fieldTypes[field.field]).ScrollsSideways();
}

int FormView::LineRows(std::int32_t line) const {
  const std::int32_t field = form_.FieldOnLine(line);
  if (field == 0 || KindOf(state_.fieldTypes[field]).control != ControlKind::CheckBoxes) return 1;
  const std::vector<BoxPlace> places = BoxPlaces(state_, field);
  return places.empty() ? 1 : places.back().row + 1;
}

int FormView::RowsOfLines(std::int32_t first, std::int32_t last) const {
  int rows = 0;
  for (std::int32_t line = first; line <= last; ++line) rows += LineRows(line);
  return rows;
}

CellPosition FormView::LeastSize() const {
  int tallest = 0;
  for (std::int32_t line = 1; line <= LineCount(); ++line) tallest = std::max(tallest, LineRows(line));
  return {RowsBesideLines + tallest, ViewColumns};
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
  const Signs& signs = SignsOf(page);
  const std::int32_t lines = LineCount();
  const int room = rows - RowsBesideLines;
  top_ = std::clamp(top_, 1, std::max(lines, 1));
  while (top_ > 1 && RowsOfLines(top_ - 1, lines) <= room) --top_;
  if (const std::int32_t focus = form_.FocusLine(); focus > 0) {
    if (focus < top_) {
      top_ = focus;
      while (top_ > 1 && form_.FieldOnLine(top_ - 1) == 0 && RowsOfLines(top_ - 1, focus) <= room) --top_;
    } else {
      while (top_ < focus && RowsOfLines(top_, focus) > room) ++top_;
    }
  }
  std::int32_t last = top_ - 1;  // the last line shown
  while (last < lines && RowsOfLines(top_, last + 1) <= room) ++last;
  shown_ = RowsOfLines(top_, last);

  const FormModel::Control& control = form_.Focus();
  if (sidewaysOf_ != &control) sideways_ = 0;
  sidewaysOf_ = &control;
  const FieldCells focusCells = CellsOf(control, page, form_.Cursor(), Scrolls(control));
  sideways_ = SidewaysStart(focusCells, sideways_);

  screen.Fill(0, 0, ViewColumns, Bold | Underline);
  screen.Write(0, LeftColumn, TextView(model_.Caption()), page, Bold | Underline, ViewColumns - 2 * LeftColumn);
  if (top_ > 1) screen.Write(FirstLineRow - 1, LeftColumn, TextView(signs.above), Utf8Page, 0, RowColumns);
  for (std::int32_t line = top_, row = FirstLineRow; line <= last; row += LineRows(line++))
    DrawLine(screen, row, line);
  const int belowRow = FirstLineRow + shown_;
  if (last < lines) screen.Write(belowRow, LeftColumn, TextView(signs.below), Utf8Page, 0, RowColumns);
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
  switch (control.kind) {
    case FormModel::Kind::EditableList:
    case FormModel::Kind::HiddenText: {
      // In view in a field that scrolls; just after a full one that does not.
      const auto column = (sideways_ > 0 ? 1u : 0u) + focusCells.ColumnsOf(sideways_, focusCells.cursor);
      screen.cursor = CellPosition{place.row, place.column + std::min(static_cast<int>(column), width)};
      break;
    }
    case FormModel::Kind::ListOnly: screen.cursor = place; break;
    case FormModel::Kind::Button:
    case FormModel::Kind::CheckBox: screen.cursor = CellPosition{place.row, place.column + 1}; break;
  }
  if (form_.ListShown()) DrawList(screen, place);
  return screen;
}

// A text line's first 60 columns; a prompt's 30 and its field, or its
// boxes; a row of buttons.
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
  const ControlKind kind = KindOf(state_.fieldTypes[field]).control;
  if (kind == ControlKind::ButtonRow) {
    const std::int32_t count = state_.groupSize[field];
    for (std::int32_t m = 1; m <= count; ++m) {
      const ControlHandle button = state_.buttons[state_.groupStart[field] + m];
      DrawButton(screen, page, {row, GroupButtonColumn(m, count)}, GroupButtonWidth(count),
                 FormModel::Of(button).text, button == focus);
    }
    return;
  }
  screen.Write(row, LeftColumn, TextView(form_.Prompt(field)), page, 0, PromptWidth);
  if (kind == ControlKind::CheckBoxes) return DrawBoxes(screen, row, field);
  const ControlHandle control = state_.controls[field];
  const FormModel::Control& shown = FormModel::Of(control);
  const bool focused = control == focus;
  DrawField(screen, {row, FieldColumn}, CellsOf(shown, page, focused ? form_.Cursor() : 0, Scrolls(shown)),
            focused ? sideways_ : 0, SignsOf(page), focused, focused && form_.Selected());
}

// Each box "[x] FILM", the focused one in reverse video.
void FormView::DrawBoxes(Screen& screen, int row, std::int32_t field) const {
  const std::vector<BoxPlace> places = BoxPlaces(state_, field);
  for (std::int32_t m = 1; m <= static_cast<std::int32_t>(places.size()); ++m) {
    const BoxPlace& place = places[static_cast<std::size_t>(m - 1)];
    const ControlHandle handle = PositionControl(state_, field, m);
    const FormModel::Control& box = FormModel::Of(handle);
    const std::uint8_t attributes = handle == state_.controls[FocusTargetSlot] ? Reverse : 0;
    const std::string_view mark = box.checked ? CheckedMark : ClearMark;
    const int at = FieldColumn + place.column;
    screen.Fill(row + place.row, at, place.width, attributes);
    const int written = screen.Write(row + place.row, at, TextView(mark), Utf8Page, attributes, place.width);
    screen.Write(row + place.row, at + written, TextView(box.text), state_.codePage, attributes,
                 place.width - written);
  }
}

CellPosition FormView::FocusPlace(int& width) const {
  const ControlHandle focus = state_.controls[FocusTargetSlot];
  const std::int32_t line = form_.FocusLine();
  if (line == 0) {  // O.K. or CANCEL, below the lines shown and the sign row
    width = ButtonColumns;
    return {FirstLineRow + shown_ + 1, focus == state_.controls[OkButtonSlot] ? OkColumn : CancelColumn};
  }
  const int row = FirstLineRow + RowsOfLines(top_, line - 1);
  const std::int32_t field = state_.currentField;
  const ControlKind kind = KindOf(state_.fieldTypes[field]).control;
  if (kind == ControlKind::CheckBoxes) {
    const std::vector<BoxPlace> places = BoxPlaces(state_, field);
    for (std::int32_t m = 1; m <= static_cast<std::int32_t>(places.size()); ++m) {
      const BoxPlace& place = places[static_cast<std::size_t>(m - 1)];
      width = place.width;
      if (PositionControl(state_, field, m) == focus) return {row + place.row, FieldColumn + place.column};
    }
    return {row, FieldColumn};
  }
  if (kind != ControlKind::ButtonRow) {
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
  const Signs& signs = SignsOf(state_.codePage);
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
