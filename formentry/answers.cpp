#include "answers.h"

#include <array>
#include <cstdio>
#include <utility>

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

// The captions of the boxes checked in M field k, in order.
std::vector<const std::string*> CheckedCaptions(const FieldInfo& field, const FormArrays& arrays, std::size_t k) {
  const auto bits = arrays.values[k].Get<std::uint8_t>();
  std::vector<const std::string*> captions;
  for (std::size_t m = 0; m < field.entries.size(); ++m)
    if ((bits >> m & 1u) != 0) captions.push_back(&field.entries[m]);
  return captions;
}

// `text` as one word of a POSIX shell: in single quotes, each quote of its
// own as '\''.
void AppendShellWord(std::string& out, std::string_view text) {
  out += '\'';
  for (const char c : text) {
    if (c == '\'') out += "'\\''";
    else out += c;
  }
  out += '\'';
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
    if (SlotOf(fields[k].letter) == SlotHolds::Bits) {
      const char* separator = "";
      for (const std::string* caption : CheckedCaptions(fields[k], arrays, k)) {
        out += std::exchange(separator, " ");
        AppendShellWord(out, *caption);
      }
      out += '\n';
      continue;
    }
    const std::string* entry = ChosenEntry(fields[k], arrays.selections[k]);
    out += entry != nullptr ? *entry : ValueText(fields[k], arrays, k);
    out += '\n';
  }
  return out;
}

std::optional<std::string> AnswerJson(const std::vector<FieldInfo>& fields, const FormArrays& arrays,
                                      ToUtf8 toUtf8) {
  bool converted = true;
  // A text as a JSON string, once it is UTF-8.
  const auto text = [&](std::string& out, std::string_view value) {
    const std::optional<std::string> utf8 = toUtf8(value);
    converted = converted && utf8.has_value();
    AppendJsonString(out, utf8.value_or(std::string()));
  };
  std::string out = "{\"fields\":[";
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const FieldInfo& field = fields[k];
    if (k > 0) out += ',';
    out += "{\"letter\":";
    AppendJsonString(out, std::string(1, field.letter));
    out += ",\"prompt\":";
    text(out, field.prompt);
    out += ",\"selection\":" + std::to_string(arrays.selections[k]) + ",\"entry\":";
    const std::string* entry = ChosenEntry(field, arrays.selections[k]);
    if (entry != nullptr)
      text(out, *entry);
    else
      out += "null";
    out += ",\"value\":";
    const SlotHolds slot = SlotOf(field.letter);
    if (slot == SlotHolds::Nothing) {
      out += "null";
    } else if (slot == SlotHolds::Bits) {
      out += '[';
      const char* separator = "";
      for (const std::string* caption : CheckedCaptions(field, arrays, k)) {
        out += std::exchange(separator, ",");
        text(out, *caption);
      }
      out += ']';
    } else if (slot == SlotHolds::Text) {
      text(out, ValueText(field, arrays, k));
    } else {
      out += ValueText(field, arrays, k);
    }
    out += '}';
  }
  out += "]}\n";
  if (!converted) return std::nullopt;
  return out;
}

}  // namespace formreel::formentry
