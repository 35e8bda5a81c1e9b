#include "forms/core/descriptor.h"

#include <algorithm>
#include <string_view>

#include "forms/core/field_kinds.h"

namespace formreel {

std::int32_t DescriptorLengthBeforeNul(const FixedText<DescriptorCapacity>& descriptor) {
  for (int p = 1; p < DescriptorCapacity; ++p)
    if (descriptor(p) == Nul) return p - 1;
  return DescriptorCapacity - 1;
}

DescriptorCounts NormaliseDescriptor(const char* text, std::int32_t length,
                                     FixedText<DescriptorCapacity>& descriptor) {
  const auto taken = static_cast<std::size_t>(std::clamp(length, 0, DescriptorCapacity));
  AssignText(descriptor.All(), std::string_view(text == nullptr ? "" : text, text == nullptr ? 0 : taken));
  descriptor.Set(1, RaiseLetter(descriptor(1)));

  // Raising letters never makes or removes a NUL, so the end is known first.
  DescriptorCounts counts;
  counts.descriptorLength = DescriptorLengthBeforeNul(descriptor);
  for (int p = 1; p <= counts.descriptorLength; ++p) {
    const char c = descriptor(p);
    if (c == '|') {
      descriptor.Set(p + 1, RaiseLetter(descriptor(p + 1)));
      // Unknown letters count too; the check refuses them.
      if (!KindOf(descriptor(p + 1)).IsTextItem()) ++counts.fieldCount;
    }
    if (c == '\\') ++counts.textLineCount;
  }
  if (KindOf(descriptor(1)).IsTextItem()) --counts.fieldCount;
  return counts;
}

}  // namespace formreel
