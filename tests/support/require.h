// The fuzz targets' check: a failed condition aborts, so that the fuzzer
// keeps the input that broke it.
#pragma once

#include <cstdlib>

namespace formreel {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

}  // namespace formreel
