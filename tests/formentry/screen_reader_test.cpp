// What a person who cannot see the screen hears of formentry: Debian's
// console screen reader fenrir runs it in its shell, keys are typed through
// fenrir one at a time, and what fenrir speaks after each step is read back
// (tests/driver/fenrir_session.h). Expectations are written as heard:
// fenrir says "-" as "dash" and drops "=" and brackets. Each test prints
// its transcript.
#include <gtest/gtest.h>

#include <functional>
#include <iostream>

#include "tests/driver/fenrir_session.h"

namespace {

constexpr Milliseconds SpeechLimit{10000};
constexpr Milliseconds Quiet{600};

const std::string Form =
    "HNew clip|TDescribe the clip to add\\|CNAME^|SKIND^FILM^CARTOON^NEWS^|IYEAR^|BSAVE^SAVE AND PLAY^|";

class FormentryHeard : public testing::Test {
 protected:
  void SetUp() override {
    if (const std::string missing = MissingFenrir(); !missing.empty()) GTEST_SKIP() << "needs " << missing;
    ASSERT_TRUE(fenrir_.Start()) << fenrir_.Screen();
  }
  void TearDown() override { std::cout << "What fenrir said:\n" << transcript_; }

  // Does `act`, waits until fenrir has said `expected` and then gone quiet,
  // and returns what it said, as heard, an utterance a line.
  std::string Step(const std::string& name, const std::function<bool()>& act, const std::string& expected) {
    const std::size_t mark = fenrir_.Mark();
    EXPECT_TRUE(act()) << name;
    EXPECT_TRUE(fenrir_.WaitFor(expected, mark, SpeechLimit)) << name << ": \"" << expected << "\" not heard";
    fenrir_.WaitForSilence(Quiet, SpeechLimit);
    std::string said;
    for (const std::string& utterance : fenrir_.SpokenSince(mark)) said += Heard(utterance) + "\n";
    transcript_ += name + ":\n" + said;
    return said;
  }
  // Types `text`, then presses `key`.
  std::function<bool()> Typed(const std::string& text, const std::string& key) {
    return [this, text, key] { return fenrir_.Type(text) && fenrir_.Press(key); };
  }
  std::function<bool()> Pressed(const std::string& key) {
    return [this, key] { return fenrir_.Press(key); };
  }
  std::function<bool()> Ran(const std::vector<std::string>& arguments) {
    std::string command = ShellQuoted(FORMREEL_NATIVE_FORMENTRY);
    for (const std::string& argument : arguments) command += " " + ShellQuoted(argument);
    return [this, command] { return fenrir_.Run(command); };
  }

  FenrirSession fenrir_;
  std::string transcript_;
};

// Whether `said` holds `text` as heard, one utterance running on into the
// next as a listener hears them.
testing::AssertionResult HeardIn(const std::string& said, const std::string& text) {
  if (Heard(said).find(Heard(text)) != std::string::npos) return testing::AssertionSuccess();
  return testing::AssertionFailure() << "\"" << Heard(text) << "\" not heard in:\n" << said;
}

TEST_F(FormentryHeard, ThePlainModeSaysEveryFieldItsKindARefusalAndTheEnd) {
  std::string said = Step("start", Ran({"--plain", Form}), "New value, an equals sign alone to empty it, or ENTER");
  EXPECT_TRUE(HeardIn(said, "Describe the clip to add"));
  EXPECT_TRUE(HeardIn(said, "ENTER alone keeps a field as it is"));
  EXPECT_TRUE(HeardIn(said, "Field 1 of 4: NAME"));
  EXPECT_TRUE(HeardIn(said, "Text of at most 30 bytes."));

  said = Step("CLIP, ENTER", Typed("CLIP", "Enter"), "Entry number, 0 for none, or ENTER to keep it");
  EXPECT_TRUE(HeardIn(said, "Field 2 of 4: KIND"));
  EXPECT_TRUE(HeardIn(said, "A choice of 3 entries."));
  for (const char* entry : {"Entry 1: FILM", "Entry 2: CARTOON", "Entry 3: NEWS"}) EXPECT_TRUE(HeardIn(said, entry));

  said = Step("2, ENTER", Typed("2", "Enter"), "New value, an equals sign alone to empty it");
  EXPECT_TRUE(HeardIn(said, "Field 3 of 4: YEAR"));
  EXPECT_TRUE(HeardIn(said, "Takes a 16 dash bit integer dash 32768 to 32767."));

  Step("19x4, ENTER", Typed("19x4", "Enter"), "YEAR: not a 16 dash bit integer dash 32768 to 32767: 19x4");

  said = Step("1994, ENTER", Typed("1994", "Enter"), "Button number to press it, or ENTER to go on");
  EXPECT_TRUE(HeardIn(said, "Button 2: SAVE AND PLAY"));

  said = Step("ENTER", Pressed("Enter"), "Y to confirm, N to cancel");
  EXPECT_TRUE(HeardIn(said, "2 KIND: entry 2, CARTOON"));
  EXPECT_TRUE(HeardIn(said, "3 YEAR: 1994"));

  said = Step("y, ENTER", Typed("y", "Enter"), FenrirSession::Prompt);
  EXPECT_TRUE(HeardIn(said, "CLIP, CARTOON, 1994"));
}

// The full-screen form, heard through its status and message rows: what
// the focused field takes as the focus comes to it, a list named as one
// (never its mark), and a refusal with its reason.
TEST_F(FormentryHeard, TheFullScreenFormSaysWhatEachFieldTakesAndWhyAValueIsRefused) {
  Step("start", Ran({Form}), "New clip");

  std::string said =
      Step("CLIP, TAB", Typed("CLIP", "Tab"), "KIND: a list of 3 entries; UP and DOWN step it, F4 shows it");
  EXPECT_EQ(said.find("tilde"), std::string::npos) << said;

  Step("DOWN", Pressed("Down"), "FILM");
  Step("TAB", Pressed("Tab"), "YEAR: a 16 dash bit integer dash 32768 to 32767");
  Step("19x4, CTRL-J", Typed("19x4", "C-j"), "YEAR: not a 16 dash bit integer dash 32768 to 32767: 19x4");

  said = Step("1994, CTRL-J", Typed("1994", "C-j"), FenrirSession::Prompt);
  EXPECT_TRUE(HeardIn(said, "CLIP, FILM, 1994"));
}

// A box heard as the focus comes to it and as SPACE checks it: the status
// row says which box, and whether it is checked.
TEST_F(FormentryHeard, TheFullScreenFormSaysWhichBoxHasTheFocusAndWhetherItIsChecked) {
  Step("start", Ran({"CNAME^|MGENRES^FILM^NEWS^|"}), "GENRES");
  Step("TAB", Pressed("Tab"), "GENRES: FILM, box 1 of 2, not checked; SPACE checks or clears it");
  const std::string said = Step("SPACE", Pressed("Space"), "GENRES: FILM, box 1 of 2, checked");
  EXPECT_TRUE(HeardIn(said, "GENRES x FILM NEWS"));
  Step("CTRL-J", Pressed("C-j"), FenrirSession::Prompt);
}

}  // namespace
