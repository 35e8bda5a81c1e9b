// libFuzzer target for the record formats. Each input is used twice: its
// first 80 bytes as a record for both input rules and all four targets, and
// its first 8 bytes as the bit patterns of the numbers given to every display
// format. Checks, beyond the sanitizers: nothing outside the record or target
// changes, a failed parse leaves its target alone, columns after 30 never
// matter, the fast readers of plain fields agree with the general rules,
// display compositions never fail and show what they should.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

#include "tests/support/require.h"
#include "text/display_text.h"
#include "text/field_input.h"
#include "text/record_format.h"

using namespace formreel;

namespace {

constexpr std::uint64_t Canary = 0xC0FFEE11DEADBEEF;

template <typename T>
struct Guarded {
  std::uint64_t before = Canary;
  T value;
  std::uint64_t after = Canary;
  bool Intact() const { return before == Canary && after == Canary; }
};

template <typename T>
std::uint64_t BitsOf(const T& value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  return bits;
}

// Parses `record` into a guarded target preset to `start`; returns the status
// and leaves the result in `result`.
template <typename T>
RecordStatus GuardedParse(const Record& record, const RecordFormat& format, T start, T& result) {
  Guarded<T> target{Canary, start, Canary};
  const RecordStatus status = ParseRecord(record, format, target.value);
  Require(target.Intact());
  if (status != RecordStatus::Ok) Require(BitsOf(target.value) == BitsOf(start));
  result = target.value;
  return status;
}

template <typename T>
void CheckParse(const Record& record, const Record& firstThirty, const RecordFormat& format,
                T start) {
  T result{}, again{};
  const RecordStatus status = GuardedParse(record, format, start, result);
  const RecordStatus statusAgain = GuardedParse(firstThirty, format, start, again);
  Require(status == statusAgain && BitsOf(result) == BitsOf(again));
  if constexpr (std::is_floating_point_v<T>) {
    if (status == RecordStatus::Ok) Require(std::isfinite(result));
  }
  if constexpr (std::is_same_v<T, std::int16_t>) {
    if (status == RecordStatus::Ok) Require(result >= -32767);
  }
}

// Display formats with returned errors, so that a failure is seen here.
constexpr RecordFormat Returned(RecordFormat format) {
  format.errorMode = ErrorMode::Returned;
  return format;
}

constexpr RecordFormat RealFormats[] = {Returned(FractionDisplayFormat),
                                        Returned(LargeNumberDisplayFormat),
                                        Returned(NumberDisplayFormat)};

void CheckComposed(const Guarded<Record>& guarded, int width) {
  Require(guarded.Intact());
  const Record& record = guarded.value;
  Require(record(width + 1) == '\0');
  for (int p = width + 2; p <= RecordLength; ++p) Require(record(p) == ' ');
  for (int p = 1; p <= width; ++p) {
    const char c = record(p);
    Require(c == ' ' || c == '-' || c == '.' || c == '*' || c == '#' || (c >= '0' && c <= '9') ||
            c == 'I' || c == 'N' || c == 'F' || c == 'D' || c == 'S' || c == 'Q' || c == 'A');
  }
}

void CheckDisplays(std::uint64_t bits) {
  const double x = std::bit_cast<double>(bits);
  const float y = std::bit_cast<float>(static_cast<std::uint32_t>(bits));
  for (const RecordFormat& format : RealFormats) {
    const int width = format.descriptors[0].width;
    Guarded<Record> guarded;
    Require(ComposeRecord(guarded.value, format, {RecordItem::DoubleBits(bits), EndOfNumber}) ==
            RecordStatus::Ok);
    CheckComposed(guarded, width);
    Require(ComposeRecord(guarded.value, format, {y, EndOfNumber}) == RecordStatus::Ok);
    CheckComposed(guarded, width);
  }
  const RecordFormat shortFormat = Returned(ShortIntegerDisplayFormat);
  const RecordFormat longFormat = Returned(LongIntegerDisplayFormat);
  Guarded<Record> guarded;
  Require(ComposeRecord(guarded.value, shortFormat,
                        {static_cast<std::int16_t>(bits), EndOfNumber}) == RecordStatus::Ok);
  CheckComposed(guarded, 8);
  Require(ComposeRecord(guarded.value, longFormat,
                        {static_cast<std::int32_t>(bits), EndOfNumber}) == RecordStatus::Ok);
  CheckComposed(guarded, 18);

  // The whole display step, and the text read back as a typed field is.
  Guarded<Record> scratch;
  DoubleRealDisplayText(bits, scratch.value);
  Require(scratch.Intact());
  const auto readsBack = [](const Record& shown, bool finite) {
    const std::string_view view = shown.View();
    const std::size_t length = view.find('\0');
    Require(length <= 29);
    if (!finite || view[0] == '*') return;
    Record typed;
    std::copy_n(view.data(), length, typed.Buffer() + (ReadableColumns - length));
    double back = 0;
    Require(ParseRecord(typed, RealReadFormat, back) == RecordStatus::Ok);
  };
  readsBack(scratch.value, std::isfinite(x));
  SingleRealDisplayText(static_cast<std::uint32_t>(bits), scratch.value);
  Require(scratch.Intact());
  readsBack(scratch.value, std::isfinite(y));
}

// The general collection and conversion, without the fast readers.
RecordStatus GeneralInteger(const Record& record, std::int32_t& value) {
  CollectedText collected;
  const RecordStatus status =
      CollectField(record.Range(1, ReadableColumns), InputRule::Integer, collected);
  return status != RecordStatus::Ok ? status : ConvertInteger(collected.View(), value);
}

RecordStatus GeneralReal(const Record& record, double& value) {
  CollectedText collected;
  const RecordStatus status =
      CollectField(record.Range(1, ReadableColumns), InputRule::Real, collected);
  return status != RecordStatus::Ok ? status : ConvertReal(collected.View(), value);
}

void CheckAgainstGeneralRules(const Record& record) {
  std::int32_t fast = 0, general = 0;
  const RecordStatus fastStatus = ParseRecord(record, IntegerReadFormat, fast);
  Require(GeneralInteger(record, general) == fastStatus);
  if (fastStatus == RecordStatus::Ok) Require(fast == general);
  double fastReal = 0, generalReal = 0;
  const RecordStatus fastRealStatus = ParseRecord(record, RealReadFormat, fastReal);
  Require(GeneralReal(record, generalReal) == fastRealStatus);
  if (fastRealStatus == RecordStatus::Ok) Require(BitsOf(fastReal) == BitsOf(generalReal));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Record record;
  std::memcpy(record.Buffer(), data, std::min<std::size_t>(size, RecordLength));
  Record firstThirty;
  std::memcpy(firstThirty.Buffer(), data, std::min<std::size_t>(size, ReadableColumns));
  CheckParse<std::int16_t>(record, firstThirty, IntegerReadFormat, 0x1234);
  CheckParse<std::int32_t>(record, firstThirty, IntegerReadFormat, 0x12345678);
  CheckParse<float>(record, firstThirty, RealReadFormat, 1.25f);
  CheckParse<double>(record, firstThirty, RealReadFormat, 2.5);
  CheckAgainstGeneralRules(record);

  std::uint64_t bits = 0;
  std::memcpy(&bits, data, std::min<std::size_t>(size, sizeof bits));
  CheckDisplays(bits);
  return 0;
}
