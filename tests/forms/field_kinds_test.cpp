#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/value_slots.h"

namespace formreel {

namespace {

// What the steps of a form ask of a letter, as they stand in a normalised
// descriptor; anything else, a lower-case letter or a NUL included, is no
// item at all.
TEST(FieldKinds, WhatEachLetterIs) {
  using enum ControlKind;
  struct Row {
    char letter;
    bool item, field, number;
    ControlKind control;
    int maxBytes;
  };
  const Row rows[] = {
      {'C', true, true, false, EditableList, 30},  {'X', true, true, false, EditableList, 255},
      {'P', true, true, false, HiddenText, 255},   {'I', true, true, true, EditableList, 79},
      {'L', true, true, true, EditableList, 79},   {'R', true, true, true, EditableList, 79},
      {'D', true, true, true, EditableList, 79},   {'S', true, true, false, ListOnly, 0},
      {'B', true, true, false, ButtonRow, 0},      {'M', true, true, false, CheckBoxes, 0},
      {'T', true, false, false, None, 0},          {'H', true, false, false, None, 0},
      {'c', false, false, false, None, 0},         {'Y', false, false, false, None, 0},
      {'\\', false, false, false, None, 0},        {' ', false, false, false, None, 0},
      {'\0', false, false, false, None, 0},
  };
  for (const Row& row : rows) {
    const FieldKind& kind = KindOf(row.letter);
    EXPECT_EQ(kind.IsItem(), row.item) << row.letter;
    EXPECT_EQ(kind.IsField(), row.field) << row.letter;
    EXPECT_EQ(kind.IsTextItem(), row.item && !row.field) << row.letter;
    EXPECT_EQ(kind.IsNumber(), row.number) << row.letter;
    EXPECT_EQ(kind.control, row.control) << row.letter;
    EXPECT_EQ(kind.maxBytes, row.maxBytes) << row.letter;
  }
}

// The text a number field starts with reads back, by the same field's input
// rule, as the value it was made from: the show and read of each row belong
// to one type.
TEST(FieldKinds, ShownNumbersReadBackAsTheSameValue) {
  struct Row {
    char letter;
    ValueSlot value;
  };
  const Row rows[] = {
      {'I', Slot(std::int16_t{-32767})}, {'L', Slot(std::int32_t{2147483647})},
      {'R', Slot(-1234.5f)},             {'D', Slot(0.5)},
      {'D', Slot(98765.4321)},
  };
  for (const Row& row : rows) {
    const FieldKind& kind = KindOf(row.letter);
    FieldText text;
    kind.showValue(row.value, SingleBytePage, text);
    const std::string shown(text.Terminated());
    Record typed;  // blanks after the text
    for (std::size_t k = 0; k < shown.size(); ++k) typed.Set(static_cast<int>(k) + 1, shown[k]);
    ValueSlot back = Slot(std::int64_t{-1});
    ASSERT_EQ(kind.readValue(typed, back), RecordStatus::Ok) << row.letter << " " << shown;
    EXPECT_EQ(back, row.value) << row.letter << " " << shown;
  }
}

// A C field's printed value is its buffer's text; a field with no buffer
// prints nothing.
TEST(FieldKinds, TextAnswerIsTheBufferOrNothing) {
  char buffer[TextValueLength + 1] = "CLIP";
  EXPECT_EQ(KindOf('C').answerText(Slot(&buffer[0])), "CLIP");
  EXPECT_EQ(KindOf('C').answerText(Slot(static_cast<char*>(nullptr))), "");
}

// A refusal names the field, the reason with the bounds the type has, and
// the text; the reals have no bounds worth saying.
TEST(FieldWords, RefusalsSayTheBoundsOfTheType) {
  EXPECT_EQ(RefusalLine("YEAR", NotConvertedReason(KindOf('I')), "19x4"),
            "YEAR: not a 16-bit integer (-32768 to 32767): 19x4");
  EXPECT_EQ(NotConvertedReason(KindOf('L')), "not a 32-bit integer (-2147483648 to 2147483647)");
  EXPECT_EQ(NotConvertedReason(KindOf('R')), "not a single-precision real number");
  EXPECT_EQ(RefusalLine("NAME", TooLongReason(30), ""), "NAME: at most 30 bytes");
  EXPECT_EQ(NumberInWords(KindOf('C')), "");
}

}  // namespace

}  // namespace formreel
