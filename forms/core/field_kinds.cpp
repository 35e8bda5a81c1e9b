#include "forms/core/field_kinds.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <limits>
#include <type_traits>

#include "text/display_text.h"

namespace formreel {

namespace {

// A text as the field shows it: never more than `MaxBytes` of it, and
// never half a character.
template <int MaxBytes>
void ShowText(const ValueSlot& slot, const CodePage& page, FieldText& shown) {
  const char* callerText = slot.TextAddress();
  if (callerText == nullptr) {
    shown.Set(1, Nul);
    return;
  }
  const std::size_t whole = TerminatedWholeBytes(page, callerText, MaxBytes);
  AssignText(shown.Range(1, static_cast<int>(whole)), TextView(callerText, whole));
  shown.Set(static_cast<int>(whole) + 1, Nul);
}

// A number as its display format writes it.
template <typename Number, void (*Display)(Number, Record&)>
void ShowNumber(Number value, FieldText& shown) {
  Record display;
  Display(value, display);
  const std::string_view text = display.Terminated();
  AssignText(shown.Range(1, static_cast<int>(text.size())), TextView(text.data(), text.size()));
  shown.Set(static_cast<int>(text.size()) + 1, Nul);
}

// A number field's value, read from its slot as its letter's type (a real
// as its bits, which keeps a signalling not-a-number as it is).
template <char Letter>
using NumberOf = ValueTypeOf<Letter>;
template <typename T>
using BitsOf = std::conditional_t<sizeof(T) == 4, std::uint32_t, std::uint64_t>;

template <char Letter, void (*Display)(NumberOf<Letter>, Record&)>
void ShowInteger(const ValueSlot& slot, const CodePage&, FieldText& shown) {
  ShowNumber<NumberOf<Letter>, Display>(slot.Get<NumberOf<Letter>>(), shown);
}
template <char Letter, void (*Display)(BitsOf<NumberOf<Letter>>, Record&)>
void ShowReal(const ValueSlot& slot, const CodePage&, FieldText& shown) {
  ShowNumber<BitsOf<NumberOf<Letter>>, Display>(slot.Get<BitsOf<NumberOf<Letter>>>(), shown);
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

std::string AnswerBits(const ValueSlot& slot) { return std::to_string(slot.Get<std::uint8_t>()); }

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
  return {Letter,      ItemShape::Field, ControlKind::EditableList, SlotHolds::Number, ScratchWidth - 1,
          Show,        Read<Letter, Format>, AnswerNumber<Letter>,      valueName,         lowest,
          highest,     NumberAsDouble<Letter>};
}

// A text field's row: its text shown and answered as it is.
constexpr FieldKind TextRow(char letter, ControlKind control, int maxBytes,
                            void (*show)(const ValueSlot&, const CodePage&, FieldText&)) {
  return {letter, ItemShape::Field, control, SlotHolds::Text, maxBytes, show, nullptr, AnswerTextOf};
}

constexpr FieldKind Unknown{Nul, ItemShape::Unknown, ControlKind::None, SlotHolds::Nothing};

constexpr char B = Letter(FieldType::ButtonGroup);
constexpr char C = Letter(FieldType::TextField);
constexpr char D = Letter(FieldType::DoubleReal);
constexpr char I = Letter(FieldType::ShortInteger);
constexpr char L = Letter(FieldType::LongInteger);
constexpr char M = Letter(FieldType::CheckBoxes);
constexpr char P = Letter(FieldType::HiddenText);
constexpr char R = Letter(FieldType::SingleReal);
constexpr char S = Letter(FieldType::Selection);
constexpr char X = Letter(FieldType::LongText);
constexpr char T = Letter(FieldType::TextLines);
constexpr char H = Letter(FieldType::Heading);

constexpr FieldKind Kinds[] = {
    {B, ItemShape::Field, ControlKind::ButtonRow, SlotHolds::Nothing},
    TextRow(C, ControlKind::EditableList, TextValueLength, ShowText<TextValueLength>),
    NumberRow<D, ShowReal<D, DoubleRealDisplayText>, RealReadFormat>("a double-precision real number"),
    NumberRow<I, ShowInteger<I, ShortIntegerDisplayText>, IntegerReadFormat>("a 16-bit integer"),
    NumberRow<L, ShowInteger<L, LongIntegerDisplayText>, IntegerReadFormat>("a 32-bit integer"),
    {M, ItemShape::Field, ControlKind::CheckBoxes, SlotHolds::Bits, 0, nullptr, nullptr, AnswerBits},
    TextRow(P, ControlKind::HiddenText, LongTextLength, ShowText<LongTextLength>),
    NumberRow<R, ShowReal<R, SingleRealDisplayText>, RealReadFormat>("a single-precision real number"),
    {S, ItemShape::Field, ControlKind::ListOnly, SlotHolds::Nothing},
    TextRow(X, ControlKind::EditableList, LongTextLength, ShowText<LongTextLength>),
    {T, ItemShape::TextLines, ControlKind::None, SlotHolds::Nothing},
    {H, ItemShape::Heading, ControlKind::None, SlotHolds::Nothing},
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
