#include "forms/core/read_back.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <map>
#include <string>

#include "forms/core/descriptor.h"
#include "tests/support/value_slots.h"

namespace formreel {

namespace {

using namespace std::string_literals;

// Controls whose chosen entries and texts a test sets; records what was read.
class FakeControls final : public FieldControls {
 public:
  std::int32_t ChosenEntry(std::int32_t field) override {
    asked += std::to_string(field);
    return chosen.count(field) ? chosen[field] : -1;
  }
  std::int32_t ReadText(std::int32_t field, FieldText& into) override {
    const std::string& text = texts[field];
    const std::size_t n = std::min<std::size_t>(text.size(), FieldText::length - 1);
    for (std::size_t k = 0; k < n; ++k) into.Set(static_cast<int>(k) + 1, text[k]);
    into.Set(static_cast<int>(n) + 1, Nul);
    return static_cast<std::int32_t>(n);
  }
  std::uint8_t CheckedBoxes(std::int32_t field) override { return boxes[field]; }
  std::map<int, std::uint8_t> boxes;
  std::map<int, std::int32_t> chosen;
  std::map<int, std::string> texts;
  std::string asked;
};

ValueSlot Garbage() {
  ValueSlot slot;
  std::memset(slot.bytes, 0xA5, sizeof slot.bytes);
  return slot;
}

// A form state of the given field letters (digits after B give group sizes);
// every field showed "SHOWN", which no test types unless it means to.
void Prepare(const std::string& letters) {
  formState = FormState{};
  int field = 0;
  for (std::size_t k = 0; k < letters.size(); ++k) {
    ++field;
    formState.fieldTypes[field] = static_cast<FieldType>(letters[k]);
    formState.values[field] = Garbage();
    formState.selections[field] = 99;
    formState.shownTexts[field] = FieldText("SHOWN\0"s);
    if (letters[k] == 'B') {
      const int size = letters[++k] - '0';
      formState.groupStart[field] = formState.buttonCount;
      formState.groupSize[field] = size;
      for (int b = 0; b < size; ++b) formState.buttonField[++formState.buttonCount] = field;
    }
  }
  formState.fieldCount = field;
}

struct NumberCase {
  char letter;
  std::string typed;
  std::string expected;  // the value read back, as text
};

std::string ValueText(char letter, const ValueSlot& slot) {
  switch (letter) {
    case 'I': return std::to_string(slot.Get<std::int16_t>());
    case 'L': return std::to_string(slot.Get<std::int32_t>());
    case 'R': return std::to_string(slot.Get<float>());
    default: return std::to_string(slot.Get<double>());
  }
}

TEST(ReadBackNumbers, TypedTextBecomesTheFieldsType) {
  const NumberCase cases[] = {
      {'I', "12", "12"},
      {'I', "", "0"},
      {'I', "   -7 ", "-7"},
      {'I', std::string(29, '0') + "1234", "1"},  // only the first 30 columns
      {'L', "2147483647", "2147483647"},
      {'L', "16#FF", "255"},
      {'L', "", "0"},
      {'R', "1.5", "1.500000"},
      {'R', "", "0.000000"},
      {'R', "-.25", "-0.250000"},
      {'D', "1.5D3", "1500.000000"},
      {'D', "", "0.000000"},
  };
  for (const NumberCase& c : cases) {
    Prepare(std::string(1, c.letter));
    FakeControls controls;
    controls.texts[1] = c.typed;
    PendingTexts pending;
    EXPECT_TRUE(ReadBackFields(formState, 0, controls, pending)) << c.typed;
    EXPECT_EQ(formState.selections[1], 0);
    EXPECT_EQ(ValueText(c.letter, formState.values[1]), c.expected) << c.letter << " " << c.typed;
    EXPECT_TRUE(formState.confirmed);
    EXPECT_FALSE(formState.readBackIncomplete);
  }
}

TEST(ReadBackNumbers, BytesBeyondTheValueAreZero) {
  Prepare("ILR");
  FakeControls controls;
  controls.texts = {{1, "-1"}, {2, "-1"}, {3, "-1"}};
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  const unsigned char expected[3][8] = {{0xFF, 0xFF, 0, 0, 0, 0, 0, 0},
                                        {0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0},
                                        {0x00, 0x00, 0x80, 0xBF, 0, 0, 0, 0}};
  for (int i = 1; i <= 3; ++i)
    EXPECT_EQ(std::memcmp(formState.values[i].bytes, expected[i - 1], 8), 0) << i;
}

TEST(ReadBackChoices, AChosenEntryIsReturnedAsItsNumberAlone) {
  Prepare("ICS");
  char buffer[31] = "BEFORE";
  formState.values[2] = Slot(&buffer[0]);
  FakeControls controls;
  controls.chosen = {{1, 1}, {2, 0}};
  controls.texts = {{1, "NOT A NUMBER"}, {2, "Quit NOW "}};
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  DeliverPendingTexts(formState, pending);
  EXPECT_EQ(formState.selections[1], 2);
  EXPECT_EQ(formState.selections[2], 1);
  EXPECT_EQ(formState.selections[3], 0);  // S with nothing chosen
  EXPECT_EQ(formState.values[1], Garbage());
  EXPECT_STREQ(buffer, "BEFORE");
}

TEST(ReadBackText, TypedTextGoesToTheCallersBufferOnlyWhenDelivered) {
  Prepare("CCCX");
  char first[40], third[31], fourth[256];
  std::memset(first, '#', sizeof first);
  std::memset(third, '#', sizeof third);
  std::memset(fourth, '#', sizeof fourth);
  formState.values[1] = Slot(&first[0]);
  formState.values[2] = Slot<char*>(nullptr);
  formState.values[3] = Slot(&third[0]);
  formState.values[4] = Slot(&fourth[0]);
  FakeControls controls;
  controls.texts = {{1, "CLIP"}, {2, "NOWHERE"}, {3, std::string(35, 'x')}, {4, std::string(300, 'y')}};
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(first[0], '#');
  DeliverPendingTexts(formState, pending);
  EXPECT_EQ(std::string(first, 6), "CLIP\0#"s);
  EXPECT_EQ(std::string(third, 31), std::string(30, 'x') + "\0"s);
  EXPECT_EQ(std::string(fourth, 256), std::string(255, 'y') + "\0"s);  // a long text's 255 bytes
}

TEST(ReadBackText, AUtf8TextIsCutAtItsLastWholeCharacter) {
  Prepare("C");
  formState.codePage = Utf8Page;
  char buffer[31];
  formState.values[1] = Slot(&buffer[0]);
  FakeControls controls;
  const std::string typed = "aЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";  // 33 bytes; byte 30 is half a letter
  controls.texts = {{1, typed}};
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  DeliverPendingTexts(formState, pending);
  EXPECT_EQ(std::string(buffer), typed.substr(0, 29));
}

TEST(ReadBackGroups, OnlyThePressedGroupAnswers) {
  Prepare("B3CB2");
  FakeControls controls;
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 2, controls, pending));  // second button of the first group
  EXPECT_EQ(formState.selections[1], 2);
  EXPECT_EQ(formState.selections[3], 0);
  EXPECT_EQ(controls.asked, "2");  // groups ask no control
  ASSERT_TRUE(ReadBackFields(formState, 5, controls, pending));  // last button of the second group
  EXPECT_EQ(formState.selections[1], 0);
  EXPECT_EQ(formState.selections[3], 2);
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.selections[1], 0);
  EXPECT_EQ(formState.selections[3], 0);
  ASSERT_TRUE(ReadBackFields(formState, 9, controls, pending));  // no such button in this form
  EXPECT_EQ(formState.selections[1], 0);
}

