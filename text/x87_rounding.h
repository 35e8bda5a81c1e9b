// Double precision rounding on the x87 unit.
//
// 32-bit x86 builds do double arithmetic on the x87 unit, which by default
// rounds to 64 significant bits and then again to 53 when the result is
// stored: now and then one unit in the last place away from the correctly
// rounded result. The library's decimal conversion relies on one correct
// rounding for short texts, so for its duration the unit is set to round to
// 53 bits, as every other processor does. Elsewhere this is nothing.
#pragma once

#include <cstdint>

namespace formreel {

#if defined(__i386__) && defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ == 2
class X87DoubleRounding {
 public:
  X87DoubleRounding() {
    asm volatile("fnstcw %0" : "=m"(saved_));
    const auto control = static_cast<std::uint16_t>((saved_ & ~PrecisionMask) | DoublePrecision);
    asm volatile("fldcw %0" : : "m"(control));
  }
  ~X87DoubleRounding() { asm volatile("fldcw %0" : : "m"(saved_)); }
  X87DoubleRounding(const X87DoubleRounding&) = delete;
  X87DoubleRounding& operator=(const X87DoubleRounding&) = delete;

 private:
  static constexpr std::uint16_t PrecisionMask = 0x0300;
  static constexpr std::uint16_t DoublePrecision = 0x0200;
  std::uint16_t saved_ = 0;
};
#else
class X87DoubleRounding {
 public:
  X87DoubleRounding() {}  // user-provided: a guard, not an unused variable
  X87DoubleRounding(const X87DoubleRounding&) = delete;
  X87DoubleRounding& operator=(const X87DoubleRounding&) = delete;
};
#endif

}  // namespace formreel
