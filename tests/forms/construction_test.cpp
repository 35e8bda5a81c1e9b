#include "forms/core/construction.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "forms/core/descriptor.h"
#include "forms/core/layout.h"
#include "tests/support/value_slots.h"

namespace formreel {

namespace {

// Handles as map keys: only their addresses matter.
const void* Key(ControlHandle handle) { return handle.As<const void>(); }

using namespace std::string_literals;
using Calls = std::vector<std::string>;

std::string BoxText(Box b) {
  return std::to_string(b.x) + "," + std::to_string(b.y) + " " + std::to_string(b.width) + "x" +
         std::to_string(b.height);
}

// Records every call as one line of text, each control as the window makes
// it (its class, style, box and identifier from the layout); handles are
// named by identifier. Its controls hold their texts as a control that
// cannot show bytes above 127 would ('?' for each), and selecting an entry
// shows the entry's text.
class RecordingFactory final : public FormControlFactory {
 public:
  void TextLine(std::int32_t, TextView) override {}
  ControlHandle CreateField(std::int32_t field, std::int32_t line, const FieldKind& kind, TextView) override {
    return Record(FieldWindowControl(formState.metrics, field, line, kind), "");
  }
  ControlHandle CreatePosition(std::int32_t, std::int32_t line, const FieldKind& kind, std::int32_t index,
                               std::int32_t count, std::int32_t number, const char* caption, TextView) override {
    return Record(PositionWindowControl(formState.metrics, line, kind, index, count, number), caption);
  }
  ControlHandle CreateFormButton(FormButton button, const char* caption) override {
    return Record(FormButtonWindowControl(formState.metrics, button), caption);
  }
  void SetText(ControlHandle c, const char* text) override {
    calls.push_back("text " + Name(c) + " '" + text + "'");
    held_[Key(c)] = text;
    for (char& byte : held_[Key(c)])
      if (static_cast<unsigned char>(byte) > 127) byte = '?';
  }
  void ReadText(ControlHandle c, const FieldKind&, FieldText& text) override { text = FieldText(held_[Key(c)] + '\0'); }
  void AddListEntry(ControlHandle c, const char* text) override {
    calls.push_back("add " + Name(c) + " '" + text + "'");
    entries_[Key(c)].push_back(text);
  }
  void SelectListEntry(ControlHandle c, std::int32_t index) override {
    calls.push_back("select " + Name(c) + " " + std::to_string(index));
    if (index >= 0) held_[Key(c)] = entries_[Key(c)].at(static_cast<std::size_t>(index));
  }
  // The window's item heights: a shown list's rows and selection field, or
  // an empty list's tall drop-down.
  void ListComplete(ControlHandle c, bool shown) override {
    const FormMetrics& m = formState.metrics;
    if (shown) {
      calls.push_back(HeightCall(c, 0, ControlRowHeight(m)));
      calls.push_back(HeightCall(c, -1, ControlRowHeight(m)));
    } else {
      calls.push_back(HeightCall(c, 0, EmptyListItemHeight(m)));
    }
  }
  void SetChecked(ControlHandle c, bool checked) override {
    calls.push_back("check " + Name(c) + (checked ? " on" : " off"));
  }
  void SetCaption(const char* text) override { calls.push_back("caption '"s + text + "'"); }

  std::string Name(ControlHandle handle) const {
    return handle == nullptr ? "null" : std::to_string(ids_.at(Key(handle)));
  }

  Calls calls;

