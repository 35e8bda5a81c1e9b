#include "forms/terminal/screen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
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
  Screen Compose(int rows, int columns) const { return view->Compose(rows, columns); }
  void Press(Key key, int times = 1) const {
    for (int k = 0; k < times; ++k) form->Press({key, {}});
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

std::string TwentyFields() {
  std::string descriptor = "HTwenty|TFill in\\|";
  for (int k = 1; k <= 20; ++k) descriptor += "CF" + std::to_string(k) + "^|";
  return descriptor;
}

// A row per line (a text line, a prompt and its field, a row of buttons),
// then O.K. and CANCEL, the status, the message and the key help.
TEST(FormView, ARowPerLineThenTheButtonsTheWordsAndTheKeyHelp) {
  const Composed c("HNew clip|TCLIPS\\|CNAME^|SKIND^FILM^NEWS^|BSAVE^PLAY^|");
  const Screen screen = c.Compose(30, 80);
  const std::vector<std::string> rows = {
      " New clip", "", std::string(28, ' ') + "CLIPS", " NAME", " KIND",
      " [           SAVE            ] [           PLAY            ]", "",
      " [           O.K.            ]  [          CANCEL           ]", " NAME: text of up to 30 bytes", "", "",
      " ENTER or TAB=down   SHIFT-TAB=up   ESCAPE=cancel   F4=list",
      " SPACE or ENTER presses button   CTRL-ENTER or CTRL-J=confirm", ""};
  for (std::size_t r = 0; r < rows.size(); ++r) EXPECT_EQ(Trimmed(screen.RowText(static_cast<int>(r))), rows[r]) << r;
  // Fields from column 31, 30 wide; the focused one reversed, with the cursor.
  EXPECT_EQ(screen.At(3, 31).attributes, Reverse);
  EXPECT_EQ(screen.At(3, 60).attributes, Reverse);
  EXPECT_EQ(screen.At(4, 31).attributes, Underline);
  EXPECT_EQ(screen.At(4, 61).attributes, 0);
  EXPECT_EQ(screen.cursor, (CellPosition{3, 31}));
}

// At every position of a form taller than the terminal, the focused line
// is on screen with the cursor, and the signs say what is out of view.
TEST(FormView, ScrollingKeepsTheFocusInViewAndSaysWhatIsNot) {
  const Composed c(TwentyFields());
  struct Step {
    int tabs;          // from the last step
    int cursorRow;
    std::string top;   // the first line shown
    bool above, below;
  };
  const Step steps[] = {
      {0, 3, "Fill in", false, true}, {13, 16, "Fill in", false, true}, {1, 16, " F1", true, true},
      {5, 16, " F6", true, false},    {1, 18, " F6", true, false},       {2, 3, "Fill in", false, true},
  };
  for (const Step& s : steps) {
    c.Press(Key::Tab, s.tabs);
    const Screen screen = c.Compose(24, 80);
    ASSERT_TRUE(screen.cursor);
    EXPECT_EQ(screen.cursor->row, s.cursorRow) << s.tabs;
    EXPECT_NE(screen.RowText(2).find(s.top), std::string::npos) << screen.RowText(2);
    EXPECT_EQ(screen.RowText(1).find("▲ more above") == 1, s.above) << s.tabs;
    EXPECT_EQ(screen.RowText(17).find("▼ more below") == 1, s.below) << s.tabs;
  }
  const Composed ascii(TwentyFields(), SingleBytePage);
  ascii.Press(Key::Tab, 16);
  const Screen screen = ascii.Compose(24, 80);
  EXPECT_EQ(Trimmed(screen.RowText(1)), " ^ more above");
  EXPECT_EQ(Trimmed(screen.RowText(17)), " v more below");
}

// Framed below its field over the rows there, or above where there is more
// room; in ASCII where the page is not UTF-8.
TEST(FormView, TheListIsFramedOverWhatLiesBelowOrAbove) {
  struct Case {
    std::string descriptor;
    const CodePage* page;
    std::vector<std::string> framed;  // row by row from `firstRow`, from column 30
    int firstRow;
    int chosenRow;
  };
  std::vector<std::string> tall = {"┌"};
  std::string lowest;
  for (int k = 1; k <= 11; ++k) lowest += "CF" + std::to_string(k) + "^|";
  lowest += "SKIND^";
  for (char e = '0'; e <= '9'; ++e) {
    lowest += std::string(1, e) + "^";
    tall.push_back("│" + std::string(1, e));
  }
  tall.push_back("└");
  const Case cases[] = {
      {"SKIND^FILM^CARTOON^NEWS^|", &Utf8Page, {"┌─", "│FILM", "│CARTOON", "│NEWS", "└"}, 3, 5},
      {"SKIND^FILM^CARTOON^NEWS^|", &SingleBytePage, {"+" + std::string(30, '-') + "+", "|FILM", "|CARTOON", "|NEWS", "+"}, 3, 5},
      {lowest + "|", &Utf8Page, tall, 1, 3},
  };
  for (const Case& c : cases) {
    const Composed form(c.descriptor, *c.page);
    form.Press(Key::Tab, form.state->fieldCount - 1);
    form.Press(Key::Down, 2);
    form.Press(Key::ShowList);
    const Screen screen = form.Compose(24, 80);
    for (std::size_t k = 0; k < c.framed.size(); ++k) {
      const std::string row = screen.RowText(c.firstRow + static_cast<int>(k));
      EXPECT_EQ(row.substr(30).rfind(c.framed[k], 0), 0u) << k << ": " << row;
    }
    EXPECT_EQ(screen.At(c.chosenRow, 31).attributes, Reverse);
  }
}

// Only a terminal narrower than the form, or too short for one line with
// the buttons, the words and the key help, is told how large it must be.
TEST(FormView, ATerminalIsTooSmallOnlyWhenItMustBe) {
  const Composed one("CNAME^|");
  const Composed twenty(TwentyFields());
  EXPECT_EQ(one.view->LeastSize(), (CellPosition{10, 62}));
  EXPECT_EQ(twenty.view->LeastSize(), (CellPosition{10, 62}));
  EXPECT_TRUE(twenty.view->Fits(24, 80));
  EXPECT_TRUE(one.view->Fits(10, 62));
  EXPECT_FALSE(one.view->Fits(9, 80));
  EXPECT_FALSE(one.view->Fits(30, 61));
  const Screen screen = one.Compose(9, 40);
  EXPECT_EQ(Trimmed(screen.RowText(0)), "This form needs 62 columns and 10 rows;");
  EXPECT_EQ(Trimmed(screen.RowText(1)), "the terminal has 40 columns and 9 rows.");
  EXPECT_FALSE(screen.cursor);
}

// A wide character that the field's last column cannot hold whole is left
// out rather than cut.
TEST(Screen, WideCharactersAreWholeOrNotAtAll) {
  Screen screen(1, 5);
  const std::string text = "a名名";
  EXPECT_EQ(screen.Write(0, 0, TextView(text.data(), text.size()), Utf8Page, 0, 4), 3);
  EXPECT_EQ(screen.RowText(0), "a名  ");
  EXPECT_EQ(screen.At(0, 2).code, 0u);
}

}  // namespace

}  // namespace formreel