// Nothing is stored: the values stay the caller's until every field converted.
TEST(ReadBackFailure, StopsAtTheFieldThatDoesNotConvert) {
  Prepare("CRIL");
  char buffer[31] = "OLD";
  formState.values[1] = Slot(&buffer[0]);
  int sentinel = 0;
  formState.controls[3] = ControlHandle(&sentinel);
  FakeControls controls;
  controls.texts = {{1, "NEW"}, {2, "2.5"}, {3, "40000"}, {4, "5"}};
  PendingTexts pending;
  EXPECT_FALSE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.currentField, 3);
  EXPECT_EQ(formState.controls[FocusTargetSlot], formState.controls[3]);
  EXPECT_TRUE(formState.confirmed);
  EXPECT_TRUE(formState.readBackIncomplete);
  EXPECT_EQ(formState.values[2], Garbage());  // converted, not stored
  EXPECT_EQ(formState.selections[3], 0);      // its selection is new
  EXPECT_EQ(formState.values[3], Garbage());  // its value is not
  EXPECT_EQ(formState.selections[4], 99);     // field 4 is not read
  EXPECT_EQ(formState.values[4], Garbage());
  EXPECT_EQ(controls.asked, "123");
  EXPECT_STREQ(buffer, "OLD");
}

// A real too large for a single stops an R field, while a D field takes it.
TEST(ReadBackFailure, BeyondTheSingleRangeStopsOnlyARealField) {
  Prepare("RD");
  FakeControls controls;
  controls.texts = {{1, "1E39"}, {2, "1E39"}};
  PendingTexts pending;
  EXPECT_FALSE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.currentField, 1);
  EXPECT_EQ(formState.values[1], Garbage());

  controls.texts[1] = "1E38";
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.values[1].Get<float>(), 1e38f);
  EXPECT_EQ(formState.values[2].Get<double>(), 1e39);
}

