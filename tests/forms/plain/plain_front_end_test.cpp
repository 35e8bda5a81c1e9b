#include "forms/plain/plain_front_end.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "forms/core/front_end.h"

namespace formreel {

namespace {

// A scripted line on which the time runs out.
const std::string TimePasses = "(time passes)";

// Lines typed one after the other; what the dialogue says, kept, and how
// each line was asked for.
class ScriptedLines final : public LineChannel {
 public:
  explicit ScriptedLines(std::deque<std::string> lines) : lines_(std::move(lines)) {}
  void Write(std::string_view text) override { said += text; }
  Line ReadLine(Echo echo, std::chrono::milliseconds limit) override {
    limits.push_back(limit);
    if (lines_.empty()) return {Line::End::EndOfInput, {}};
    if (echo == Echo::Hidden) unseen.push_back(lines_.front());
    Line line{lines_.front() == TimePasses ? Line::End::TimedOut : Line::End::Typed, lines_.front()};
    lines_.pop_front();
    return line;
  }
  std::string_view CancelKeys() const override { return "ESCAPE and ENTER,"; }

  std::string said;
  std::vector<std::string> unseen;  // the lines read with the echo off
  std::vector<std::chrono::milliseconds> limits;

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

// A form of the newer kinds and checks: a port from 1 to 65535, a
// required name, a hidden text holding "topsecret", a long text, three boxes
// of which GREEN is checked; answered by `lines`.
struct Checked {
  explicit Checked(std::deque<std::string> lines) : channel(std::move(lines)) {}
  ScriptedLines channel;
  FormEntryEnd end{};
  std::array<std::int8_t, 5> selections{};
  std::array<ValueSlot, 5> values{};
  char name[31] = "", pass[256] = "topsecret", host[256] = "";
};

std::unique_ptr<Checked> AnswerChecked(std::deque<std::string> lines, std::chrono::milliseconds limit = {}) {
  static const std::string descriptor = "LPORT^|CNAME^|PPASS^|XHOST^|MCOLOURS^RED^GREEN^BLUE^|";
  auto a = std::make_unique<Checked>(std::move(lines));
  a->values[0].Put(std::int32_t{80});
  a->values[1].Put(&a->name[0]);
  a->values[2].Put(&a->pass[0]);
  a->values[3].Put(&a->host[0]);
  a->values[4].Put(std::uint8_t{2});
  FieldCheck checks[2];
  checks[0].bounded = true;
  checks[0].lowest = 1;
  checks[0].highest = 65535;
  checks[1].required = true;
  PlainFrontEnd plain(a->channel);
  a->end = EnterForm(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), a->selections, a->values,
                     Utf8Page, plain, FormRules{checks, limit});
  return a;
}

// Each row: the lines typed, then what the form holds and what was said.
TEST(PlainMode, HiddenLongAndBoxFieldsAndTheirChecks) {
  struct Row {
    std::deque<std::string> lines;
    std::string pass, host;
    unsigned boxes;
    std::vector<std::string> said;
    std::vector<std::string> unseen;  // typed into PASS
  };
  const std::string longest(255, 'h');
  const Row rows[] = {
      {{"", "ANN", "s3cr3t", longest, "1 3", "y"}, "s3cr3t", longest, 5,
       {"Takes a 32-bit integer from 1 to 65535.\n", "Text of at most 30 bytes.\nRequired.\n",
        "Hidden text of at most 255 bytes; what is typed is not shown.\nNow: set.\n",
        "3 check boxes; any number of them may be checked.\n", "Box 2: GREEN, checked.\nBox 3: BLUE, not checked.\n",
        "3 PASS: set\n4 HOST: " + longest + "\n5 COLOURS: checked: RED, BLUE\n"},
       {"s3cr3t"}},
      // A bound refused at once; a required field at the confirmation.
      {{"70000", "80", "", "", "", "", "y", "ANN", "y"}, "topsecret", "", 2,
       {"PORT: 1 to 65535: 70000\n", "NAME: required\nField 2 of 5: NAME\n"},
       {""}},
      {{"", "ANN", "=", longest + "h", "", "0", "y"}, "", "", 0,
       {"HOST: at most 255 bytes: " + longest + "h\n", "3 PASS: empty\n", "5 COLOURS: none checked\n"},
       {"="}},
      {{"", "ANN", "=2topsecret", "", "", "2 x", "0 1", "2", "y"}, "topsecret", "", 2,
       {"PASS: no list to pick an entry from\n",
        "COLOURS: not box numbers (1 to 3, or 0 alone for none): 2 x\n", "0 alone for none): 0 1\n"},
       {"=2topsecret", ""}},
  };
  for (const Row& row : rows) {
    const auto a = AnswerChecked(row.lines);
    EXPECT_EQ(a->end, FormEntryEnd::Confirmed) << a->channel.said;
    EXPECT_STREQ(a->pass, row.pass.c_str());
    EXPECT_STREQ(a->host, row.host.c_str());
    EXPECT_EQ(a->values[4].Get<std::uint8_t>(), row.boxes);
    const std::string& all = a->channel.said;
    for (const std::string& said : row.said) EXPECT_NE(all.find(said), std::string::npos) << said << all;
    // The hidden text is never said, typed or given, and only its field is read with the echo off.
    EXPECT_EQ(all.find("topsecret"), std::string::npos) << all;
    EXPECT_EQ(all.find("s3cr3t"), std::string::npos) << all;
    EXPECT_EQ(a->channel.unseen, row.unseen);
  }
}

TEST(PlainMode, ATimeLimitWaitsForEachAnswerAndEndsTheForm) {
  const auto a = AnswerChecked({"443", "ANN", TimePasses}, std::chrono::seconds(30));
  EXPECT_EQ(a->end, FormEntryEnd::TimedOut);
  EXPECT_EQ(a->channel.limits, std::vector<std::chrono::milliseconds>(3, std::chrono::seconds(30)));
  EXPECT_EQ(a->values[0].Get<std::int32_t>(), 80);
  EXPECT_STREQ(a->name, "");
  const std::string& said = a->channel.said;
  EXPECT_NE(said.find("Each question waits 30 seconds for an answer.\n"), std::string::npos) << said;
  EXPECT_NE(said.find("No answer for 30 seconds: the form ends.\n"), std::string::npos) << said;
}

}  // namespace

}  // namespace formreel
