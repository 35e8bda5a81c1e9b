#include "forms/core/descriptor_fields.h"

#include "forms/core/descriptor_scan.h"
#include "forms/core/field_kinds.h"

namespace formreel {

namespace {

std::string Text(TextView text) { return {text.begin(), text.end()}; }

class FieldCollector final : public DescriptorEvents {
 public:
  std::vector<DescriptorField> fields;

  void TextLine(TextView) override {}
  void Field(TextView prompt, char letter) override {
    DescriptorField& field = fields.emplace_back();
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

std::vector<DescriptorField> FieldsOf(const FixedText<DescriptorCapacity>& descriptor,
                                      std::int32_t descriptorLength) {
  FieldCollector collector;
  ScanDescriptor(descriptor, descriptorLength, collector);
  return std::move(collector.fields);
}

}  // namespace formreel
