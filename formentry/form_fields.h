// What a script needs to know of a form's fields to fill them and to report
// the answers: each field's letter, prompt and entries, from the facility's
// own descriptor scan.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace formreel::formentry {

struct FieldInfo {
  char letter = ' ';                 // B, C, D, I, L, R or S
  std::string prompt;                // as written in the descriptor
  std::vector<std::string> entries;  // list entries; for B the button captions, the prompt first
};

// The fields of a descriptor that DescriptorProblem accepts, in field order
// (the order of the selection and value arrays).
std::vector<FieldInfo> FieldsOf(const char* descriptor, std::int32_t length);

}  // namespace formreel::formentry
