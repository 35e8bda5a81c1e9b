// A table indexed First..Last, as the form state's tables are: every read and
// write is checked against the table's own bounds.
#pragma once

#include <array>
#include <cstddef>

#include "text/fatal_error.h"

namespace formreel {

template <typename T, int First, int Last>
class Table {
 public:
  static_assert(Last >= First);
  static constexpr int first = First;
  static constexpr int last = Last;

  constexpr T& operator[](int index) { return items_[Offset(index)]; }
  constexpr const T& operator[](int index) const { return items_[Offset(index)]; }
  constexpr void Fill(const T& value) { items_.fill(value); }

 private:
  static constexpr std::size_t Offset(int index) {
    if (index < First || index > Last) FatalRunTimeError("table index outside its table");
    return static_cast<std::size_t>(index - First);
  }
  std::array<T, static_cast<std::size_t>(Last - First + 1)> items_{};
};

}  // namespace formreel
