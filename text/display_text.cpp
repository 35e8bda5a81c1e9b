#include "text/display_text.h"

#include <bit>

namespace {

// The 1-character NUL item that ends a display format's number.
constexpr char EndOfNumber[] = {Nul};

constexpr std::uint64_t SignBit = 0x8000000000000000;
constexpr std::uint64_t InfinityBits = 0x7FF0000000000000;

template <typename Real>
const RecordFormat& RealDisplayFormat(Real value) {
  const Real bound = static_cast<Real>(LargeNumberBound);
  if (value > -1 && value < 1) return FractionDisplayFormat;
  if (value > bound || value < -bound) return LargeNumberDisplayFormat;
  return NumberDisplayFormat;
}

// Display formats are fatal: a failed composition never returns.
template <typename Value>
void ComposeDisplay(Record& scratch, const RecordFormat& format, Value value) {
  const RecordItem items[] = {RecordItem(value), RecordItem(TextView(EndOfNumber))};
  ComposeRecord(scratch, format, items);
}

}  // namespace

void ShortIntegerDisplayText(std::int16_t value, Record& scratch) {
  ComposeDisplay(scratch, ShortIntegerDisplayFormat, value);
  StripLeadingBlanks(scratch);
}

void LongIntegerDisplayText(std::int32_t value, Record& scratch) {
  ComposeDisplay(scratch, LongIntegerDisplayFormat, value);
  StripLeadingBlanks(scratch);
}

void SingleRealDisplayText(float value, Record& scratch) {
  ComposeDisplay(scratch, RealDisplayFormat(value), value);
  TrimNumberText(scratch);
}

void DoubleRealDisplayText(double value, Record& scratch) {
  // Chosen on the bit pattern, which orders non-negative doubles as their
  // values: the same strict comparisons as for a single, but no floating
  // load, which on the x87 unit would turn a signalling not-a-number quiet.
  const auto bits = std::bit_cast<std::uint64_t>(value);
  const std::uint64_t magnitude = bits & ~SignBit;
  const RecordFormat& format =
      magnitude < std::bit_cast<std::uint64_t>(1.0) ? FractionDisplayFormat
      : magnitude > std::bit_cast<std::uint64_t>(static_cast<double>(LargeNumberBound)) &&
              magnitude <= InfinityBits
          ? LargeNumberDisplayFormat
          : NumberDisplayFormat;  // not-a-number compares false both ways
  const RecordItem items[] = {RecordItem::DoubleBits(bits), RecordItem(TextView(EndOfNumber))};
  ComposeRecord(scratch, format, items);
  TrimNumberText(scratch);
}
