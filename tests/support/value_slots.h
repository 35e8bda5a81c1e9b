// Value slots for tests that hand a form its fields' values.
#pragma once

#include "forms/core/state.h"

namespace formreel {

// A value slot holding `value`. A real whose kind of not-a-number matters is
// given as its bit pattern (std::uint32_t or std::uint64_t).
template <typename T>
ValueSlot Slot(const T& value) {
  ValueSlot slot{};
  slot.Put(value);
  return slot;
}

}  // namespace formreel