TEST(ReadBackUntouched, NoEntryChosenAndTheSameBytes) {
  struct Case {
    std::int8_t selection;
    std::string text;
    std::string shown;
    bool untouched;
  };
  const Case cases[] = {
      {0, "3.14159265358979", "3.14159265358979", true},
      {0, "", "", true},
      {0, "1#INF", "1#INF", true},
      {1, "3.14159265358979", "3.14159265358979", false},  // an entry chosen
      {0, "3.14159265358978", "3.14159265358979", false},
      {0, "3.1415926535897", "3.14159265358979", false},
      {0, "3.14159265358979 ", "3.14159265358979", false},
      {0, "", "0", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsUntouched(c.selection, c.text, c.shown), c.untouched)
        << int{c.selection} << " '" << c.text << "' '" << c.shown << "'";
}

// Untouched fields keep the caller's slot and text, though their texts would
// not convert or would cut the caller's text.
TEST(ReadBackUntouched, KeepsTheCallersValueAndText) {
  Prepare("DICR");
  char buffer[41];
  std::memset(buffer, 'x', 40);
  buffer[40] = Nul;
  formState.values[3] = Slot(&buffer[0]);
  const std::string shown[] = {"**************", "-32768", std::string(30, 'x'), "7"};
  FakeControls controls;
  for (int i = 1; i <= 4; ++i) {
    formState.shownTexts[i] = FieldText(shown[i - 1] + "\0"s);
    controls.texts[i] = shown[i - 1];
  }
  controls.texts[4] = "8";  // touched
  PendingTexts pending;
  ASSERT_TRUE(ReadBackFields(formState, 0, controls, pending));
  DeliverPendingTexts(formState, pending);
  EXPECT_EQ(formState.values[1], Garbage());
  EXPECT_EQ(formState.values[2], Garbage());
  EXPECT_EQ(std::string(buffer), std::string(40, 'x'));
  EXPECT_EQ(formState.values[4], Slot(8.0f));
}

// A program's checks refuse an answer as a text that does not convert is
// refused: the walk stops on the field, with the reason in words; the
// caller's own value is checked too, and a chosen entry as if typed.
TEST(ReadBackChecks, ABoundARequirementOrTheProgramsOwnCheckStopsTheWalk) {
  FieldCheck port;
  port.bounded = true;
  port.lowest = 1;
  port.highest = 65535;
  FieldCheck required;
  required.required = true;
  FieldCheck even;
  even.own = [](const FieldAnswer& a) { return a.value.Get<std::int32_t>() % 2 == 0 ? "" : "not even"; };
  FieldCheck entry;  // sees a chosen entry's text
  entry.own = [](const FieldAnswer& a) { return a.text == "0" ? "the entry 0" : ""; };
  struct Case {
    std::string letters;
    FieldCheck check;
    std::string typed;  // "" leaves the field as it was shown ("SHOWN") unless chosen
    std::int32_t chosen;
    std::string refusal;
  };
  const Case cases[] = {
      {"L", port, "70000", -1, "1 to 65535"},
      {"L", port, "0", -1, "1 to 65535"},
      {"L", port, "65535", -1, ""},
      {"L", port, "7x", -1, "not a 32-bit integer (1 to 65535)"},
      {"L", port, "", 0, "1 to 65535"},  // the entry "0", chosen
      {"C", required, "", -1, ""},       // "SHOWN" is kept
      {"C", required, " ", -1, ""},
      {"S", required, "", -1, "required"},
      {"S", required, "", 1, ""},
      {"S", entry, "", 0, "the entry 0"},
      {"I", required, "", -1, ""},       // a number is never empty
      {"L", even, "7", -1, "not even"},
      {"L", even, "8", -1, ""},
  };
  for (const Case& c : cases) {
    Prepare(c.letters);
    formState.values[1] = Slot(std::int32_t{0});
    const FieldCheck checks[] = {c.check};
    formState.rules.checks = checks;
    FakeControls controls;
    controls.texts[1] = c.typed.empty() && c.chosen < 0 ? "SHOWN" : c.typed;
    if (c.chosen >= 0) {
      controls.chosen[1] = c.chosen;
      controls.texts[1] = "0";
    }
    PendingTexts pending;
    EXPECT_EQ(ReadBackFields(formState, 0, controls, pending), c.refusal.empty()) << c.letters << " " << c.typed;
    EXPECT_EQ(formState.refusal, c.refusal) << c.letters << " '" << c.typed << "'";
  }
  // The caller's own value, untouched, is checked as well; a not-a-number
  // lies within no bounds.
  Prepare("LR");
  formState.values[1] = Slot(std::int32_t{5});
  formState.values[2] = Slot(std::numeric_limits<float>::quiet_NaN());
  const FieldCheck checks[] = {port, port};
  formState.rules.checks = checks;
  FakeControls controls;
  controls.texts = {{1, "SHOWN"}, {2, "SHOWN"}};
  PendingTexts pending;
  EXPECT_FALSE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.currentField, 2);
}

