#include "forms/terminal/screen.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/cell_form.h"

namespace formreel {

namespace {

struct Composed {
  explicit Composed(const std::string& descriptor) {
    BuildCellForm(descriptor, *state, model);
    form = std::make_unique<TerminalForm>(*state, model);
  }
  Screen Compose(int rows, int columns) const { return ComposeScreen(*state, model, *form, rows, columns); }

  std::unique_ptr<FormState> state = std::make_unique<FormState>();
  FormModel model{*state};
  std::unique_ptr<TerminalForm> form;
};

std::string Trimmed(std::string row) {
  while (!row.empty() && row.back() == ' ') row.pop_back();
  return row;
}

// The window's client area in cells, below the caption's row.
TEST(ComposeScreen, TheWindowsFormCellForCell) {
  const Composed c("HNew clip|CNAME^|SKIND^FILM^NEWS^|");
  const Screen screen = c.Compose(30, 80);
  EXPECT_EQ(Trimmed(screen.RowText(0)), " New clip");
  EXPECT_EQ(Trimmed(screen.RowText(2)), " NAME");
  EXPECT_EQ(Trimmed(screen.RowText(4)), " KIND" + std::string(55, ' ') + "~");
  EXPECT_EQ(Trimmed(screen.RowText(6)), " [          O.K.          ]     [         CANCEL         ]");
  EXPECT_EQ(Trimmed(screen.RowText(9)), " " + std::string(TerminalKeyHelp.first));
  EXPECT_EQ(Trimmed(screen.RowText(10)), " " + std::string(TerminalKeyHelp.second));
  // Fields from column 30, 30 wide; the focused one reversed, with the cursor.
  EXPECT_EQ(screen.At(2, 30).attributes, Reverse);
  EXPECT_EQ(screen.At(2, 59).attributes, Reverse);
  EXPECT_EQ(screen.At(4, 30).attributes, Underline);
  EXPECT_EQ(screen.At(4, 60).attributes, 0);
  EXPECT_EQ(screen.cursor, (CellPosition{2, 30}));
  EXPECT_EQ(FormScreenSize(c.model), (CellPosition{12, 64}));
}

TEST(ComposeScreen, TheWholeListBelowItsField) {
  Composed c("SKIND^FILM^CARTOON^NEWS^|");
  c.form->Press({Key::Down, {}});
  c.form->Press({Key::ShowList, {}});
  const Screen screen = c.Compose(30, 80);
  EXPECT_EQ(screen.RowText(2).substr(0, 34), " KIND                         FILM");
  EXPECT_EQ(screen.RowText(3).substr(30, 4), "FILM");
  EXPECT_EQ(screen.At(3, 30).attributes, Reverse);  // the chosen entry
  EXPECT_EQ(screen.RowText(4).substr(30, 7), "CARTOON");
  EXPECT_EQ(screen.At(4, 30).attributes, Bold);
  EXPECT_EQ(screen.RowText(5).substr(30, 4), "NEWS");
}

TEST(ComposeScreen, ATerminalTooSmallIsToldSo) {
  const Composed c("CNAME^|");
  const Screen screen = c.Compose(8, 40);
  EXPECT_EQ(Trimmed(screen.RowText(0)), "This form needs 64 columns and 10 rows;");
  EXPECT_EQ(Trimmed(screen.RowText(1)), "the terminal has 40 columns and 8 rows.");
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
