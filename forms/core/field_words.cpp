#include "forms/core/field_words.h"

#include <array>
#include <charconv>

namespace formreel {

std::string NumberInWords(const FieldKind& kind) {
  if (!kind.IsNumber()) return {};
  std::string words(kind.valueName);
  if (kind.HasBounds()) words += " (" + std::to_string(kind.lowest) + " to " + std::to_string(kind.highest) + ")";
  return words;
}

std::string NotConvertedReason(const FieldKind& kind, const FieldCheck& check) {
  if (check.bounded && kind.IsNumber())
    return "not " + std::string(kind.valueName) + " (" + BoundsInWords(check.lowest, check.highest) + ")";
  return "not " + NumberInWords(kind);
}

std::string BoundsInWords(double lowest, double highest) {
  const auto shortest = [](double value) {
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
    return std::string(text.data(), end);
  };
  return shortest(lowest) + " to " + shortest(highest);
}

std::string RequiredReason() { return "required"; }

std::string TooLongReason(std::size_t maxBytes) { return "at most " + std::to_string(maxBytes) + " bytes"; }

std::string TooWideReason(std::size_t columns) { return "at most " + std::to_string(columns) + " columns"; }

std::string SecondsInWords(std::chrono::milliseconds time) {
  std::array<char, 32> text{};
  const double seconds = std::chrono::duration<double>(time).count();
  const auto end = std::to_chars(text.data(), text.data() + text.size(), seconds).ptr;
  return std::string(text.data(), end) + (seconds == 1 ? " second" : " seconds");
}

std::string RefusalLine(std::string_view field, std::string_view reason, std::string_view text) {
  std::string line = std::string(field) + ": " + std::string(reason);
  if (!text.empty()) line += ": " + std::string(text);
  return line;
}

}  // namespace formreel
