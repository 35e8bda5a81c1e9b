// Record formats: numbers to text, text to numbers, and the composition of
// command strings, all through an 80-character record.
//
// A format is an ordered list of field descriptors, each with a width, and an
// error mode. ComposeRecord writes one item per descriptor from position 1 on
// and blanks the rest of the record; ParseRecord reads one value from the
// first field. Failures are named status codes; in a format of fatal error
// mode they end the program with a run-time error report instead.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

#include "formreel/limits.h"
#include "text/fixed_text.h"

namespace formreel {

inline constexpr int RecordLength = 80;
using Record = FixedText<RecordLength>;

// Only this many columns of a record are ever read by a parse: a field's
// text.
inline constexpr int ReadableColumns = TextValueLength;

// The result of a composition or parse: 0 for success, any other value names
// the failure. Fits 16 bits; callers only test it against Ok. A status left
// unread is a failure gone unnoticed, so every one must be looked at.
enum class [[nodiscard]] RecordStatus : std::int16_t {
  Ok = 0,
  FieldBeyondRecord = 1,  // a field would end after position 80
  ItemCountMismatch = 2,  // items and descriptors differ in number
  ItemTypeMismatch = 3,   // an item or target does not suit its descriptor
  BadDescriptor = 4,      // a width or decimal count outside its limits
  EndOfFileMark = 5,      // the field holds the character of code 26
  InvalidCharacter = 6,   // a character the input rule does not accept
  ValueTooLarge = 7,      // beyond the conversion's limit
  OutOfTargetRange = 8,   // converted, but outside the target's range
  BadRadix = 9,           // a radix before "#" of 1 or above 36
  SecondRadixMark = 10,   // a second "#"
};

// A short description of `status`, for reports.
std::string_view RecordStatusText(RecordStatus status);

enum class DescriptorKind : std::uint8_t {
  TextOutput,        // the item's characters, NULs included
  IntegerOutput,     // decimal digits of a short or long integer
  FixedPointOutput,  // a real with `decimals` digits after the point
  IntegerInput,      // a short or long integer, decimal or radix form
  RealInput,         // a single or double real, no implied decimals
};

struct FieldDescriptor {
  DescriptorKind kind;
  std::int16_t width;     // output: 1..80; input: 1..30
  std::int16_t decimals;  // fixed-point output only: 0..80
};

constexpr FieldDescriptor TextOutput(std::int16_t width) {
  return {DescriptorKind::TextOutput, width, 0};
}
constexpr FieldDescriptor IntegerOutput(std::int16_t width) {
  return {DescriptorKind::IntegerOutput, width, 0};
}
constexpr FieldDescriptor FixedPointOutput(std::int16_t width, std::int16_t decimals) {
  return {DescriptorKind::FixedPointOutput, width, decimals};
}
constexpr FieldDescriptor IntegerInput(std::int16_t width) {
  return {DescriptorKind::IntegerInput, width, 0};
}
constexpr FieldDescriptor RealInput(std::int16_t width) {
  return {DescriptorKind::RealInput, width, 0};
}

// Returned: a failure is a non-zero status. Fatal: a failure reports a
// run-time error naming the format and ends the program.
enum class ErrorMode : std::uint8_t { Returned, Fatal };

inline constexpr int MaxFormatDescriptors = 3;

struct RecordFormat {
  std::string_view name;
  ErrorMode errorMode;
  std::array<FieldDescriptor, MaxFormatDescriptors> descriptors;
  int descriptorCount;

