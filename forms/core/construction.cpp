#include "forms/core/construction.h"

#include <algorithm>

#include "forms/core/descriptor_scan.h"
#include "forms/core/navigation.h"

namespace formreel {

namespace {

constexpr char ChoiceMark = '~';

// Builds lines and controls event by event, as the scan reports them.
class FormBuilder final : public DescriptorEvents {
 public:
  FormBuilder(FormState& state, FormControlFactory& factory) : state_(state), factory_(factory) {}

  // Centred by the columns it fills, not by its bytes.
  void TextLine(TextView text) override {
    FixedText<LineBytes>& line = state_.lines[++line_];
    const std::size_t columns = TextColumns(state_.codePage, text);
    const std::size_t padding = columns < LineWidth ? (LineWidth - columns) / 2 : 0;
    line = FixedText<LineBytes>();
    AssignText(line.All().subspan(padding), text);
    factory_.TextLine(line_, text);
  }

  void Field(TextView prompt, char letter) override {
    letter_ = letter;  // the item's choices belong to this field
    prompt_ = prompt;
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
    if (kind.HasPositions()) {
      captionCount_ = 0;
      if (kind.PromptIsFirstChoice()) AddCaption(prompt);
      return;
    }
    if (kind.control == ControlKind::None) return;
    state_.controls[field_] = factory_.CreateField(field_, line_, kind, prompt);
    if (kind.showValue == nullptr) return;
    FieldText& text = state_.shownTexts[field_];
    kind.showValue(state_.values[field_], state_.codePage, text);
    factory_.SetText(state_.controls[field_], text.Terminated());
    // Read back rather than copied: a control may not hold every byte it
    // was given, and the user sees what it holds.
    factory_.ReadText(state_.controls[field_], kind, text);
  }

  void Choice(TextView text) override {
    const FieldKind& kind = KindOf(letter_);
    if (kind.HasPositions()) {
      AddCaption(text);
      return;
    }
    ToScratch(text);
    state_.hasChoices[field_] = true;
    factory_.AddListEntry(state_.controls[field_], state_.scratch.Terminated());
    state_.lineMarks[line_] = ChoiceMark;
  }

  void ItemEnd(char letter, TextView lastSegment) override {
    const FieldKind& kind = KindOf(letter);
    if (kind.HasPositions()) {
      CreateRow(kind);
    } else if (kind.IsField()) {
      state_.fieldTypes[field_] = static_cast<FieldType>(letter);
    } else if (kind.shape == ItemShape::Heading) {
      ToScratch(lastSegment);
      factory_.SetCaption(state_.scratch.Terminated());
    }
  }

 private:
  // `text` followed by a NUL in scratch (cut to the whole characters of 79 bytes).
  void ToScratch(TextView text) {
    const TextView whole = text.first(WholePrefix(state_.codePage, text, ScratchWidth - 1, NoLimit).bytes);
    AssignText(state_.scratch.All(), whole);
    state_.scratch.Set(static_cast<int>(whole.size()) + 1, Nul);
  }

  // A button's or box's caption: its first 30 columns, NUL-ended.
  void AddCaption(TextView text) {
    FixedText<CaptionBytes>& caption = state_.captions[++captionCount_];
    const TextExtent shown = WholePrefix(state_.codePage, text, CaptionBytes - 1, PromptWidth);
    AssignText(caption.All(), text.first(shown.bytes));
    caption.Set(static_cast<int>(shown.bytes) + 1, Nul);
  }

  // A B field's buttons (its first the prompt), or an M field's boxes.
  void CreateRow(const FieldKind& kind) {
    const std::int32_t k = captionCount_;
    const std::int32_t i = field_;
    const bool buttons = kind.control == ControlKind::ButtonRow;
    std::int32_t& count = buttons ? state_.buttonCount : state_.checkBoxCount;
    state_.fieldTypes[i] = static_cast<FieldType>(kind.letter);
    state_.groupStart[i] = count;
    state_.groupSize[i] = k;
    const auto bits = state_.values[i].Get<std::uint8_t>();
    if (!buttons) state_.shownChecks[i] = 0;
    for (std::int32_t m = 1; m <= k; ++m) {
      const std::int32_t j = ++count;
      const ControlHandle control =
          factory_.CreatePosition(i, line_, kind, m, k, j, state_.captions[m].Terminated(), prompt_);
      if (buttons) {
        state_.buttons[j] = control;
        state_.buttonField[j] = i;
      } else {
        state_.checkBoxes[j] = control;
        const bool checked = (bits >> (m - 1) & 1u) != 0;
        factory_.SetChecked(control, checked);
        if (checked) state_.shownChecks[i] = static_cast<std::uint8_t>(state_.shownChecks[i] | 1u << (m - 1));
      }
    }
    if (buttons) state_.lines[line_].Set(1, Nul);  // the first button shows the prompt
  }

  FormState& state_;
  FormControlFactory& factory_;
  std::int32_t line_ = 0;
  std::int32_t field_ = 0;
  std::int32_t captionCount_ = 0;
  char letter_ = ' ';
  TextView prompt_;
};

void FillLists(FormState& state, FormControlFactory& factory) {
  for (std::int32_t i = 1; i <= state.fieldCount; ++i) {
    const FieldKind& kind = KindOf(state.fieldTypes[i]);
    if (kind.control != ControlKind::EditableList && kind.control != ControlKind::ListOnly) continue;
    const ControlHandle field = state.controls[i];
    const bool listOnly = kind.control == ControlKind::ListOnly;
    const bool shown = listOnly || state.hasChoices[i];
    if (listOnly || (state.hasChoices[i] && state.selections[i] != 0))
      factory.SelectListEntry(field, state.selections[i] - 1);
    factory.ListComplete(field, shown);
  }
}

}  // namespace

std::int32_t LineCountOf(const FormState& state) {
  return std::clamp(state.fieldCount + state.textLineCount, 0, MaxLines);
}

void BuildForm(FormState& state, FormControlFactory& factory) {
  state.buttonCount = 0;
  state.checkBoxCount = 0;
  state.groupPosition = 0;
  for (std::int32_t n = 1; n <= LineCountOf(state); ++n) {
    state.lineMarks[n] = Blank;
    state.hasChoices[n] = false;
  }

  FormBuilder builder(state, factory);
  ScanDescriptor(state.descriptor, state.descriptorLength, builder);
  FillLists(state, factory);

  state.controls[OkButtonSlot] = factory.CreateFormButton(FormButton::Ok, OkCaption);
  state.controls[CancelButtonSlot] = factory.CreateFormButton(FormButton::Cancel, CancelCaption);
  ChooseFirstPosition(state);
}

}  // namespace formreel
