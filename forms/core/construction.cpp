#include "forms/core/construction.h"

#include <algorithm>

#include "forms/core/descriptor_scan.h"
#include "forms/core/field_kinds.h"
#include "forms/core/navigation.h"

namespace formreel {

namespace {

constexpr char ChoiceMark = '~';

// Builds lines and controls event by event, as the scan reports them.
class FormBuilder final : public DescriptorEvents {
 public:
  FormBuilder(FormState& state, FormControlFactory& factory)
      : state_(state), factory_(factory), metrics_(state.metrics) {}

  // Centred by the columns it fills, not by its bytes.
  void TextLine(TextView text) override {
    FixedText<LineBytes>& line = state_.lines[++line_];
    const std::size_t columns = TextColumns(state_.codePage, text);
    const std::size_t padding = columns < LineWidth ? (LineWidth - columns) / 2 : 0;
    line = FixedText<LineBytes>();
    AssignText(line.All().subspan(padding), text);
  }

  void Field(TextView prompt, char letter) override {
    letter_ = letter;  // the item's choices belong to this field
    ++line_;
    ++field_;
    FixedText<LineBytes>& line = state_.lines[line_];
    AssignText(line.All(), prompt);
    // The prompt's first 30 columns, blank-filled to 30, end at the NUL.
    const TextExtent shown = WholePrefix(state_.codePage, prompt, LineBytes, PromptWidth);
    const auto end = static_cast<int>(shown.bytes + (PromptWidth - shown.columns));
    for (int p = static_cast<int>(shown.bytes) + 1; p <= end; ++p) line.Set(p, Blank);
    line.Set(end + 1, Nul);
    state_.controls[field_] = nullptr;

    const FieldKind& kind = KindOf(letter);
    if (kind.shape == ItemShape::ButtonGroup) {
      captionCount_ = 0;
      if (kind.promptIsFirstChoice) AddCaption(prompt);
      return;
    }
    if (kind.ComboStyle() == 0) return;
    state_.controls[field_] = CreateComboBox(kind.ComboStyle());
    if (kind.showValue == nullptr) return;
    kind.showValue(state_.values[field_], state_.codePage, state_.scratch);
    factory_.SetText(state_.controls[field_], state_.scratch.Terminated());
    // Read back rather than copied: a control may not hold every byte it
    // was given, and the user sees what it holds.
    factory_.ReadText(state_.controls[field_], state_.shownTexts[field_]);
  }

  void Choice(TextView text) override {
    ToScratch(text);
    if (KindOf(letter_).shape == ItemShape::ButtonGroup) {
      AddCaption(text);
      return;
    }
    state_.hasChoices[field_] = true;
    factory_.AddListEntry(state_.controls[field_], state_.scratch.Terminated());
    state_.lineMarks[line_] = ChoiceMark;
  }

  void ItemEnd(char letter, TextView lastSegment) override {
    switch (KindOf(letter).shape) {
      case ItemShape::ButtonGroup: CreateGroup(); break;
      case ItemShape::ComboField: state_.fieldTypes[field_] = static_cast<FieldType>(letter); break;
      case ItemShape::Heading:
        ToScratch(lastSegment);
        factory_.SetCaption(state_.scratch.Terminated());
        break;
      default: break;
    }
  }

 private:
  ControlHandle CreateComboBox(std::uint32_t style) {
    return factory_.CreateComboBox(style, ComboBoxBox(metrics_, line_),
                                   IdFirstFieldControl - 1 + static_cast<std::uint32_t>(field_));
  }

  // `text` followed by a NUL in scratch (cut to the whole characters of 79 bytes).
  void ToScratch(TextView text) {
    const TextView whole = text.first(WholePrefix(state_.codePage, text, ScratchWidth - 1, NoLimit).bytes);
    AssignText(state_.scratch.All(), whole);
    state_.scratch.Set(static_cast<int>(whole.size()) + 1, Nul);
  }

  // A group button caption: its first 30 columns, NUL-ended.
  void AddCaption(TextView text) {
    ++state_.buttonCount;
    FixedText<CaptionBytes>& caption = state_.captions[++captionCount_];
    const TextExtent shown = WholePrefix(state_.codePage, text, CaptionBytes - 1, PromptWidth);
    AssignText(caption.All(), text.first(shown.bytes));
    caption.Set(static_cast<int>(shown.bytes) + 1, Nul);
  }

  void CreateGroup() {
    const std::int32_t k = captionCount_;
    const std::int32_t i = field_;
    state_.fieldTypes[i] = FieldType::ButtonGroup;
    for (std::int32_t m = 1; m <= k; ++m) {
      const std::int32_t j = state_.buttonCount - k + m;
      state_.buttons[j] = factory_.CreateButton(state_.captions[m].Terminated(),
                                                GroupButtonBox(metrics_, line_, m, k),
                                                IdFirstGroupButton - 1 + static_cast<std::uint32_t>(j));
      state_.buttonField[j] = i;
    }
    state_.lines[line_].Set(1, Nul);  // the first button shows the prompt
    state_.groupSize[i] = k;
    state_.groupStart[i] = state_.buttonCount - k;
  }

  FormState& state_;
  FormControlFactory& factory_;
  const FormMetrics& metrics_;
  std::int32_t line_ = 0;
  std::int32_t field_ = 0;
  std::int32_t captionCount_ = 0;
  char letter_ = ' ';
};

void FillLists(FormState& state, FormControlFactory& factory) {
  const FormMetrics& metrics = state.metrics;
  for (std::int32_t i = 1; i <= state.fieldCount; ++i) {
    const FieldKind& kind = KindOf(state.fieldTypes[i]);
    if (kind.shape == ItemShape::ButtonGroup) continue;
    const ControlHandle comboBox = state.controls[i];
    const bool selection = kind.listOnly;
    if (selection || state.hasChoices[i]) {
      if (selection || state.selections[i] != 0) factory.SelectListEntry(comboBox, state.selections[i] - 1);
      factory.SetItemHeight(comboBox, 0, ControlRowHeight(metrics));
      factory.SetItemHeight(comboBox, -1, ControlRowHeight(metrics));
    } else {
      factory.SetItemHeight(comboBox, 0, EmptyListItemHeight(metrics));
    }
  }
}

}  // namespace

void BuildForm(FormState& state, std::int32_t charWidth, std::int32_t lineHeight,
               FormControlFactory& factory) {
  state.buttonCount = 0;
  state.groupPosition = 0;
  state.metrics =
      MetricsFor(charWidth, lineHeight, std::clamp(state.fieldCount + state.textLineCount, 0, MaxLines));
  const FormMetrics& metrics = state.metrics;
  for (std::int32_t n = 1; n <= metrics.lineCount; ++n) {
    state.lineMarks[n] = Blank;
    state.hasChoices[n] = false;
  }
  factory.PlaceFormWindow(FormWindowWidth(metrics), FormWindowHeight(metrics));

  FormBuilder builder(state, factory);
  ScanDescriptor(state.descriptor, state.descriptorLength, builder);
  FillLists(state, factory);

  state.controls[OkButtonSlot] = factory.CreateButton(OkCaption, OkButtonBox(metrics), IdOkButton);
  state.controls[CancelButtonSlot] =
      factory.CreateButton(CancelCaption, CancelButtonBox(metrics), IdCancelButton);
  ChooseFirstPosition(state);
}

}  // namespace formreel
