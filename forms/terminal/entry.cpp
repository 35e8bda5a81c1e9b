// The entry call's public companions on POSIX systems.
#include "formreel/forms.h"
#include "forms/core/code_page.h"
#include "forms/core/descriptor_check.h"

namespace formreel {

std::string DescriptorProblem(const char* text, std::int32_t length) {
  return DescriptorProblem(text, length, ActiveCodePage());
}

}  // namespace formreel
