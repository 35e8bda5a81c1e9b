// SplitMix64: a small generator that gives the same sequence on every
// platform, for property tests and benchmarks that must see the same inputs
// natively and under Wine.
#pragma once

#include <cstdint>

namespace formreel {

struct Random {
  std::uint64_t state;
  std::uint64_t Next() {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1p-53; }
  // Uniform in [0, n) for n >= 1.
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
};

}  // namespace formreel
