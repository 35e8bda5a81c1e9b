#include "forms/painting.h"

#include <string_view>

namespace formreel {

namespace {

constexpr int KeyHelpLength = 55;

// The key help goes through scratch as the work text of the paint; what is
// drawn is the constant itself, which stays when scratch takes the next one.
void AddKeyHelp(FormState& state, FormPaint& paint, Point origin, TextView help) {
  AssignText(state.scratch.All(), help);
  paint.Add(origin, help);
}

}  // namespace

FormPaint PaintFormText(FormState& state) {
  const FormMetrics& metrics = state.metrics;
  FormPaint paint;
  for (std::int32_t n = 1; n <= metrics.lineCount; ++n) {
    const std::string_view line = state.lines[n].View();
    // A prompt ends at its NUL; a text line shows its first 60 columns.
    const std::size_t nul = line.find(Nul);
    const std::size_t shown =
        nul != std::string_view::npos ? nul : WholePrefix(state.codePage, line, NoLimit, LineWidth).bytes;
    if (shown > 0) paint.Add(LineTextOrigin(metrics, n), line.substr(0, shown));
    paint.Add(LineMarkOrigin(metrics, n), TextView(&state.lineMarks[n], 1));
  }
  AddKeyHelp(state, paint, FirstKeyHelpOrigin(metrics), TextView(KeyHelpFirst, KeyHelpLength));
  AddKeyHelp(state, paint, SecondKeyHelpOrigin(metrics), TextView(KeyHelpSecond, KeyHelpLength));
  return paint;
}

}  // namespace formreel
