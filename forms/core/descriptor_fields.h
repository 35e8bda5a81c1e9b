// The fields of a descriptor as its author wrote them (DescriptorField, in
// the public header): each one's letter, whole prompt and choices, from the
// facility's own descriptor scan.
#pragma once

#include <string>
#include <vector>

#include "formreel/forms.h"
#include "forms/core/state.h"

namespace formreel {

// The fields of a normalised descriptor that DescriptorProblem accepts, in
// field order (the order of the selection and value arrays).
std::vector<DescriptorField> FieldsOf(const FixedText<DescriptorCapacity>& descriptor,
                                      std::int32_t descriptorLength);
// The public DescriptorFields in `page`: none for a descriptor it refuses.
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length, const CodePage& page);

}  // namespace formreel