  // The format's descriptors, in order.
  constexpr std::span<const FieldDescriptor> Descriptors() const {
    return std::span<const FieldDescriptor>(descriptors)
        .first(static_cast<std::size_t>(descriptorCount));
  }
};

// The command formats of video playback.
inline constexpr RecordFormat OpenCommandFormat{
    "OpenCommandFormat", ErrorMode::Returned, {TextOutput(5), TextOutput(30), TextOutput(12)}, 3};
inline constexpr RecordFormat WindowCommandFormat{
    "WindowCommandFormat",
    ErrorMode::Returned,
    {TextOutput(18), IntegerOutput(12), TextOutput(1)},
    3};
// The display formats of number fields: a number, then a 1-character NUL.
inline constexpr RecordFormat ShortIntegerDisplayFormat{
    "ShortIntegerDisplayFormat", ErrorMode::Fatal, {IntegerOutput(8), TextOutput(1)}, 2};
inline constexpr RecordFormat LongIntegerDisplayFormat{
    "LongIntegerDisplayFormat", ErrorMode::Fatal, {IntegerOutput(18), TextOutput(1)}, 2};
inline constexpr RecordFormat FractionDisplayFormat{
    "FractionDisplayFormat", ErrorMode::Fatal, {FixedPointOutput(29, 27), TextOutput(1)}, 2};
inline constexpr RecordFormat LargeNumberDisplayFormat{
    "LargeNumberDisplayFormat", ErrorMode::Fatal, {FixedPointOutput(29, 0), TextOutput(1)}, 2};
inline constexpr RecordFormat NumberDisplayFormat{
    "NumberDisplayFormat", ErrorMode::Fatal, {FixedPointOutput(29, 14), TextOutput(1)}, 2};
// The read formats of number fields.
inline constexpr RecordFormat IntegerReadFormat{
    "IntegerReadFormat", ErrorMode::Returned, {IntegerInput(30)}, 1};
inline constexpr RecordFormat RealReadFormat{
    "RealReadFormat", ErrorMode::Returned, {RealInput(30)}, 1};

enum class ItemKind : std::uint8_t { Text, ShortInteger, LongInteger, SingleReal, DoubleReal };

// One item of a composition. Text items keep every character, NULs
// included; reals keep their exact bit pattern (a signalling not-a-number
// stays signalling until it is written). Reals are taken by reference and
// read as bits: on 32-bit x86 a real handed over by value may pass through
// the x87 unit, which makes a signalling not-a-number quiet.
struct RecordItem {
  ItemKind kind;
  union {  // the member of the item's kind
    TextView text;
    std::int32_t integer;    // a short integer widened with its sign
    std::uint64_t realBits;  // a single real's 32 bits, or a double's 64
  };

  constexpr RecordItem(TextView range) : kind(ItemKind::Text), text(range) {}
  constexpr RecordItem(TextSpan range) : kind(ItemKind::Text), text(range) {}
  // A string constant, without its closing NUL.
  template <std::size_t K>
  constexpr RecordItem(const char (&constant)[K]) : kind(ItemKind::Text), text(constant, K - 1) {}
  constexpr RecordItem(std::int16_t value) : kind(ItemKind::ShortInteger), integer(value) {}
  constexpr RecordItem(std::int32_t value) : kind(ItemKind::LongInteger), integer(value) {}
  constexpr RecordItem(const float& value)
      : kind(ItemKind::SingleReal), realBits(std::bit_cast<std::uint32_t>(value)) {}
  constexpr RecordItem(const double& value)
      : kind(ItemKind::DoubleReal), realBits(std::bit_cast<std::uint64_t>(value)) {}
  // A double real given by its bit pattern.
  static constexpr RecordItem DoubleBits(std::uint64_t bits) {
    RecordItem item(0.0);
    item.realBits = bits;
    return item;
  }
  // A single real given by its bit pattern.
  static constexpr RecordItem SingleBits(std::uint32_t bits) {
    RecordItem item(0.0f);
    item.realBits = bits;
    return item;
  }
};

// The 1-character NUL item that ends a display format's number.
inline constexpr RecordItem EndOfNumber{TextView(&Nul, 1)};

// Writes item k with descriptor k, right-justified in its width (text cut to
// the width, numbers too long for it as asterisks), and blanks the record
// after the last field. The record is rewritten whole on success and left
// unchanged on failure. Items may lie inside `record` itself.
RecordStatus ComposeRecord(Record& record, const RecordFormat& format,
                           std::span<const RecordItem> items);
inline RecordStatus ComposeRecord(Record& record, const RecordFormat& format,
                                  std::initializer_list<RecordItem> items) {
  return ComposeRecord(record, format, std::span<const RecordItem>(items.begin(), items.size()));
}

// Reads one value from the first field of `record` (never beyond column 30)
// by the format's first descriptor, which must be an input descriptor of the
// target's kind: integer input for the integers, real input for the reals.
// The target is written only on success.
RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int16_t& target);
RecordStatus ParseRecord(const Record& record, const RecordFormat& format, std::int32_t& target);
RecordStatus ParseRecord(const Record& record, const RecordFormat& format, float& target);
RecordStatus ParseRecord(const Record& record, const RecordFormat& format, double& target);

}  // namespace formreel
