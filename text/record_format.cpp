// Composition and parsing of records: the layout of fields, the error modes
// and the targets' range checks. The conversions themselves live in
// fixed_point_output.cpp and the input rule files.
#include "text/record_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "text/field_input.h"
#include "text/fixed_point_output.h"

namespace {

struct StatusRow {
  RecordStatus status;
  std::string_view text;
};

constexpr StatusRow StatusTexts[] = {
    {RecordStatus::Ok, "no failure"},
    {RecordStatus::FieldBeyondRecord, "a field ends beyond position 80 of the record"},
    {RecordStatus::ItemCountMismatch, "the items do not match the field descriptors in number"},
    {RecordStatus::ItemTypeMismatch, "an item or target does not suit its field descriptor"},
    {RecordStatus::BadDescriptor, "a field descriptor has an impossible width or decimal count"},
    {RecordStatus::EndOfFileMark, "the field holds the end-of-file character (code 26)"},
    {RecordStatus::InvalidCharacter, "the field holds a character its input rule does not accept"},
    {RecordStatus::ValueTooLarge, "the value is too large for the conversion"},
    {RecordStatus::OutOfTargetRange, "the value lies outside the target's range"},
    {RecordStatus::BadRadix, "the radix before \"#\" is not 2 to 36"},
    {RecordStatus::SecondRadixMark, "the field holds a second \"#\""},
};

constexpr int MaxDecimals = RecordLength;

// The largest magnitude a single real target accepts: the double next above
// the largest finite single real. Anything up to it rounds to a finite single.
constexpr double SingleLimit = 0x1.fffffe0000001p127;
constexpr std::int32_t ShortLimit = 32767;

// Ends the program for a failure of a fatal-mode format; otherwise hands the
// status back.
RecordStatus Outcome(const RecordFormat& format, RecordStatus status) {
  if (status == RecordStatus::Ok || format.errorMode == ErrorMode::Returned) return status;
  std::array<char, 200> report{};
  const std::string_view text = RecordStatusText(status);
  const std::size_t nameLength = std::min(format.name.size(), std::size_t{80});
  std::size_t length = 0;
  const auto append = [&](std::string_view part) {
    const std::size_t n = std::min(part.size(), report.size() - length);
    std::copy_n(part.begin(), n, report.begin() + static_cast<std::ptrdiff_t>(length));
    length += n;
  };
  append(format.name.substr(0, nameLength));
  append(": ");
  append(text);
  FatalRunTimeError(std::string_view(report.data(), length));
}

bool Suits(DescriptorKind descriptor, ItemKind item) {
  switch (descriptor) {
    case DescriptorKind::TextOutput:
      return item == ItemKind::Text;
    case DescriptorKind::IntegerOutput:
      return item == ItemKind::ShortInteger || item == ItemKind::LongInteger;
    case DescriptorKind::FixedPointOutput:
      return item == ItemKind::SingleReal || item == ItemKind::DoubleReal;
    case DescriptorKind::IntegerInput:
    case DescriptorKind::RealInput:
      return false;
  }
  return false;
}

void WriteText(TextView text, TextSpan field) {
  if (text.size() >= field.size()) {
    std::copy_n(text.begin(), field.size(), field.begin());
    return;
  }
  const std::size_t blanks = field.size() - text.size();
  std::fill_n(field.begin(), blanks, Blank);
  std::copy(text.begin(), text.end(), field.begin() + static_cast<std::ptrdiff_t>(blanks));
}

void WriteInteger(std::int32_t value, TextSpan field) {
  std::array<char, 12> digits;
  const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
  const auto length = static_cast<std::size_t>(end - digits.data());
  if (length > field.size()) {
    std::fill(field.begin(), field.end(), '*');
    return;
  }
  WriteText(TextView(digits.data(), length), field);
}

void WriteItem(const RecordItem& item, const FieldDescriptor& descriptor, TextSpan field) {
  switch (item.kind) {
    case ItemKind::Text:
      WriteText(item.text, field);
      return;
    case ItemKind::ShortInteger:
    case ItemKind::LongInteger:
      WriteInteger(item.integer, field);
      return;
    case ItemKind::SingleReal:
      WriteFixedPoint(WidenSingle(static_cast<std::uint32_t>(item.realBits)),
                      SinglePrecisionDigits, descriptor.decimals, field);
      return;
    case ItemKind::DoubleReal:
      WriteFixedPoint(item.realBits, DoublePrecisionDigits, descriptor.decimals, field);
      return;
  }
}

RecordStatus Compose(Record& record, const RecordFormat& format, std::span<const RecordItem> items) {
  const auto descriptors = format.Descriptors();
  if (items.size() != descriptors.size()) return RecordStatus::ItemCountMismatch;
  int position = 1;
  for (const FieldDescriptor& descriptor : descriptors) {
    if (descriptor.width < 1 || descriptor.decimals < 0 || descriptor.decimals > MaxDecimals)
      return RecordStatus::BadDescriptor;
    if (position + descriptor.width - 1 > RecordLength) return RecordStatus::FieldBeyondRecord;
    position += descriptor.width;
  }
  // Built aside, so that a failure leaves the record alone and items may
  // come from the record itself.
  Record composed;  // all blanks
  position = 1;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const FieldDescriptor& descriptor = descriptors[k];
    if (!Suits(descriptor.kind, items[k].kind)) return RecordStatus::ItemTypeMismatch;
    WriteItem(items[k], descriptor, composed.Range(position, position + descriptor.width - 1));
    position += descriptor.width;
  }
  record = composed;
  return RecordStatus::Ok;
}