// Check boxes left empty are refused at their first box, wherever the
// focus stood in the row.
TEST(ReadBackChecks, RequiredCheckBoxesAreRefusedAtTheirFirstBox) {
  Prepare("M");
  int box = 0;
  formState.checkBoxes[1] = ControlHandle(&box);
  formState.groupSize[1] = formState.groupPosition = 3;
  FieldCheck checks[1];
  checks[0].required = true;
  formState.rules.checks = checks;
  FakeControls controls;
  PendingTexts pending;
  EXPECT_FALSE(ReadBackFields(formState, 0, controls, pending));
  EXPECT_EQ(formState.groupPosition, 1);
  EXPECT_EQ(formState.controls[FocusTargetSlot], formState.checkBoxes[1]);
}

TEST(ReadBackAlignment, RightAlignsShortTextsInThirtyColumns) {
  // Named: built from a temporary, i686 g++ 12 -O2 warns of a copy out of its
  // bounds that does not happen (-Warray-bounds).
  const std::string text = "12\0"s + std::string(77, '#');
  Record scratch(text);
  AlignNumberText(scratch, 2);
  EXPECT_EQ(std::string(scratch.View().substr(0, 31)), std::string(28, ' ') + "12#");
  Record empty("\0"s);
  AlignNumberText(empty, 0);
  EXPECT_EQ(std::string(empty.View().substr(0, 30)), std::string(29, ' ') + "0");
  Record full(std::string(35, '9'));
  AlignNumberText(full, 35);
  EXPECT_EQ(std::string(full.View().substr(0, 35)), std::string(35, '9'));
}

}  // namespace

}  // namespace formreel
