// A form as the front ends that draw in cells build it: `state` prepared
// from `descriptor` as the entry call prepares it (UTF-8, no choices, every
// value slot zero), then built into `model`.
#pragma once

#include <string>

#include "forms/core/descriptor.h"
#include "forms/core/form_model.h"

namespace formreel {

inline void BuildCellForm(const std::string& descriptor, FormState& state, FormModel& model,
                          char* firstText = nullptr) {
  const DescriptorCounts counts =
      NormaliseDescriptor(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), state.descriptor);
  state.fieldCount = counts.fieldCount;
  state.textLineCount = counts.textLineCount;
  state.descriptorLength = counts.descriptorLength;
  state.codePage = Utf8Page;
  state.confirmed = false;
  for (int k = 1; k <= MaxFields; ++k) {
    state.selections[k] = 0;
    state.values[k].Put(std::int64_t{0});
  }
  if (firstText != nullptr) state.values[1].Put(firstText);
  BuildForm(state, model);
}

}  // namespace formreel
