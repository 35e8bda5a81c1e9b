// Composition and parsing of records: the layout of fields, the error modes
// and the targets' range checks. The conversions themselves live in
// fixed_point_output.cpp and the input rule files.
#include "text/record_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "text/field_input.h"
#include "text/fixed_point_output.h"

namespace formreel {

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

// Reports the failure of a fatal-mode format and ends the program.
[[noreturn]] void FatalFailure(const RecordFormat& format, RecordStatus status) {
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

// Ends the program for a failure of a fatal-mode format; otherwise hands the
// status back.
inline RecordStatus EndProgramIfFatal(const RecordFormat& format, RecordStatus status) {
  if (status != RecordStatus::Ok && format.errorMode == ErrorMode::Fatal)
    FatalFailure(format, status);
  return status;
}

constexpr unsigned ItemBit(ItemKind kind) { return 1u << static_cast<unsigned>(kind); }

// The item kinds each descriptor kind writes, as bits of ItemBit.
constexpr unsigned SuitableItems[] = {
    ItemBit(ItemKind::Text),                                           // TextOutput
    ItemBit(ItemKind::ShortInteger) | ItemBit(ItemKind::LongInteger),  // IntegerOutput
    ItemBit(ItemKind::SingleReal) | ItemBit(ItemKind::DoubleReal),     // FixedPointOutput
    0,                                                                 // IntegerInput
    0,                                                                 // RealInput
};

bool Suits(DescriptorKind descriptor, ItemKind item) {
  const auto index = static_cast<std::size_t>(descriptor);
  return index < std::size(SuitableItems) && (SuitableItems[index] & ItemBit(item)) != 0;
}

// Copies n characters; short runs (numbers, the NUL item) without a call.
void CopyChars(const char* from, std::size_t n, char* to) {
  if (n >= 8 && n <= 16) {
    std::uint64_t head, tail;
    std::memcpy(&head, from, 8);
    std::memcpy(&tail, from + n - 8, 8);
    std::memcpy(to, &head, 8);
    std::memcpy(to + n - 8, &tail, 8);
  } else if (n < 8) {
    for (std::size_t k = 0; k < n; ++k) to[k] = from[k];
  } else {
    std::memcpy(to, from, n);
  }
}

// The writers below fill a field whose characters are all blanks already.

void WriteText(TextView text, TextSpan field) {
  const std::size_t shown = std::min(text.size(), field.size());
  // Right-justified when shorter, its first characters when longer.
  CopyChars(text.data(), shown, field.data() + (field.size() - shown));
}

void WriteInteger(std::int32_t value, TextSpan field) {
  // "-2147483648" is the longest text.
  std::array<char, 11> text;
  const char* const end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  // Never more than the array, as GCC's bounds check wants to see.
  const auto length = std::min(static_cast<std::size_t>(end - text.data()), text.size());
  if (length > field.size()) {
    std::fill(field.begin(), field.end(), '*');
    return;
  }
  CopyChars(text.data(), length, field.data() + (field.size() - length));
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
      WriteFixedPoint(WidenSingle(static_cast<std::uint32_t>(item.realBits)), SinglePrecisionDigits,
                      descriptor.decimals, field);
      return;
    case ItemKind::DoubleReal:
      WriteFixedPoint(item.realBits, DoublePrecisionDigits, descriptor.decimals, field);
      return;
  }
}

// True when `text` lies partly or wholly inside `record`.
bool Inside(const Record& record, TextView text) {
  const auto first = reinterpret_cast<std::uintptr_t>(record.Terminated());
  const auto start = reinterpret_cast<std::uintptr_t>(text.data());
  return !text.empty() && start < first + RecordLength && start + text.size() > first;
}

void WriteFields(Record& record, std::span<const FieldDescriptor> descriptors,
                 std::span<const RecordItem> items) {
  char* const all = record.Buffer();
  static constexpr Record AllBlank;
  std::memcpy(all, AllBlank.Terminated(), RecordLength);  // a fixed size: no call
  char* field = all;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const auto width = static_cast<std::size_t>(descriptors[k].width);
    WriteItem(items[k], descriptors[k], TextSpan(field, width));
    field += width;
  }
}

