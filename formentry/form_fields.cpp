#include "formentry/form_fields.h"

#include "forms/descriptor.h"
#include "forms/descriptor_scan.h"
#include "forms/field_kinds.h"

namespace formreel::formentry {

namespace {

std::string Text(TextView text) { return {text.begin(), text.end()}; }

class FieldCollector final : public DescriptorEvents {
 public:
  std::vector<FieldInfo> fields;

  void TextLine(TextView) override {}
  void Field(TextView prompt, char letter) override {
    FieldInfo& field = fields.emplace_back();
    field.letter = letter;
    field.prompt = Text(prompt);
    if (KindOf(letter).shape == ItemShape::ButtonGroup) field.entries.push_back(field.prompt);
  }
  void Choice(TextView text) override {
    if (!fields.empty()) fields.back().entries.push_back(Text(text));
  }
  void ItemEnd(char, TextView) override {}
};

}  // namespace

std::vector<FieldInfo> FieldsOf(const char* descriptor, std::int32_t length) {
  FixedText<DescriptorCapacity> normalised;
  const DescriptorCounts counts = NormaliseDescriptor(descriptor, length, normalised);
  FieldCollector collector;
  ScanDescriptor(normalised, counts.descriptorLength, collector);
  return std::move(collector.fields);
}

}  // namespace formreel::formentry
