// What a script needs to know of a form's fields to fill them and to report
// the answers: each field's letter, prompt and entries.
#pragma once

#include <cstdint>
#include <vector>

#include "forms/core/descriptor_fields.h"

namespace formreel::formentry {

using FieldInfo = DescriptorField;

// The fields of a descriptor that DescriptorProblem accepts, in field order
// (the order of the selection and value arrays).
std::vector<FieldInfo> FieldsOf(const char* descriptor, std::int32_t length);

}  // namespace formreel::formentry
