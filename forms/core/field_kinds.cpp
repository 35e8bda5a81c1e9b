#include "forms/core/field_kinds.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "text/display_text.h"

namespace formreel {

namespace {

// Never half a character of a text longer than the field holds.
void ShowText(const ValueSlot& slot, const CodePage& page, Record& scratch) {
  const char* callerText = slot.TextAddress();
  if (callerText == nullptr) {
    scratch.Set(1, Nul);
    return;
  }
  TerminatedToFixed(scratch.All(), callerText);
  const std::size_t whole = TerminatedWholeBytes(page, callerText, TextValueLength);
  scratch.Set(static_cast<int>(whole) + 1, Nul);
}

void ShowShort(const ValueSlot& slot, const CodePage&, Record& scratch) {
  ShortIntegerDisplayText(slot.Get<std::int16_t>(), scratch);
}
void ShowLong(const ValueSlot& slot, const CodePage&, Record& scratch) {
  LongIntegerDisplayText(slot.Get<std::int32_t>(), scratch);
}
// Reals go by their bits, which keeps a signalling not-a-number as it is.
void ShowSingle(const ValueSlot& slot, const CodePage&, Record& scratch) {
  SingleRealDisplayText(slot.Get<std::uint32_t>(), scratch);
}
void ShowDouble(const ValueSlot& slot, const CodePage&, Record& scratch) {
  DoubleRealDisplayText(slot.Get<std::uint64_t>(), scratch);
}

template <typename T, const RecordFormat& Format>
RecordStatus Read(const Record& typed, ValueSlot& slot) {
  T value{};
  const RecordStatus status = ParseRecord(typed, Format, value);
  if (status == RecordStatus::Ok) slot.Put(value);
  return status;
}

std::string AnswerTextOf(const ValueSlot& slot) {
  const char* text = slot.TextAddress();
  return text != nullptr ? std::string(text) : std::string();
}

template <typename T>
std::string AnswerNumber(const ValueSlot& slot) {
  std::array<char, 64> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), slot.Get<T>()).ptr;
  return {text.data(), end};
}

constexpr FieldKind Unknown{Nul, ItemShape::Unknown, 0, SlotContent::Nothing, nullptr, nullptr, nullptr};

constexpr char C = Letter(FieldType::TextField);
constexpr char I = Letter(FieldType::ShortInteger);
constexpr char L = Letter(FieldType::LongInteger);
constexpr char R = Letter(FieldType::SingleReal);
constexpr char D = Letter(FieldType::DoubleReal);
constexpr char S = Letter(FieldType::Selection);
constexpr char B = Letter(FieldType::ButtonGroup);
constexpr char T = Letter(FieldType::TextLines);
constexpr char H = Letter(FieldType::Heading);

constexpr FieldKind Kinds[] = {
    {C, ItemShape::ComboField, EditComboStyle, SlotContent::TextAddress, ShowText, nullptr, AnswerTextOf},
    {I, ItemShape::ComboField, EditComboStyle, SlotContent::ShortInteger, ShowShort,
     Read<std::int16_t, IntegerReadFormat>, AnswerNumber<std::int16_t>, "a 16-bit integer"},
    {L, ItemShape::ComboField, EditComboStyle, SlotContent::LongInteger, ShowLong,
     Read<std::int32_t, IntegerReadFormat>, AnswerNumber<std::int32_t>, "a 32-bit integer"},
    {R, ItemShape::ComboField, EditComboStyle, SlotContent::SingleReal, ShowSingle,
     Read<float, RealReadFormat>, AnswerNumber<float>, "a single-precision real number"},
    {D, ItemShape::ComboField, EditComboStyle, SlotContent::DoubleReal, ShowDouble,
     Read<double, RealReadFormat>, AnswerNumber<double>, "a double-precision real number"},
    {S, ItemShape::ComboField, ListComboStyle, SlotContent::Nothing, nullptr, nullptr, nullptr},
    {B, ItemShape::ButtonGroup, 0, SlotContent::Nothing, nullptr, nullptr, nullptr},
    {T, ItemShape::TextLines, 0, SlotContent::Nothing, nullptr, nullptr, nullptr},
    {H, ItemShape::Heading, 0, SlotContent::Nothing, nullptr, nullptr, nullptr},
};

}  // namespace

const FieldKind& KindOf(char letter) {
  const auto row = std::ranges::find(Kinds, letter, &FieldKind::letter);
  return row != std::end(Kinds) ? *row : Unknown;
}

}  // namespace formreel
