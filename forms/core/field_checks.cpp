#include "forms/core/field_checks.h"

#include "forms/core/field_words.h"

namespace formreel {

namespace {

const FieldCheck NoCheck{};

bool Answered(const FieldKind& kind, const FieldAnswer& answer) {
  switch (kind.slot) {
    case SlotHolds::Text: return !answer.text.empty();
    case SlotHolds::Nothing: return answer.selection != 0;
    case SlotHolds::Number: return true;
    case SlotHolds::Bits: return answer.value.Get<std::uint8_t>() != 0;
  }
  return true;
}

}  // namespace

const FieldCheck& CheckOf(const FormRules& rules, std::int32_t field) {
  const auto k = static_cast<std::size_t>(field - 1);
  return field >= 1 && k < rules.checks.size() ? rules.checks[k] : NoCheck;
}

std::string CheckFailure(const FieldKind& kind, const FieldCheck& check, const FieldAnswer& answer) {
  if (check.required && kind.Requirable() && !Answered(kind, answer)) return RequiredReason();
  if (check.bounded && kind.IsNumber()) {
    const double value = kind.numberOf(answer.value);
    // A not-a-number lies within no bounds.
    if (!(value >= check.lowest && value <= check.highest)) return BoundsInWords(check.lowest, check.highest);
  }
  if (check.own) return check.own(answer);
  return {};
}

}  // namespace formreel
