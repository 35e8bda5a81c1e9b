#include "forms/core/descriptor_fields.h"

#include "forms/core/descriptor.h"
#include "forms/core/descriptor_check.h"
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
    if (KindOf(letter).PromptIsFirstChoice()) field.entries.push_back(field.prompt);
  }
  void Choice(TextView text) override {
    if (!fields.empty()) fields.back().entries.push_back(Text(text));
  }
  void ItemEnd(char, TextView) override {}
};

// The fields of a normalised descriptor that DescriptorProblem accepts, in
// field order (the order of the selection and value arrays).
std::vector<DescriptorField> FieldsOf(const FixedText<DescriptorCapacity>& descriptor,
                                      std::int32_t descriptorLength) {
  FieldCollector collector;
  ScanDescriptor(descriptor, descriptorLength, collector);
  return std::move(collector.fields);
}

}  // namespace

std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length, const CodePage& page) {
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(text, length, descriptor);
  if (!DescriptorProblem(descriptor, counts, page).empty()) return {};
  return FieldsOf(descriptor, counts.descriptorLength);
}

}  // namespace formreel
