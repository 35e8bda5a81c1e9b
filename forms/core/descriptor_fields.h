// The fields of a descriptor as its author wrote them: each one's letter,
// whole prompt and choices, from the facility's own descriptor scan. For
// what tells a person or a script about a form beyond what the window
// shows (a prompt shows only 30 columns there).
#pragma once

#include <string>
#include <vector>

#include "forms/core/state.h"

namespace formreel {

struct DescriptorField {
  char letter = ' ';                 // B, C, D, I, L, R or S
  std::string prompt;                // as written in the descriptor
  std::vector<std::string> entries;  // list entries; for B the button captions, the prompt first
};

// The fields of a normalised descriptor that DescriptorProblem accepts, in
// field order (the order of the selection and value arrays).
std::vector<DescriptorField> FieldsOf(const FixedText<DescriptorCapacity>& descriptor,
                                      std::int32_t descriptorLength);

}  // namespace formreel
