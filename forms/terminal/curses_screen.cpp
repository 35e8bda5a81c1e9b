#include "forms/terminal/curses_screen.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <curses.h>

#include <cwchar>

#include "text/fatal_error.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

constexpr std::string_view ReportModifiedKeys = "\x1b[>4;2m";
constexpr std::string_view ReportKeysPlainly = "\x1b[>4m";

// The screen that a run-time error must close before its report is shown.
CursesScreen* openScreen = nullptr;
FatalReportViewer viewerBefore = nullptr;

void CloseForReport(const char* report) {
  if (openScreen != nullptr) openScreen->Close();
  if (viewerBefore != nullptr) viewerBefore(report);
}

attr_t AttributesOf(std::uint8_t cell) {
  attr_t attributes = A_NORMAL;
  if ((cell & Bold) != 0) attributes |= A_BOLD;
  if ((cell & Underline) != 0) attributes |= A_UNDERLINE;
  if ((cell & Reverse) != 0) attributes |= A_REVERSE;
  return attributes;
}

}  // namespace

CursesScreen::CursesScreen(const ControllingTerminal& terminal, const CodePage& page)
    : terminal_(terminal), utf8_(page.kind == CodePage::Kind::Utf8) {
  output_ = fdopen(dup(terminal.Descriptor()), "w");
  input_ = fdopen(dup(terminal.Descriptor()), "r");
  if (output_ == nullptr || input_ == nullptr) return;
  // Whether TERM names a description is asked first: a newterm that fails
  // keeps memory it never gives back.
  if (!TermHasDescription(terminal.Descriptor())) return;
  screen_ = newterm(nullptr, output_, input_);
  if (screen_ == nullptr) return;
  set_term(screen_);
  raw();
  noecho();
  nonl();
  intrflush(stdscr, FALSE);
  keypad(stdscr, FALSE);
  // An update is not cut short, nor slowed, to look for typed keys: the
  // form takes every key that has come before it draws.
  typeahead(-1);
  openScreen = this;
  viewerBefore = SetFatalReportViewer(CloseForReport);
  terminal_.Write(ReportModifiedKeys);
}

CursesScreen::~CursesScreen() {
  Close();
  if (output_ != nullptr) std::fclose(output_);
  if (input_ != nullptr) std::fclose(input_);
}

int CursesScreen::Rows() const { return screen_ != nullptr ? LINES : 0; }
int CursesScreen::Columns() const { return screen_ != nullptr ? COLS : 0; }

void CursesScreen::Resize() {
  winsize size{};
  if (ioctl(terminal_.Descriptor(), TIOCGWINSZ, &size) == 0 && size.ws_row > 0 && size.ws_col > 0)
    resizeterm(size.ws_row, size.ws_col);
  shown_ = Screen(0, 0);  // drawn whole next time
}

// Only the cells that differ from the last screen drawn are put into the
// window (into a blanked one, those that hold something, when the size
// changed), and doupdate sends the terminal what differs from what it shows.
void CursesScreen::Draw(const Screen& composed) {
  const bool whole = composed.Rows() != shown_.Rows() || composed.Columns() != shown_.Columns();
  if (whole) werase(stdscr);
  const int rows = std::min(composed.Rows(), LINES);
  const int columns = std::min(composed.Columns(), COLS);
  for (int r = 0; r < rows; ++r) {
    const std::span<const Cell> row = composed.Row(r);
    const std::span<const Cell> before = whole ? row : shown_.Row(r);
    for (int c = 0; c < columns; ++c) {
      const auto k = static_cast<std::size_t>(c);
      const Cell& cell = row[k];
      if (cell.code == 0) continue;  // the second column of a wide character
      if (whole ? cell == Cell{} : cell == before[k]) continue;
      if (cell.code < 0x80) {  // visible text: ASCII is printable
        mvaddch(r, c, static_cast<chtype>(cell.code) | AttributesOf(cell.attributes));
        continue;
      }
      const int width = k + 1 < row.size() && row[k + 1].code == 0 ? 2 : 1;
      wchar_t text[3] = {static_cast<wchar_t>(cell.code), L'\0', L'\0'};
      // Where the terminal's idea of a character's width differs from the
      // form's, or the locale cannot show it, it shows as a replacement that
      // keeps the cells where the form has them.
      if (!utf8_) text[0] = L'?';
      else if (wcwidth(text[0]) != width) text[0] = static_cast<wchar_t>(ReplacementCharacter);
      cchar_t shown;
      setcchar(&shown, text, AttributesOf(cell.attributes), 0, nullptr);
      mvadd_wch(r, c, &shown);
      if (width == 2 && wcwidth(text[0]) == 1) mvaddch(r, c + 1, ' ' | AttributesOf(cell.attributes));
    }
  }
  shown_ = composed;
  if (composed.cursor) {
    move(composed.cursor->row, composed.cursor->column);
    curs_set(1);
  } else {
    curs_set(0);
  }
  wnoutrefresh(stdscr);
  doupdate();
}

void CursesScreen::Close() {
  if (screen_ == nullptr) return;
  endwin();
  terminal_.Write(ReportKeysPlainly);
  delscreen(screen_);
  screen_ = nullptr;
  if (openScreen == this) {
    openScreen = nullptr;
    SetFatalReportViewer(viewerBefore);
  }
}

}  // namespace formreel
