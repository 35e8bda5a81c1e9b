#include "forms/core/descriptor_scan.h"

#include <algorithm>

namespace formreel {

void ScanDescriptor(const FixedText<DescriptorCapacity>& descriptor, std::int32_t descriptorLength,
                    DescriptorEvents& events) {
  const int last = std::min<std::int32_t>(descriptorLength, DescriptorCapacity);
  char letter = descriptor(1);
  if (last >= 1) events.ItemStart(1, letter);
  int segmentStart = 2;
  bool promptPending = true;
  // Invariant: segmentStart <= p, so every segment is a valid (maybe empty) range.
  for (int p = 2; p <= last; ++p) {
    switch (descriptor(p)) {
      case '\\':
        events.TextLine(descriptor.Range(segmentStart, p - 1));
        segmentStart = p + 1;
        break;
      case '^':
        if (promptPending) {
          events.Field(descriptor.Range(segmentStart, p - 1), letter);
          promptPending = false;
        } else {
          events.Choice(descriptor.Range(segmentStart, p - 1));
        }
        segmentStart = p + 1;
        break;
      case '|':
        events.ItemEnd(letter, descriptor.Range(segmentStart, p - 1));
        ++p;  // the next item's letter, skipped by the loop's own step
        if (p <= last) {
          letter = descriptor(p);
          events.ItemStart(p, letter);
        }
        segmentStart = p + 1;
        promptPending = true;
        break;
      default:
        break;
    }
  }
}

}  // namespace formreel
