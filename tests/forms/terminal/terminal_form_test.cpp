#include "forms/terminal/terminal_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/support/cell_form.h"

namespace formreel {

namespace {

// A form built as the terminal builds it; a first C field holds CLIP.
class Form {
 public:
  explicit Form(const std::string& descriptor) {
    BuildCellForm(descriptor, *state_, model_, descriptor[0] == 'C' ? firstValue_ : nullptr);
    form_ = std::make_unique<TerminalForm>(*state_, model_);
  }

  TerminalForm::Progress Press(Key key, const std::string& text = "") { return form_->Press({key, text}); }
  void Type(const std::string& text) {
    for (std::size_t k = 0; k < text.size();) {
      const DecodedKey decoded = DecodeKey(std::string_view(text).substr(k), Utf8Page, true);
      form_->Press(decoded.press);
      k += decoded.length;
    }
  }
  const TerminalForm& form() const { return *form_; }
  const FormState& state() const { return *state_; }
  const std::string& Text() const { return form_->Focus().text; }

 private:
  std::unique_ptr<FormState> state_ = std::make_unique<FormState>();
  char firstValue_[31] = "CLIP";
  FormModel model_{*state_};
  std::unique_ptr<TerminalForm> form_;
};

TEST(TerminalForm, AFieldIsEditedAsInALineEditor) {
  Form f("CNAME^|");
  EXPECT_TRUE(f.form().Selected());  // the focus came with the text selected
  f.Type("Жук");                     // typed over it, whole characters
  EXPECT_EQ(f.Text(), "Жук");
  EXPECT_FALSE(f.form().Selected());
  f.Press(Key::Left);
  f.Press(Key::Backspace);
  EXPECT_EQ(f.Text(), "Жк");
  f.Press(Key::Home);
  f.Press(Key::Delete);
  f.Type("a");
  f.Press(Key::End);
  f.Type("!");
  EXPECT_EQ(f.Text(), "aк!");
  EXPECT_EQ(f.form().Cursor(), f.Text().size());
}

TEST(TerminalForm, TypingStopsWhereTheFieldIsFullAndSaysSo) {
  Form text("CNAME^|");
  text.Type(std::string(16, 'x'));
  for (int k = 0; k < 10; ++k) text.Type("Ж");  // 2 bytes each: a C text keeps 30 bytes
  EXPECT_EQ(text.Text().size(), 30u);
  EXPECT_EQ(text.form().Message(), "NAME: at most 30 bytes");
  Form number("IYEAR^|");
  number.Type(std::string(40, '1'));  // the field shows 30 columns
  EXPECT_EQ(number.Text(), std::string(30, '1'));
  EXPECT_EQ(number.form().Message(), "YEAR: at most 30 columns");
  Form wide("DLENGTH^|");
  for (int k = 0; k < 20; ++k) wide.Type("名");  // two columns each
  EXPECT_EQ(wide.Text().size(), 15u * 3);
}

// The message stays while the focus is on the refused text, and goes once
// the field is left or its text changes.
TEST(TerminalForm, ARefusalIsSaidUntilTheFieldIsLeftOrChanged) {
  for (const Key key : {Key::Left, Key::ShowList, Key::Backspace, Key::Tab, Key::Down}) {
    Form f("CNAME^|IYEAR\x07^1994^|");
    f.Press(Key::Tab);
    f.Type("19x4");
    EXPECT_EQ(f.Press(Key::CtrlJ), TerminalForm::Progress::Open);
    EXPECT_EQ(f.form().Message(), "YEAR\u2407: not a 16-bit integer (-32768 to 32767): 19x4");
    EXPECT_EQ(f.state().currentField, 2);
    EXPECT_TRUE(f.form().Selected());
    f.Press(key);
    EXPECT_EQ(f.form().Message().empty(), key != Key::Left && key != Key::ShowList) << static_cast<int>(key);
  }
}

// What each position takes, as TAB reaches them.
TEST(TerminalForm, TheStatusSaysWhatEachPositionTakes) {
  Form f("CNAME^|CENV^prod^test^|IYEAR^|SKIND^FILM^|SNONE^|BSAVE^|");
  for (const char* words : {"NAME: text of up to 30 bytes",
                            "ENV: text of up to 30 bytes, or one of a list of 2 entries; UP and DOWN step it, F4 shows it",
                            "YEAR: a 16-bit integer (-32768 to 32767)",
                            "KIND: a list of 1 entry; UP and DOWN step it, F4 shows it", "NONE: an empty list",
                            "SAVE: a button; SPACE or ENTER presses it and confirms the form",
                            "O.K.: confirms the form", "CANCEL: cancels the form"}) {
    EXPECT_EQ(f.form().Status(), words);
    f.Press(Key::Tab);
  }
}

// ENTER presses a focused button, as SPACE does; on a field it moves on.
TEST(TerminalForm, EnterPressesTheFocusedButton) {
  using P = TerminalForm::Progress;
  struct Case {
    int tabs;  // NAME, SAVE, PLAY, O.K., CANCEL
    P progress;
    bool confirmed;
    std::int8_t group;
  };
  for (const Case c : {Case{0, P::Open, false, 0}, Case{2, P::Ended, true, 2}, Case{3, P::Ended, true, 0},
                       Case{4, P::Ended, false, 0}}) {
    Form f("CNAME^|BSAVE^PLAY^|");
    for (int k = 0; k < c.tabs; ++k) f.Press(Key::Tab);
    EXPECT_EQ(f.Press(Key::Enter), c.progress) << c.tabs;
    EXPECT_EQ(f.state().confirmed, c.confirmed) << c.tabs;
    EXPECT_EQ(f.state().selections[2], c.group) << c.tabs;
  }
}

TEST(TerminalForm, ListsAreSteppedAndATypedTextForgetsTheChoice) {
  Form list("SKIND^FILM^CARTOON^NEWS^|");
  list.Type("x");  // a drop-down list takes no typed text
  EXPECT_EQ(list.Text(), "");
  list.Type("n");  // but finds the next entry that starts so
  EXPECT_EQ(list.Text(), "NEWS");
  list.Press(Key::Up);
  EXPECT_EQ(list.Text(), "CARTOON");
  list.Press(Key::ShowList);
  EXPECT_TRUE(list.form().ListShown());
  list.Press(Key::Down);
  EXPECT_TRUE(list.form().ListShown());
  list.Press(Key::ShowList);
  EXPECT_FALSE(list.form().ListShown());

  Form editable("CNAME^Quit NOW ^|");
  editable.Press(Key::Down);
  EXPECT_EQ(editable.Text(), "Quit NOW ");
  EXPECT_TRUE(editable.form().Selected());
  editable.Type("Q");
  EXPECT_EQ(editable.form().Focus().chosen, -1);
}

// The form's keys are tried in tmux; CTRL-BACKSPACE, which tmux sends as
// the byte of BACKSPACE without a report, only here.
TEST(TerminalForm, CtrlBackspaceMovesUpAndSpaceOnCancelCancels) {
  Form f("CA^|");
  EXPECT_EQ(f.Press(Key::CtrlBackspace), TerminalForm::Progress::Open);
  EXPECT_EQ(f.state().currentField, 3);  // CANCEL
  EXPECT_EQ(f.Press(Key::Space), TerminalForm::Progress::Ended);
  EXPECT_FALSE(f.state().confirmed);
}

}  // namespace

}  // namespace formreel
