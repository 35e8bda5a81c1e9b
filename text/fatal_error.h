// The report of an impossible internal condition.
#pragma once

#include <string_view>

// Reports `what` as a run-time error on the standard error stream and ends
// the program with exit status FatalExitStatus. Never returns.
[[noreturn]] void FatalRunTimeError(std::string_view what);

inline constexpr int FatalExitStatus = 3;
