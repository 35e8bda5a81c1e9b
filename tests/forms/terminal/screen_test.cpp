#include "forms/terminal/screen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/cell_form.h"

namespace formreel {

namespace {

struct Composed {
  explicit Composed(const std::string& descriptor, const CodePage& page = Utf8Page) {
    BuildCellForm(descriptor, *state, model);
    state->codePage = page;
    form = std::make_unique<TerminalForm>(*state, model);
    view = std::make_unique<FormView>(*state, model, *form);
  }
  void Press(Key key, int times = 1) const {
    for (int k = 0; k < times; ++k) form->Press({key, {}});
  }
  // A screen after each key, as the terminal draws one: a field scrolls
  // sideways from where it was.
  void Type(std::string_view keys) const {
    for (DecodedKey key; !keys.empty(); keys.remove_prefix(key.length)) {
      form->Press((key = DecodeKey(keys, Utf8Page, true)).press);
      view->Compose(24, 80);
    }
  }

  std::unique_ptr<FormState> state = std::make_unique<FormState>();
  FormModel model{*state};
  std::unique_ptr<TerminalForm> form;
  std::unique_ptr<FormView> view;
};

std::string Trimmed(std::string row) {
  while (!row.empty() && row.back() == ' ') row.pop_back();
  return row;
}

std::string Fields(int count) {
  std::string descriptor;
  for (int k = 1; k <= count; ++k) descriptor += "CF" + std::to_string(k) + "^|";
  return descriptor;
}

// A row per line (a text line, a prompt and its field, a row of buttons),
// then O.K. and CANCEL, the status, the message and the key help.
TEST(FormView, ARowPerLineThenTheButtonsTheWordsAndTheKeyHelp) {
  Composed c("HNew clip|TCLIPS\\|CNAME^|SKIND^FILM^|BSAVE^PLAY^|");
  const Screen screen = c.view->Compose(30, 80);
  const std::vector<std::string> rows = {" New clip", "", std::string(28, ' ') + "CLIPS", " NAME", " KIND",
                                         " [           SAVE            ] [           PLAY            ]", "",
                                         " [           O.K.            ]  [          CANCEL           ]",
                                         " NAME: text of up to 30 bytes", "", "", " " + std::string(TerminalKeyHelp.first),
                                         " " + std::string(TerminalKeyHelp.second), ""};
  for (std::size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(Trimmed(screen.RowText(static_cast<int>(r))), rows[r]) << r;
  // Fields from column 31, 30 wide; the focused one reversed, with the cursor.
  EXPECT_EQ(screen.At(3, 60).attributes, Reverse);
  EXPECT_EQ(screen.At(4, 31).attributes, Underline);
  EXPECT_EQ(screen.At(4, 61).attributes, 0);
  EXPECT_EQ(screen.cursor, (CellPosition{3, 31}));
}

// At every step through a form taller than the terminal the focused line is
// on screen with the cursor, and the signs say what is out of view.
TEST(FormView, ScrollingKeepsTheFocusInViewAndSaysWhatIsNot) {
  Composed c("TFill in\\|" + Fields(20));
  struct Step {
    int tabs, cursorRow;  // 15 lines shown from row 2; O.K. on row 18
    std::string top;
    bool above, below;
  };
  const Step steps[] = {{0, 3, "Fill in", false, true}, {13, 16, "Fill in", false, true}, {1, 16, " F1", true, true},
                        {5, 16, " F6", true, false},    {1, 18, " F6", true, false},       {2, 3, "Fill in", false, true}};
  for (const Step& s : steps) {
    c.Press(Key::Tab, s.tabs);
    const Screen screen = c.view->Compose(24, 80);
    EXPECT_EQ(screen.cursor->row, s.cursorRow) << s.tabs;
    EXPECT_NE(screen.RowText(2).find(s.top), std::string::npos) << screen.RowText(2);
    EXPECT_EQ(Trimmed(screen.RowText(1)), s.above ? " ▲ more above" : "") << s.tabs;
    EXPECT_EQ(Trimmed(screen.RowText(17)), s.below ? " ▼ more below" : "") << s.tabs;
  }
}

// Framed below its field over the rows there, or above where there is more
// room; in ASCII where the page is not UTF-8. The second entry is chosen.
TEST(FormView, TheListIsFramedBelowOrAboveItsField) {
  struct Case {
    std::string descriptor;
    const CodePage* page;
    std::vector<std::pair<int, std::string>> rows;  // from column 30
  };
  const Case cases[] = {
      {"SKIND^FILM^CARTOON^NEWS^|", &Utf8Page, {{3, "┌──"}, {4, "│FILM "}, {5, "│CARTOON "}, {6, "│NEWS "}, {7, "└──"}}},
      {Fields(11) + "SKIND^0^1^2^3^4^5^6^7^8^9^|", &SingleBytePage, {{1, "+--"}, {2, "|0 "}, {3, "|1 "}, {12, "+--"}}},
  };
  for (const Case& c : cases) {
    Composed form(c.descriptor, *c.page);
    form.Press(Key::Tab, form.state->fieldCount - 1);
    form.Press(Key::Down, 2);
    form.Press(Key::ShowList);
    const Screen screen = form.view->Compose(24, 80);
    for (const auto& [row, text] : c.rows) EXPECT_EQ(screen.RowText(row).substr(30, text.size()), text) << row;
    EXPECT_EQ(screen.At(c.rows[2].first, 31).attributes, Reverse);
  }
}

// A hidden text shows a mask character per character; a text longer than
// its field scrolls sideways as little as keeps the cursor in view, with a
// sign where there is more.
TEST(FormView, HiddenTextIsMaskedAndLongTextScrollsSideways) {
  const std::string digits = "0123456789012345678901234567890123456789";
  const std::tuple<std::string, const CodePage*, std::string, std::string, int> cases[] = {
      {"PPASS^|", &Utf8Page, "sécret\x1b[D", "••••••", 36},
      {"PPASS^|", &SingleBytePage, "secret", "******", 37},
      {"XHOST^|", &Utf8Page, digits, "<" + digits.substr(12), 60},
      {"XHOST^|", &Utf8Page, digits + "\x1b[H", digits.substr(0, 29) + ">", 31},
      {"XHOST^|", &Utf8Page, digits + "\x1b[H\x1b[F\x1b[D", "<" + digits.substr(12), 59},
      {"XHOST^|", &Utf8Page, digits + std::string(11, '\x7f'), digits.substr(0, 29), 60}};
  for (const auto& [descriptor, page, keys, field, cursor] : cases) {
    Composed form(descriptor, *page);
    form.Type(keys);
    const Screen screen = form.view->Compose(24, 80);
    EXPECT_EQ(Trimmed(screen.RowText(2).substr(31)), field) << keys;
    EXPECT_EQ(screen.cursor, (CellPosition{2, cursor})) << keys;
  }
}

// Boxes beside their prompt, on as many rows as they need (the form
// scrolled until they are all in view); the focused one in reverse video
// with the cursor on its mark.
TEST(FormView, BoxesStandBesideTheirPromptOnTheRowsTheyNeed) {
  Composed c(Fields(12) + "MGENRES^FILM^NEWS^DOCUMENTARY^ANIMATION^|");
  c.Type(std::string(12, '\t') + " \t\t");
  const Screen screen = c.view->Compose(20, 80);
  EXPECT_EQ(Trimmed(screen.RowText(2)), " F4");
  EXPECT_EQ(Trimmed(screen.RowText(11)), " GENRES" + std::string(24, ' ') + "[x] FILM  [ ] NEWS");
  EXPECT_EQ(Trimmed(screen.RowText(12)), std::string(31, ' ') + "[ ] DOCUMENTARY  [ ] ANIMATION");
  EXPECT_EQ(screen.At(12, 45).attributes, Reverse);
  EXPECT_EQ(screen.At(12, 46).attributes, 0);
  EXPECT_EQ(screen.cursor, (CellPosition{12, 32}));
  EXPECT_EQ(c.view->LeastSize(), (CellPosition{11, 62}));
}

// Only a terminal narrower than the form, or too short for one line with
// the buttons, the words and the key help, is told how large it must be.
TEST(FormView, ATerminalIsTooSmallOnlyWhenItMustBe) {
  Composed c(Fields(20));
  EXPECT_EQ(c.view->LeastSize(), (CellPosition{10, 62}));
  EXPECT_TRUE(c.view->Fits(10, 62));
  EXPECT_FALSE(c.view->Fits(9, 80));
  EXPECT_FALSE(c.view->Fits(30, 61));
  const Screen screen = c.view->Compose(9, 40);
  EXPECT_EQ(Trimmed(screen.RowText(0)), "This form needs 62 columns and 10 rows;");
  EXPECT_EQ(Trimmed(screen.RowText(1)), "the terminal has 40 columns and 9 rows.");
  EXPECT_FALSE(screen.cursor);
}

// A wide character that the field's last column cannot hold whole is left
// out rather than cut.
TEST(ComposeScreen, WideCharactersAreWholeOrNotAtAll) {
  Screen screen(1, 5);
  const std::string text = "a名名";
  EXPECT_EQ(screen.Write(0, 0, TextView(text.data(), text.size()), Utf8Page, 0, 4), 3);
  EXPECT_EQ(screen.RowText(0), "a名  ");
  EXPECT_EQ(screen.At(0, 2).code, 0u);
}

}  // namespace

}  // namespace formreel
