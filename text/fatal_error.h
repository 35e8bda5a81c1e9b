// The report of an impossible internal condition.
#pragma once

#include <string_view>

namespace formreel {

// Reports `what` as "formreel: run-time error: <what>" to the report viewer
// when one is set and then on the standard error stream, and ends the
// program with exit status FatalExitStatus. Never returns.
[[noreturn]] void FatalRunTimeError(std::string_view what);

inline constexpr int FatalExitStatus = 3;

// Shows a report (NUL-terminated, one line) where a person sees it: a
// program without a console has no standard error to read. It returns when
// the person has seen it.
using FatalReportViewer = void (*)(const char* report);

// Every later report also goes to `viewer` (null: standard error only).
// Returns the viewer set before.
FatalReportViewer SetFatalReportViewer(FatalReportViewer viewer);

}  // namespace formreel
