#include "formentry/answers.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace formreel::formentry {

namespace {

// The text of the entry field k's selection names, or null.
const std::string* ChosenEntry(const FieldInfo& field, std::int8_t selection) {
  if (selection < 1 || static_cast<std::size_t>(selection) > field.entries.size()) return nullptr;
  return &field.entries[static_cast<std::size_t>(selection - 1)];
}

template <typename T>
std::string Shortest(T value) {
  std::array<char, 64> text{};
  const auto end = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  return {text.data(), end};
}

// The value in field k's slot (or buffer) as text; empty for S and B.
std::string ValueText(const FieldInfo& field, const FormArrays& arrays, std::size_t k) {
  const ValueSlot& slot = arrays.values[k];
  switch (static_cast<FieldType>(field.letter)) {
    case FieldType::TextField: return arrays.texts[k].data();
    case FieldType::ShortInteger: return std::to_string(slot.Get<std::int16_t>());
    case FieldType::LongInteger: return std::to_string(slot.Get<std::int32_t>());
    case FieldType::SingleReal: return Shortest(slot.Get<float>());
    case FieldType::DoubleReal: return Shortest(slot.Get<double>());
    default: return {};
  }
}

bool HasValue(const FieldInfo& field) {
  const auto type = static_cast<FieldType>(field.letter);
  return type != FieldType::Selection && type != FieldType::ButtonGroup;
}

void AppendJsonString(std::string& out, std::string_view text) {
  out += '"';
  for (const char c : text) {
    const auto code = static_cast<unsigned char>(c);
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\f': out += "\\f"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (code < 0x20) {
          std::array<char, 8> escaped{};
          std::snprintf(escaped.data(), escaped.size(), "\\u%04x", code);
          out += escaped.data();
        } else {
          out += c;
        }
    }
  }
  out += '"';
}

}  // namespace

std::string AnswerLines(const std::vector<FieldInfo>& fields, const FormArrays& arrays) {
  std::string out;
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const std::string* entry = ChosenEntry(fields[k], arrays.selections[k]);
    out += entry != nullptr ? *entry : ValueText(fields[k], arrays, k);
    out += '\n';
  }
  return out;
}

std::string AnswerJson(const std::vector<FieldInfo>& fields, const FormArrays& arrays, ToUtf8 toUtf8) {
  std::string out = "{\"fields\":[";
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const FieldInfo& field = fields[k];
    if (k > 0) out += ',';
    out += "{\"letter\":";
    AppendJsonString(out, std::string(1, field.letter));
    out += ",\"prompt\":";
    AppendJsonString(out, toUtf8(field.prompt));
    out += ",\"selection\":" + std::to_string(arrays.selections[k]) + ",\"entry\":";
    const std::string* entry = ChosenEntry(field, arrays.selections[k]);
    if (entry != nullptr)
      AppendJsonString(out, toUtf8(*entry));
    else
      out += "null";
    out += ",\"value\":";
    if (!HasValue(field))
      out += "null";
    else if (static_cast<FieldType>(field.letter) == FieldType::TextField)
      AppendJsonString(out, toUtf8(ValueText(field, arrays, k)));
    else
      out += ValueText(field, arrays, k);
    out += '}';
  }
  out += "]}\n";
  return out;
}

}  // namespace formreel::formentry
