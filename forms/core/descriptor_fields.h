// The fields of a descriptor as its author wrote them (DescriptorField, in
// the public header): each one's letter, whole prompt and choices, from the
// facility's own descriptor scan.
#pragma once

#include <string>
#include <vector>

#include "formreel/forms.h"
#include "forms/core/state.h"

namespace formreel {

// The public DescriptorFields in `page`: none for a descriptor it refuses.
std::vector<DescriptorField> DescriptorFields(const char* text, std::int32_t length, const CodePage& page);

}  // namespace formreel
