#include "text/display_text.h"

#include <bit>

#include "text/fatal_error.h"
#include "text/real_bits.h"

namespace formreel {

namespace {

// Chosen on the magnitude's bit pattern, which orders non-negative reals as
// their values: the strict comparisons of the rule without a floating load.
// A not-a-number lies above infinity and gets NumberDisplayFormat, as it
// would by comparing false both ways.
template <typename Bits>
const RecordFormat& RealDisplayFormat(Bits magnitude, Bits one, Bits bound, Bits infinity) {
  if (magnitude < one) return FractionDisplayFormat;
  if (magnitude > bound && magnitude <= infinity) return LargeNumberDisplayFormat;
  return NumberDisplayFormat;
}

// Display formats are fatal, so a failed composition does not return; a
// format that was not would end here all the same.
void ComposeDisplay(Record& scratch, const RecordFormat& format, const RecordItem& number) {
  const RecordItem items[] = {number, EndOfNumber};
  if (ComposeRecord(scratch, format, items) != RecordStatus::Ok)
    FatalRunTimeError("a display format failed to compose its number");
}

}  // namespace

void ShortIntegerDisplayText(std::int16_t value, Record& scratch) {
  ComposeDisplay(scratch, ShortIntegerDisplayFormat, RecordItem(value));
  StripLeadingBlanks(scratch);
}

void LongIntegerDisplayText(std::int32_t value, Record& scratch) {
  ComposeDisplay(scratch, LongIntegerDisplayFormat, RecordItem(value));
  StripLeadingBlanks(scratch);
}

void SingleRealDisplayText(std::uint32_t bits, Record& scratch) {
  const RecordFormat& format =
      RealDisplayFormat(bits & ~SingleSignBit, std::bit_cast<std::uint32_t>(1.0f),
                        std::bit_cast<std::uint32_t>(LargeNumberBound), SingleExponentMask);
  ComposeDisplay(scratch, format, RecordItem::SingleBits(bits));
  TrimNumberText(scratch);
}

void DoubleRealDisplayText(std::uint64_t bits, Record& scratch) {
  const RecordFormat& format = RealDisplayFormat(
      bits & ~DoubleSignBit, std::bit_cast<std::uint64_t>(1.0),
      std::bit_cast<std::uint64_t>(static_cast<double>(LargeNumberBound)), DoubleExponentMask);
  ComposeDisplay(scratch, format, RecordItem::DoubleBits(bits));
  TrimNumberText(scratch);
}

}  // namespace formreel
