#include "formentry/form_fields.h"

#include "forms/core/descriptor.h"

namespace formreel::formentry {

std::vector<FieldInfo> FieldsOf(const char* descriptor, std::int32_t length) {
  FixedText<DescriptorCapacity> normalised;
  const DescriptorCounts counts = NormaliseDescriptor(descriptor, length, normalised);
  return formreel::FieldsOf(normalised, counts.descriptorLength);
}

}  // namespace formreel::formentry
