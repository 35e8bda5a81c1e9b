#include "forms/gtk/form_plan.h"

#include <string_view>

#include "forms/core/construction.h"
#include "forms/core/descriptor_scan.h"
#include "forms/core/field_kinds.h"
#include "forms/core/form_model.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

std::string_view Trimmed(TextView text) {
  std::string_view view(text.data(), text.size());
  const std::size_t first = view.find_first_not_of(Blank);
  if (first == std::string_view::npos) return {};
  return view.substr(first, view.find_last_not_of(Blank) - first + 1);
}

// The rows in the descriptor's order: a text line as it is, a field by its
// number and whole prompt; its control comes from the form model.
class RowCollector final : public DescriptorEvents {
 public:
  RowCollector(const CodePage& page, FormPlan& plan) : page_(page), plan_(plan) {}

  void TextLine(TextView text) override {
    PlannedRow& row = plan_.rows.emplace_back();
    row.isTextLine = true;
    row.textLine = Shown(Trimmed(text));
  }
  void Field(TextView prompt, char) override {
    PlannedRow& row = plan_.rows.emplace_back();
    row.field.field = ++field_;
    row.field.prompt = Shown(Trimmed(prompt));
  }
  void Choice(TextView) override {}
  void ItemEnd(char, TextView) override {}

  std::string Shown(std::string_view text) const { return VisibleUtf8(page_, TextView(text.data(), text.size())); }

 private:
  const CodePage& page_;
  FormPlan& plan_;
  std::int32_t field_ = 0;
};

void PlanControl(const FormState& state, const RowCollector& texts, PlannedField& planned) {
  const std::int32_t i = planned.field;
  const FieldKind& kind = KindOf(state.fieldTypes[i]);
  if (kind.shape == ItemShape::ButtonGroup) {
    planned.control = WindowControl::Buttons;
    planned.firstButton = state.groupStart[i] + 1;
    for (std::int32_t m = 1; m <= state.groupSize[i]; ++m)
      planned.entries.push_back(texts.Shown(FormModel::Of(state.buttons[state.groupStart[i] + m]).text));
    return;
  }
  const FormModel::Control& control = FormModel::Of(state.controls[i]);
  for (const std::string& entry : control.entries) planned.entries.push_back(texts.Shown(entry));
  planned.control = kind.listOnly          ? WindowControl::ListOnly
                    : planned.entries.empty() ? WindowControl::Text
                                              : WindowControl::EditableList;
  planned.text = texts.Shown(control.text);
  planned.chosen = control.chosen;
  planned.maxBytes = kind.slot == SlotHolds::Text ? TextValueLength : ScratchWidth - 1;
}

}  // namespace

FormPlan PlanForm(FormState& state) {
  FormPlan plan;
  {
    FormModel model(state);
    BuildForm(state, CellWidth, CellHeight, model);
    plan.caption = VisibleUtf8(state.codePage, TextView(model.Caption().data(), model.Caption().size()));
    RowCollector rows(state.codePage, plan);
    ScanDescriptor(state.descriptor, state.descriptorLength, rows);
    for (PlannedRow& row : plan.rows)
      if (!row.isTextLine) PlanControl(state, rows, row.field);
  }
  // The model's controls are gone: no handle may name them.
  state.controls.Fill(nullptr);
  state.buttons.Fill(nullptr);
  return plan;
}

void AttachControl(FormState& state, ControlSlot slot, std::int32_t number, ControlHandle control) {
  switch (slot) {
    case ControlSlot::Field: state.controls[number] = control; break;
    case ControlSlot::GroupButton: state.buttons[number] = control; break;
    case ControlSlot::Ok: state.controls[OkButtonSlot] = control; break;
    case ControlSlot::Cancel: state.controls[CancelButtonSlot] = control; break;
  }
}

std::string FieldTextFromWindow(const FormState& state, std::int32_t field, const std::string& planned,
                                const std::string& shown) {
  if (shown != planned) return shown;
  const std::string_view own = state.shownTexts[field].View();
  return std::string(own.substr(0, own.find(Nul)));
}

}  // namespace formreel
