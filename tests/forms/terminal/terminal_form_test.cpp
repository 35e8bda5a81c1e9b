#include "forms/terminal/terminal_form.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "tests/support/cell_form.h"

namespace formreel {

namespace {

// A form built as the terminal builds it, with the checks given; a first
// C, X or P field holds CLIP.
class Form {
 public:
  explicit Form(const std::string& descriptor, std::vector<FieldCheck> checks = {}) : checks_(std::move(checks)) {
    const bool text = std::string_view("CXP").find(descriptor[0]) != std::string_view::npos;
    BuildCellForm(descriptor, *state_, model_, text ? firstValue_ : nullptr);
    state_->rules.checks = checks_;
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
  std::vector<FieldCheck> checks_;
  std::unique_ptr<FormState> state_ = std::make_unique<FormState>();
  char firstValue_[LongTextLength + 1] = "CLIP";
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

// What each position takes, as TAB reaches them, with the program's checks;
// the second box as SPACE leaves it.
TEST(TerminalForm, TheStatusSaysWhatEachPositionTakes) {
  const FieldCheck required{.required = true};
  Form f("CNAME^|CENV^prod^test^|IYEAR^|SKIND^FILM^|SNONE^|LPORT^|PPASS^|XHOST^|MGENRES^FILM^NEWS^|BSAVE^|",
         {required, {}, {}, required, {}, {.bounded = true, .lowest = 1, .highest = 65535}, {}, {}, required});
  for (const char* words : {"NAME: text of up to 30 bytes, required",
                            "ENV: text of up to 30 bytes, or one of a list of 2 entries; UP and DOWN step it, F4 shows it",
                            "YEAR: a 16-bit integer (-32768 to 32767)",
                            "KIND: a list of 1 entry, required; UP and DOWN step it, F4 shows it", "NONE: an empty list",
                            "PORT: a 32-bit integer from 1 to 65535", "PASS: hidden text of up to 255 bytes",
                            "HOST: text of up to 255 bytes",
                            "GENRES: FILM, box 1 of 2, not checked; SPACE checks or clears it; one at least must be checked",
                            "GENRES: NEWS, box 2 of 2, checked; SPACE checks or clears it; one at least must be checked",
                            "SAVE: a button; SPACE or ENTER presses it and confirms the form",
                            "O.K.: confirms the form", "CANCEL: cancels the form"}) {
    if (f.form().Focus().index == 2) f.Press(Key::Space);
    EXPECT_EQ(f.form().Status(), words);
    f.Press(Key::Tab);
  }
}

// TAB, ENTER (which presses nothing here) and SHIFT-TAB step from box to
// box, SPACE checks or clears the focused one; box K answers as bit K-1.
TEST(TerminalForm, EachBoxIsAPositionAndSpaceChecksOrClearsIt) {
  struct Case {
    std::string keys;
    std::int32_t box;  // focused at the end, 0 for NAME
    std::uint8_t bits;
  };
  for (const Case& c : {Case{" ", 1, 1}, Case{"\t ", 2, 2}, Case{"\r\r   ", 3, 4}, Case{"\r\r\r ", 0, 0},
                        Case{"\x1b[Z\x1b[Z\x1b[Z\x1b[Z ", 3, 4}}) {
    Form f("MGENRES^FILM^NEWS^DRAMA^|CNAME^|");
    f.Type(c.keys);
    EXPECT_EQ(f.form().Focus().index, c.box) << c.keys;
    EXPECT_FALSE(f.state().confirmed);
    EXPECT_EQ(f.Press(Key::CtrlJ), TerminalForm::Progress::Ended);
    EXPECT_EQ(f.state().values[1].Get<std::uint8_t>(), c.bits) << c.keys;
  }
}

// A refusal by a check says the field's name and the reason, and the text
// only where the field shows it; the focus stays on the field (its first
// box). X (as P) takes 255 bytes, past the columns it shows.
TEST(TerminalForm, ARefusalNamesTheFieldAndTheReasonAndNeverAHiddenText) {
  const FieldCheck port{.bounded = true, .lowest = 1, .highest = 65535}, required{.required = true};
  const FieldCheck eight{.own = [](const FieldAnswer& a) { return a.text.size() < 8 ? "shorter than 8" : ""; }};
  const std::tuple<std::string, FieldCheck, std::string, std::string> cases[] = {
      {"LPORT^|", port, "70000\n", "PORT: 1 to 65535: 70000"},  {"CNAME^|", required, "\x7f\n", "NAME: required"},
      {"PPASS^|", eight, "secret\n", "PASS: shorter than 8"},    {"MGENRES^A^B^|", required, "\t\n", "GENRES: required"},
      {"XHOST^|", {}, std::string(300, 'x'), "HOST: at most 255 bytes"}};
  for (const auto& [descriptor, check, typed, message] : cases) {
    Form f(descriptor, {check});
    f.Type(typed);
    EXPECT_EQ(f.form().Message(), message);
    // Field 1, and box 1 of an M field.
    EXPECT_EQ(f.form().Focus().index + f.state().currentField, descriptor[0] == 'M' ? 2 : 1) << descriptor;
    if (typed.size() == 300) EXPECT_EQ(f.Text().size(), 255u);
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
