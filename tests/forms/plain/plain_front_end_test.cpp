#include "forms/plain/plain_front_end.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>

#include "forms/core/front_end.h"

namespace formreel {

namespace {

// Lines typed one after the other; what the dialogue says, kept.
class ScriptedLines final : public LineChannel {
 public:
  explicit ScriptedLines(std::deque<std::string> lines) : lines_(std::move(lines)) {}
  void Write(std::string_view text) override { said += text; }
  Line ReadLine() override {
    if (lines_.empty()) return {Line::End::EndOfInput, {}};
    Line line{Line::End::Typed, lines_.front()};
    lines_.pop_front();
    return line;
  }
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER,"; }

  std::string said;

 private:
  std::deque<std::string> lines_;
};

struct Answers {
  FormEntryEnd end;
  std::string said;
  std::array<std::int8_t, 4> selections{};
  std::array<ValueSlot, 4> values{};
  char text[31] = "CLIP";
};

// "CNAME^Quit NOW ^|IYEAR^|SKIND^FILM^NEWS^|BSAVE^PLAY^|", NAME holding CLIP.
std::unique_ptr<Answers> Answer(std::deque<std::string> lines) {
  static const std::string descriptor = "CNAME^Quit NOW ^|IYEAR^|SKIND^FILM^NEWS^|BSAVE^PLAY^|";
  auto answers = std::make_unique<Answers>();
  answers->values[0].Put(&answers->text[0]);
  answers->values[1].Put(std::int16_t{1994});
  ScriptedLines channel(std::move(lines));
  PlainFrontEnd plain(channel);
  answers->end = EnterForm(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), answers->selections,
                           answers->values, Utf8Page, plain);
  answers->said = channel.said;
  return answers;
}

TEST(PlainMode, EmptyLinesKeepEveryFieldAsItIs) {
  const auto a = Answer({"", "", "", "", "y"});
  EXPECT_EQ(a->end, FormEntryEnd::Confirmed);
  EXPECT_STREQ(a->text, "CLIP");
  EXPECT_EQ(a->values[1].Get<std::int16_t>(), 1994);
  EXPECT_EQ(a->selections, (std::array<std::int8_t, 4>{0, 0, 0, 0}));
}

TEST(PlainMode, TypedValuesEntriesAndTheirCommands) {
  struct Case {
    std::deque<std::string> lines;
    std::string name;
    std::int8_t nameSelection;
    std::int8_t kind;
  };
  const Case cases[] = {
      {{"ANN", "", "2", "", "y"}, "ANN", 0, 2},
      {{"=1", "", "", "", "y"}, "CLIP", 1, 0},     // =N picks an entry, leaving the text
      {{"==1", "", "", "", "y"}, "=1", 0, 0},      // == types a text that starts with =
      {{"=", "", "", "", "y"}, "", 0, 0},          // = empties the field
      {{"", "", "=1", "", "y"}, "CLIP", 0, 1},     // a choice list takes =N too
  };
  for (const Case& c : cases) {
    const auto a = Answer(c.lines);
    EXPECT_EQ(a->end, FormEntryEnd::Confirmed) << c.lines.front();
    EXPECT_STREQ(a->text, c.name.c_str()) << c.lines.front();
    EXPECT_EQ(a->selections[0], c.nameSelection) << c.lines.front();
    EXPECT_EQ(a->selections[2], c.kind) << c.lines.front();
  }
}

// Each refusal is one line naming the field and why; the question is then
// asked again, and an empty line goes on.
TEST(PlainMode, ARefusedAnswerIsSaidAndAskedAgain) {
  struct Case {
    std::deque<std::string> lines;
    std::string said;
  };
  const std::string tooLong(31, 'A');
  const Case cases[] = {
      {{"", "19x4", "", "", "", "y"}, "YEAR: not a 16-bit integer (-32768 to 32767): 19x4"},
      {{"", "99999", "", "", "", "y"}, "YEAR: not a 16-bit integer (-32768 to 32767): 99999"},
      {{"", "", "7", "", "", "y"}, "KIND: not an entry number (1 to 2, or 0 for none): 7"},
      {{tooLong, "", "", "", "", "y"}, "NAME: at most 30 bytes: " + tooLong},
      {{"A\x01" "B", "", "", "", "", "y"}, "NAME: holds a control character or a byte that is no character"},
      {{"=5", "", "", "", "", "y"}, "NAME: not an entry number (1 to 1): 5"},
      {{"", "", "", "3", "", "y"}, "SAVE: not a button number (1 to 2): 3"},
      {{"", "", "", "", "maybe", "y"}, "Not an answer: maybe."},
  };
  for (const Case& c : cases) {
    const auto a = Answer(c.lines);
    EXPECT_EQ(a->end, FormEntryEnd::Confirmed) << c.said;
    EXPECT_NE(a->said.find(c.said + "\n"), std::string::npos) << a->said;
  }
}

TEST(PlainMode, AButtonConfirmsAndAFieldIsAskedAgainByItsNumber) {
  const auto pressed = Answer({"", "", "", "2"});
  EXPECT_EQ(pressed->end, FormEntryEnd::Confirmed);
  EXPECT_EQ(pressed->selections[3], 2);
  const auto changed = Answer({"", "", "", "", "2", "2001", "y"});
  EXPECT_EQ(changed->end, FormEntryEnd::Confirmed);
  EXPECT_EQ(changed->values[1].Get<std::int16_t>(), 2001);
}

TEST(PlainMode, EscapeTheEndOfInputAndNoCancel) {
  for (const std::deque<std::string>& lines :
       {std::deque<std::string>{"\x1b"}, std::deque<std::string>{"ANN"}, std::deque<std::string>{"", "", "", "", "n"}}) {
    const auto a = Answer(lines);
    EXPECT_EQ(a->end, FormEntryEnd::Cancelled) << lines.back();
    EXPECT_STREQ(a->text, "CLIP") << lines.back();
  }
}

}  // namespace

}  // namespace formreel