// Collects the first field of `record` by the format's first descriptor,
// which must be an input descriptor following `rule`.
RecordStatus CollectFirstField(const Record& record, const RecordFormat& format, InputRule rule,
                               CollectedText& collected) {
  if (format.descriptorCount < 1) return RecordStatus::ItemCountMismatch;
  const FieldDescriptor& descriptor = format.descriptors[0];
  const DescriptorKind wanted =
      rule == InputRule::Integer ? DescriptorKind::IntegerInput : DescriptorKind::RealInput;
  if (descriptor.kind != wanted) return RecordStatus::ItemTypeMismatch;
  if (descriptor.width < 1 || descriptor.width > ReadableColumns) return RecordStatus::BadDescriptor;
  return CollectField(record.Range(1, descriptor.width), rule, collected);
}

RecordStatus ParseInteger(const Record& record, const RecordFormat& format, std::int32_t& value) {
  CollectedText collected;
  const RecordStatus status = CollectFirstField(record, format, InputRule::Integer, collected);
  if (status != RecordStatus::Ok) return status;
  return ConvertInteger(collected.View(), value);
}

RecordStatus ParseReal(const Record& record, const RecordFormat& format, double& value) {
  CollectedText collected;
  const RecordStatus status = CollectFirstField(record, format, InputRule::Real, collected);
  if (status != RecordStatus::Ok) return status;
  return ConvertReal(collected.View(), value);
}

}  // namespace

std::string_view RecordStatusText(RecordStatus status) {
  for (const StatusRow& row : StatusTexts)
    if (row.status == status) return row.text;
  return "unknown record status";
}

RecordStatus ComposeRecord(Record& record, const RecordFormat& format,
                           std::span<const RecordItem> items) {
  return Outcome(format, Compose(record, format, items));
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int16_t& target) {
  std::int32_t value = 0;
  RecordStatus status = ParseInteger(record, format, value);
  if (status == RecordStatus::Ok && (value < -ShortLimit || value > ShortLimit))
    status = RecordStatus::OutOfTargetRange;
  if (status == RecordStatus::Ok) target = static_cast<std::int16_t>(value);
  return Outcome(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int32_t& target) {
  std::int32_t value = 0;
  const RecordStatus status = ParseInteger(record, format, value);
  if (status == RecordStatus::Ok) target = value;
  return Outcome(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, float& target) {
  double value = 0;
  RecordStatus status = ParseReal(record, format, value);
  if (status == RecordStatus::Ok && std::fabs(value) > SingleLimit)
    status = RecordStatus::OutOfTargetRange;
  // Rounds to the nearest single, ties to even.
  if (status == RecordStatus::Ok) target = static_cast<float>(value);
  return Outcome(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, double& target) {
  double value = 0;
  const RecordStatus status = ParseReal(record, format, value);
  if (status == RecordStatus::Ok) target = value;
  return Outcome(format, status);
}