 private:
  ControlHandle Record(const WindowControl& c, const char* caption) {
    const std::string kind = c.style == ListComboStyle        ? "list "s
                             : c.style == EditComboStyle      ? "combo "s
                             : c.style == ScrollingComboStyle ? "scrolling "s
                             : c.style == HiddenTextStyle     ? "hidden "s
                             : c.style == CheckBoxStyle       ? "box '"s + caption + "' "
                                                              : "button '"s + caption + "' ";
    calls.push_back(kind + BoxText(c.box) + " id " + std::to_string(c.id));
    auto handle = ControlHandle(&storage_[ids_.size()]);
    ids_[Key(handle)] = c.id;
    return handle;
  }
  std::string HeightCall(ControlHandle c, int index, std::int32_t height) const {
    return "height " + Name(c) + " " + std::to_string(index) + " " + std::to_string(height);
  }
  char storage_[256] = {};
  std::map<const void*, std::uint32_t> ids_;
  std::map<const void*, std::string> held_;
  std::map<const void*, std::vector<std::string>> entries_;
};

// Builds the form in `formState` as the window does: the metrics of a font
// of these two, the window placed, then every control.
void BuildAsTheWindow(std::int32_t charWidth, std::int32_t lineHeight, RecordingFactory& factory) {
  formState.metrics = MetricsFor(charWidth, lineHeight, LineCountOf(formState));
  factory.calls.push_back("place " + std::to_string(FormWindowWidth(formState.metrics)) + "x" +
                          std::to_string(FormWindowHeight(formState.metrics)));
  BuildForm(formState, factory);
}

// Normalises `descriptor` into a fresh state with the given answers and builds it.
class Built {
 public:
  Built(const std::string& descriptor, std::vector<std::int8_t> selections = {},
        std::vector<ValueSlot> values = {}) {
    formState = FormState{};
    const DescriptorCounts counts = NormaliseDescriptor(
        descriptor.data(), static_cast<std::int32_t>(descriptor.size()), formState.descriptor);
    formState.fieldCount = counts.fieldCount;
    formState.textLineCount = counts.textLineCount;
    formState.descriptorLength = counts.descriptorLength;
    for (std::size_t k = 0; k < selections.size(); ++k) formState.selections[static_cast<int>(k) + 1] = selections[k];
    for (std::size_t k = 0; k < values.size(); ++k) formState.values[static_cast<int>(k) + 1] = values[k];
    BuildAsTheWindow(8, 16, factory);
  }
  const Calls& calls() const { return factory.calls; }
  std::string Focus() const { return factory.Name(formState.controls[FocusTargetSlot]); }
  RecordingFactory factory;
};

// The calls that carry geometry, their numbers taken from the layout: what
// construction decides is which box goes to which control, and for how many
// lines; the numbers themselves are the layout's (layout_test.cpp).
const FormMetrics OneLine = MetricsFor(8, 16, 1);
std::string Place(const FormMetrics& m) {
  return "place " + std::to_string(FormWindowWidth(m)) + "x" + std::to_string(FormWindowHeight(m));
}
std::string Combo(const std::string& kind, const FormMetrics& m, int line, int id) {
  return kind + " " + BoxText(ComboBoxBox(m, line)) + " id " + std::to_string(id);
}
std::string Button(const std::string& caption, Box box, int id) {
  return "button '" + caption + "' " + BoxText(box) + " id " + std::to_string(id);
}
std::string Height(int id, int index, std::int32_t height) {
  return "height " + std::to_string(id) + " " + std::to_string(index) + " " + std::to_string(height);
}
// The form placed, `controls` made, then O.K. and CANCEL.
Calls Framed(const FormMetrics& m, Calls controls) {
  controls.insert(controls.begin(), Place(m));
  controls.push_back(Button("O.K.", OkButtonBox(m), 200));
  controls.push_back(Button("CANCEL", CancelButtonBox(m), 201));
  return controls;
}
// A one-line form of one combo box of `kind`: `filled` are the calls that
// fill it, before its list rows get their height.
Calls OneComboForm(const std::string& kind, Calls filled) {
  const FormMetrics& m = OneLine;
  filled.insert(filled.begin(), Combo(kind, m, 1, 202));
  filled.push_back(Height(202, 0, ControlRowHeight(m)));
  filled.push_back(Height(202, -1, ControlRowHeight(m)));
  return Framed(m, filled);
}

// The first 60 bytes of line n: what an ASCII line shows.
std::string Line(int n) { return std::string(formState.lines[n].View().substr(0, LineWidth)); }

// The calls that set a control's text, in order.
Calls TextCalls(const Built& form) {
  Calls texts;
  for (const std::string& call : form.calls())
    if (call.rfind("text ", 0) == 0) texts.push_back(call);
  return texts;
}

TEST(ConstructionNameForm, OneEditableFieldWithItsListEntry) {
  char name[31] = "CLIP";
  const Built form("CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s, {0}, {Slot(&name[0])});
  EXPECT_EQ(form.calls(), OneComboForm("combo", {"text 202 'CLIP'", "add 202 'Quit NOW '"}));
  EXPECT_EQ(Line(1), "AVI FILE NAME LESS EXTENSION  \0"s + std::string(29, ' '));
  EXPECT_EQ(formState.lineMarks[1], '~');
  EXPECT_EQ(formState.fieldTypes[1], FieldType::TextField);
  EXPECT_EQ(form.Focus(), "202");
  EXPECT_EQ(formState.currentField, 1);
}

TEST(ConstructionNextActionForm, SelectionListAndHeading) {
  const Built form(
      "SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|hOOPS! Chose Next Action|\0"s,
      {1});
  EXPECT_EQ(form.calls(), OneComboForm("list", {
                                                   "add 202 'EXIT PROGRAM'",
                                                   "add 202 'BACKUP ONE FORM'",
                                                   "add 202 'RETURN TO CURRENT FORM'",
                                                   "caption 'OOPS! Chose Next Action'",
                                                   "select 202 0",
                                               }));
  EXPECT_EQ(Line(1).substr(0, 31), "NEXT ACTION                   \0"s);
}

TEST(ConstructionLists, SelectionAndItemHeightsByFieldKind) {
  const Built form("SPICK^|SPICK^A^|CTEXT^A^B^|CPLAIN^|\0"s, {0, 0, 2, 3});
  const Calls& c = form.calls();
  const Calls lists(c.begin() + 10, c.end() - 2);
  const FormMetrics m = MetricsFor(8, 16, 4);
  const std::int32_t row = ControlRowHeight(m);
  EXPECT_EQ(lists, (Calls{
                       "select 202 -1", Height(202, 0, row), Height(202, -1, row),  // S, nothing chosen
                       "select 203 -1", Height(203, 0, row), Height(203, -1, row),
                       "select 204 1", Height(204, 0, row), Height(204, -1, row),   // C with entry 2
                       Height(205, 0, EmptyListItemHeight(m)),                     // no list
                   }));
}

TEST(ConstructionInitialTexts, EveryNumberTypeAndText) {
  char text[40] = "A TEXT OF MORE THAN THIRTY CHARACTERS";
  const Built form("IA^|LB^|RC^|RD^|DE^|RF^|RG^|DH^|DJ^|CK^|CL^|\0"s, {},
                   {Slot<std::int16_t>(42), Slot<std::int32_t>(-7), Slot(0.5f), Slot(-0.25f), Slot(0.0),
                    Slot(5.0f), Slot(123.456f), Slot(1.5e13), Slot(1e300), Slot(&text[0]),
                    Slot<char*>(nullptr)});
  EXPECT_EQ(TextCalls(form), (Calls{
                       "text 202 '42'",
                       "text 203 '-7'",
                       "text 204 '.5'",
                       "text 205 '-.25'",
                       "text 206 '0.0'",
                       "text 207 '5.'",
                       "text 208 '123.456'",
                       "text 209 '15000000000000.'",
                       "text 210 '" + std::string(29, '*') + "'",
                       "text 211 'A TEXT OF MORE THAN THIRTY CHA'",
                       "text 212 ''",
                   }));
}

// A real's initial text comes from its slot's bits: a double's signalling
// not-a-number stays signalling, while a single is widened first, which
// makes it quiet. The slots are filled from the bit patterns, never from a
// real handed over by value.
TEST(ConstructionInitialTexts, NotANumberKeepsItsKindFromTheSlot) {
  const std::string points(23, '.');
  const struct {
    char letter;
    ValueSlot slot;
    std::string shown;
  } rows[] = {
      {'D', Slot<std::uint64_t>(0x7ff0000000000001), "1#SNAN" + points},
      {'D', Slot<std::uint64_t>(0xfff4000000000000), "1#SNAN" + points},
      {'D', Slot<std::uint64_t>(0x7ff7ffffffffffff), "1#SNAN" + points},
      {'D', Slot<std::uint64_t>(0xfff0000000000001), "1#SNAN" + points},
      {'R', Slot<std::uint32_t>(0x7f800001), "1#QNAN" + points},
  };
  std::string descriptor;
  std::vector<ValueSlot> values;
  Calls expected;
  for (const auto& row : rows) {
    descriptor += row.letter + "N^|"s;
    values.push_back(row.slot);
    expected.push_back("text " + std::to_string(202 + expected.size()) + " '" + row.shown + "'");
  }
  const Built form(descriptor + "\0"s, {}, values);
  EXPECT_EQ(TextCalls(form), expected);
}

// What a field showed is read from its control once its text is set: what
// the control holds, before an initial list entry replaces it.
TEST(ConstructionInitialTexts, TheShownTextIsWhatTheControlHolds) {
  char name[31] = "CAF\xC9";
  const Built form("CNAME^ENTRY^|IN^|\0"s, {1, 0}, {Slot(&name[0]), Slot<std::int16_t>(-32768)});
  EXPECT_STREQ(formState.shownTexts[1].Terminated(), "CAF?");
  EXPECT_STREQ(formState.shownTexts[2].Terminated(), "-32768");
}

TEST(ConstructionButtonGroups, RowsNumberedAcrossTheForm) {
  const Built form("BFIRST^SECOND^THIRD^|BNEXT^LAST^|\0"s);
  const FormMetrics m = MetricsFor(8, 16, 2);
  EXPECT_EQ(form.calls(), Framed(m, {
                                        Button("FIRST", GroupButtonBox(m, 1, 1, 3), 305),
                                        Button("SECOND", GroupButtonBox(m, 1, 2, 3), 306),
                                        Button("THIRD", GroupButtonBox(m, 1, 3, 3), 307),
                                        Button("NEXT", GroupButtonBox(m, 2, 1, 2), 308),
                                        Button("LAST", GroupButtonBox(m, 2, 2, 2), 309),
                                    }));
  EXPECT_EQ(formState.lines[1](1), '\0');
  EXPECT_EQ(formState.lines[2](1), '\0');
  EXPECT_EQ(formState.groupStart[1], 0);
  EXPECT_EQ(formState.groupSize[1], 3);
  EXPECT_EQ(formState.groupStart[2], 3);
  EXPECT_EQ(formState.groupSize[2], 2);
  EXPECT_EQ(formState.buttonField[4], 2);
  EXPECT_EQ(formState.controls[1], nullptr);
  EXPECT_EQ(form.Focus(), "305");
  EXPECT_EQ(formState.groupPosition, 1);
}

TEST(ConstructionButtonGroups, CaptionsAreCutToThirty) {
  const Built form("B" + std::string(35, 'P') + "^ONLY^|\0"s);
  EXPECT_EQ(form.calls()[1], Button(std::string(30, 'P'), GroupButtonBox(OneLine, 1, 1, 2), 305));
  const Built one("BALONE^|\0"s);
  EXPECT_EQ(one.calls()[1], Button("ALONE", GroupButtonBox(OneLine, 1, 1, 1), 305));
}

TEST(ConstructionTextLines, CentredInSixtyWithTheOddBlankRight) {
  const Built form("TABCD\\" + std::string(23, 'x') + "\\" + std::string(59, 'y') + "\\|\0"s);
  EXPECT_EQ(Line(1), std::string(28, ' ') + "ABCD" + std::string(28, ' '));
  EXPECT_EQ(Line(2), std::string(18, ' ') + std::string(23, 'x') + std::string(19, ' '));
  EXPECT_EQ(Line(3), std::string(59, 'y') + " ");
  EXPECT_EQ(formState.metrics.lineCount, 3);
  EXPECT_EQ(form.Focus(), "200");  // no fields: O.K.
}

TEST(ConstructionPrompts, PaddedToThirtyWithANulInThirtyOne) {
  const Built form("C" + std::string(40, 'Q') + "^|C^|\0"s);
  EXPECT_EQ(Line(1), std::string(30, 'Q') + "\0"s + std::string(9, 'Q') + std::string(20, ' '));
  EXPECT_EQ(Line(2), std::string(30, ' ') + "\0"s + std::string(29, ' '));
}

// In UTF-8: "ИМЯ" is 6 bytes in 3 columns, "名前" 6 bytes in 4.
TEST(ConstructionInUtf8, LinesAndPromptsCountColumns) {
  std::string letters31;
  for (int k = 0; k < 31; ++k) letters31 += "Ж";
  struct Case {
    std::string descriptor;
    int line;
    std::string shown;  // the line up to its NUL, or its first bytes
  } const cases[] = {
      {"TИМЯ\\|\0"s, 1, std::string(28, ' ') + "ИМЯ" + std::string(29, ' ')},
      {"T名前\\|\0"s, 1, std::string(28, ' ') + "名前" + std::string(28, ' ')},
      {"CИМЯ^|\0"s, 1, "ИМЯ" + std::string(27, ' ') + "\0"s},
      {"C" + letters31 + "^|\0"s, 1, letters31.substr(0, 60) + "\0"s},
      {"C" + std::string(29, 'x') + "名^|\0"s, 1, std::string(29, 'x') + " \0"s},
  };
  for (const Case& c : cases) {
    formState = FormState{};
    formState.codePage = Utf8Page;
    const DescriptorCounts counts = NormaliseDescriptor(c.descriptor.data(),
                                                        static_cast<std::int32_t>(c.descriptor.size()), formState.descriptor);
    formState.fieldCount = counts.fieldCount;
    formState.textLineCount = counts.textLineCount;
    formState.descriptorLength = counts.descriptorLength;
    RecordingFactory factory;
    BuildAsTheWindow(8, 16, factory);
    EXPECT_EQ(std::string(formState.lines[c.line].View().substr(0, c.shown.size())), c.shown) << c.descriptor;
  }
}

TEST(ConstructionInUtf8, CaptionsAndCallerTextsKeepWholeCharacters) {
  // 31 bytes without a NUL: "a" and 15 letters, the last cut by byte 30.
  char text[31] = {};
  const std::string typed = "aЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖ";
  std::memcpy(text, typed.data(), 31);
  formState = FormState{};
  const std::string descriptor = "B" + std::string(28, 'x') + "名^|C^|\0"s;
  const DescriptorCounts counts =
      NormaliseDescriptor(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), formState.descriptor);
  formState.codePage = Utf8Page;
  formState.fieldCount = counts.fieldCount;
  formState.descriptorLength = counts.descriptorLength;
  formState.values[2].Put(static_cast<char*>(text));
  RecordingFactory factory;
  BuildAsTheWindow(8, 16, factory);
  EXPECT_EQ(factory.calls[1], Button(std::string(28, 'x') + "名", GroupButtonBox(MetricsFor(8, 16, 2), 1, 1, 1), 305));
  EXPECT_EQ(factory.calls[3], "text 203 '" + typed.substr(0, 29) + "'");
}

TEST(ConstructionSpacing, ElevenLinesArePacked) {
  std::string descriptor = "T";
  for (int k = 0; k < 10; ++k) descriptor += "LINE\\";
  descriptor += "|IN^|\0"s;
  const Built form(descriptor, {}, {Slot<std::int16_t>(0)});
  const FormMetrics m = MetricsFor(8, 16, 11);  // text lines count as lines
  EXPECT_EQ(form.calls()[0], Place(m));
  EXPECT_EQ(form.calls()[1], Combo("combo", m, 11, 202));
  EXPECT_EQ(form.calls().end()[-2], Button("O.K.", OkButtonBox(m), 200));
  EXPECT_EQ(form.calls().end()[-3], Height(202, 0, EmptyListItemHeight(m)));
}

}  // namespace

}  // namespace formreel
