#include "text/fatal_error.h"

#include <cstdio>
#include <cstdlib>

void FatalRunTimeError(std::string_view what) {
  std::fprintf(stderr, "formreel: run-time error: %.*s\n", static_cast<int>(what.size()),
               what.data());
  std::fflush(stderr);
  std::_Exit(FatalExitStatus);
}