RecordStatus Compose(Record& record, const RecordFormat& format,
                     std::span<const RecordItem> items) {
  const auto descriptors = format.Descriptors();
  if (items.size() != descriptors.size()) return RecordStatus::ItemCountMismatch;
  int end = 0;
  bool inside = false;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const FieldDescriptor& descriptor = descriptors[k];
    if (descriptor.width < 1 || descriptor.decimals < 0 || descriptor.decimals > MaxDecimals)
      return RecordStatus::BadDescriptor;
    end += descriptor.width;
    if (end > RecordLength) return RecordStatus::FieldBeyondRecord;
    if (!Suits(descriptor.kind, items[k].kind)) return RecordStatus::ItemTypeMismatch;
    inside = inside || (items[k].kind == ItemKind::Text && Inside(record, items[k].text));
  }
  // Nothing can fail from here on. Items taken from the record itself are
  // read before any of it is rewritten.
  if (inside) {
    Record composed;
    WriteFields(composed, descriptors, items);
    record = composed;
  } else {
    WriteFields(record, descriptors, items);
  }
  return RecordStatus::Ok;
}

// The format's first descriptor when it is an input descriptor of `kind`
// with a width the record can give; otherwise the failure.
RecordStatus InputField(const Record& record, const RecordFormat& format, DescriptorKind kind,
                        TextView& field) {
  if (format.descriptorCount < 1) return RecordStatus::ItemCountMismatch;
  const FieldDescriptor& descriptor = format.descriptors[0];
  if (descriptor.kind != kind) return RecordStatus::ItemTypeMismatch;
  if (descriptor.width < 1 || descriptor.width > ReadableColumns)
    return RecordStatus::BadDescriptor;
  field = record.Range(1, descriptor.width);
  return RecordStatus::Ok;
}

// A number read by one input rule: the fast reader of the plain form first,
// then the general rule's collection and conversion.
template <DescriptorKind Kind, InputRule Rule, typename T, bool (*ReadPlain)(TextView, T&),
          RecordStatus (*Convert)(std::string_view, T&)>
RecordStatus ParseNumber(const Record& record, const RecordFormat& format, T& value) {
  TextView field;
  RecordStatus status = InputField(record, format, Kind, field);
  if (status != RecordStatus::Ok || ReadPlain(field, value)) return status;
  CollectedText collected;
  status = CollectField(field, Rule, collected);
  if (status != RecordStatus::Ok) return status;
  return Convert(collected.View(), value);
}

RecordStatus ParseInteger(const Record& record, const RecordFormat& format, std::int32_t& value) {
  return ParseNumber<DescriptorKind::IntegerInput, InputRule::Integer, std::int32_t, ReadPlainInteger,
                     ConvertInteger>(record, format, value);
}

RecordStatus ParseReal(const Record& record, const RecordFormat& format, double& value) {
  return ParseNumber<DescriptorKind::RealInput, InputRule::Real, double, ReadPlainReal, ConvertReal>(record, format,
                                                                                                     value);
}

}  // namespace

std::string_view RecordStatusText(RecordStatus status) {
  for (const StatusRow& row : StatusTexts)
    if (row.status == status) return row.text;
  return "unknown record status";
}

RecordStatus ComposeRecord(Record& record, const RecordFormat& format,
                           std::span<const RecordItem> items) {
  return EndProgramIfFatal(format, Compose(record, format, items));
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int16_t& target) {
  std::int32_t value = 0;
  RecordStatus status = ParseInteger(record, format, value);
  if (status == RecordStatus::Ok && (value < -ShortLimit || value > ShortLimit))
    status = RecordStatus::OutOfTargetRange;
  if (status == RecordStatus::Ok) target = static_cast<std::int16_t>(value);
  return EndProgramIfFatal(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int32_t& target) {
  std::int32_t value = 0;
  const RecordStatus status = ParseInteger(record, format, value);
  if (status == RecordStatus::Ok) target = value;
  return EndProgramIfFatal(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, float& target) {
  double value = 0;
  RecordStatus status = ParseReal(record, format, value);
  if (status == RecordStatus::Ok && std::fabs(value) > SingleLimit)
    status = RecordStatus::OutOfTargetRange;
  // Rounds to the nearest single, ties to even.
  if (status == RecordStatus::Ok) target = static_cast<float>(value);
  return EndProgramIfFatal(format, status);
}

RecordStatus ParseRecord(const Record& record, const RecordFormat& format, double& target) {
  double value = 0;
  const RecordStatus status = ParseReal(record, format, value);
  if (status == RecordStatus::Ok) target = value;
  return EndProgramIfFatal(format, status);
}

}  // namespace formreel
