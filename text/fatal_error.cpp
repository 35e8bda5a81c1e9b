#include "text/fatal_error.h"

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>

namespace formreel {

namespace {

std::atomic<FatalReportViewer> reportViewer{nullptr};

}  // namespace

FatalReportViewer SetFatalReportViewer(FatalReportViewer viewer) { return reportViewer.exchange(viewer); }

void FatalRunTimeError(std::string_view what) {
  std::array<char, 400> report{};
  std::snprintf(report.data(), report.size(), "formreel: run-time error: %.*s",
                static_cast<int>(what.size() < 300 ? what.size() : 300), what.data());
  // The viewer first: one that gives a full-screen terminal back lets the
  // report land on the screen the person returns to.
  if (const FatalReportViewer viewer = reportViewer.load()) viewer(report.data());
  std::fprintf(stderr, "%s\n", report.data());
  std::fflush(stderr);
  std::_Exit(FatalExitStatus);
}

}  // namespace formreel
