#include "forms/core/field_kinds.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <type_traits>

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

// A number field's value, read from its slot as its letter's type (a real
// as its bits, which keeps a signalling not-a-number as it is).
template <char Letter>
using NumberOf = ValueTypeOf<Letter>;
template <typename T>
using BitsOf = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;

template <char Letter, void (*Display)(NumberOf<Letter>, Record&)>
void ShowInteger(const ValueSlot& slot, const CodePage&, Record& scratch) {
  Display(slot.Get<NumberOf<Letter>>(), scratch);
}
template <char Letter, void (*Display)(BitsOf<NumberOf<Letter>>, Record&)>
void ShowReal(const ValueSlot& slot, const CodePage&, Record& scratch) {
  Display(slot.Get<BitsOf<NumberOf<Letter>>>(), scratch);
}

template <char Letter, const RecordFormat& Format>
RecordStatus Read(const Record& typed, ValueSlot& slot) {
  NumberOf<Letter> value{};
  const RecordStatus status = ParseRecord(typed, Format, value);
  if (status == RecordStatus::Ok) slot.Put(value);
  return status;
}

std::string AnswerTextOf(const ValueSlot& slot) {
  const char* text = slot.TextAddress();
  return text != nullptr ? std::string(text) : std::string();
}

template <char Letter>
std::string AnswerNumber(const ValueSlot& slot) {
  std::array<char, 64> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), slot.Get<NumberOf<Letter>>()).ptr;
  return {text.data(), end};
}

template <char Letter>
double NumberAsDouble(const ValueSlot& slot) {
  return static_cast<double>(slot.Get<NumberOf<Letter>>());
}

// A number field's row: its display, its input rule and its words; the
// type comes from the letter, as the public table gives it.
template <char Letter, auto Show, const RecordFormat& Format>
constexpr FieldKind NumberRow(std::string_view valueName) {
  using Type = NumberOf<Letter>;
  std::int64_t lowest = 0, highest = 0;
  if constexpr (std::is_integral_v<Type>) {
    lowest = std::numeric_limits<Type>::min();
    highest = std::numeric_limits<Type>::max();
  }
  return {Letter, ItemShape::ComboField, SlotHolds::Number, false, false, Show, Read<Letter, Format>,
          AnswerNumber<Letter>, valueName, lowest, highest, NumberAsDouble<Letter>};
}

constexpr FieldKind Unknown{Nul, ItemShape::Unknown, SlotHolds::Nothing};

constexpr char B = Letter(FieldType::ButtonGroup);
constexpr char C = Letter(FieldType::TextField);
constexpr char D = Letter(FieldType::DoubleReal);
constexpr char I = Letter(FieldType::ShortInteger);
constexpr char L = Letter(FieldType::LongInteger);
constexpr char R = Letter(FieldType::SingleReal);
constexpr char S = Letter(FieldType::Selection);
constexpr char T = Letter(FieldType::TextLines);
constexpr char H = Letter(FieldType::Heading);

constexpr FieldKind Kinds[] = {
    {B, ItemShape::ButtonGroup, SlotHolds::Nothing, false, true},
    {C, ItemShape::ComboField, SlotHolds::Text, false, false, ShowText, nullptr, AnswerTextOf},
    NumberRow<D, ShowReal<D, DoubleRealDisplayText>, RealReadFormat>("a double-precision real number"),
    NumberRow<I, ShowInteger<I, ShortIntegerDisplayText>, IntegerReadFormat>("a 16-bit integer"),
    NumberRow<L, ShowInteger<L, LongIntegerDisplayText>, IntegerReadFormat>("a 32-bit integer"),
    NumberRow<R, ShowReal<R, SingleRealDisplayText>, RealReadFormat>("a single-precision real number"),
    {S, ItemShape::ComboField, SlotHolds::Nothing, true},
    {T, ItemShape::TextLines, SlotHolds::Nothing},
    {H, ItemShape::Heading, SlotHolds::Nothing},
};

}  // namespace

const FieldKind& KindOf(char letter) {
  const auto row = std::ranges::find(Kinds, letter, &FieldKind::letter);
  return row != std::end(Kinds) ? *row : Unknown;
}

std::string ItemLettersInWords() {
  std::string words;
  for (std::size_t k = 0; k < std::size(Kinds); ++k) {
    if (k > 0) words += k + 1 == std::size(Kinds) ? " and " : ", ";
    words += Kinds[k].letter;
  }
  return words;
}

SlotHolds SlotOf(char letter) { return KindOf(letter).slot; }

std::string AnswerText(char letter, const ValueSlot& slot) {
  const FieldKind& kind = KindOf(letter);
  return kind.answerText != nullptr ? kind.answerText(slot) : std::string();
}

}  // namespace formreel
