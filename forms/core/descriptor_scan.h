// The item scan of a normalised form descriptor: the one walk over its
// characters from which the form window is built, as plain events.
#pragma once

#include <cstdint>

#include "forms/core/state.h"

namespace formreel {

// Receives the scan's events in descriptor order. Texts are views into the normalised descriptor.
class DescriptorEvents {
 public:
  virtual ~DescriptorEvents() = default;
  // An item starts at 1-based `position` with `letter` (position 1, and the
  // character after every "|" within the length). Ignored unless overridden.
  virtual void ItemStart(std::int32_t position, char letter) {
    static_cast<void>(position);
    static_cast<void>(letter);
  }
  virtual void TextLine(TextView text) = 0;                 // a "\" ended a text line
  virtual void Field(TextView prompt, char letter) = 0;     // the first "^" of an item
  virtual void Choice(TextView text) = 0;                   // every later "^" of the item
  virtual void ItemEnd(char letter, TextView lastSegment) = 0;  // the "|" that ends an item
};

// The item scan over positions 2..descriptorLength of a normalised descriptor, exactly as the language
// defines it (current letter, segment start, prompt flag). Never reads beyond descriptorLength or the storage.
//
// The current letter starts as position 1 and, after each "|", is the
// character right after it, which is skipped. Segments run from the character
// after the letter or the previous separator to the character before the
// current one, so a view may be empty but never starts before the item's
// body. A descriptorLength below 1 yields no events, 1 only the first item's
// start; one beyond the storage is taken as the storage's end.
void ScanDescriptor(const FixedText<DescriptorCapacity>& descriptor, std::int32_t descriptorLength,
                    DescriptorEvents& events);

}  // namespace formreel
