#include "answers.h"

#include <array>
#include <cstdio>

#include "formreel/forms.h"

namespace formreel::formentry {

namespace {

// The text of the entry field k's selection names, or null.
const std::string* ChosenEntry(const FieldInfo& field, std::int8_t selection) {
  if (selection < 1 || static_cast<std::size_t>(selection) > field.entries.size()) return nullptr;
  return &field.entries[static_cast<std::size_t>(selection - 1)];
}

// The value in field k's slot as text; empty when the slot holds none.
std::string ValueText(const FieldInfo& field, const FormArrays& arrays, std::size_t k) {
  return AnswerText(field.letter, arrays.values[k]);
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
    const SlotHolds slot = SlotOf(field.letter);
    if (slot == SlotHolds::Nothing)
      out += "null";
    else if (slot == SlotHolds::Text)
      AppendJsonString(out, toUtf8(ValueText(field, arrays, k)));
    else
      out += ValueText(field, arrays, k);
    out += '}';
  }
  out += "]}\n";
  return out;
}

}  // namespace formreel::formentry
