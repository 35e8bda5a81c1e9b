#include "forms/painting.h"

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
    const FixedText<LineWidth>& line = state.lines[n];
    const int width = line(PromptWidth + 1) == Nul ? PromptWidth : LineWidth;
    if (line(1) != Nul) paint.Add(LineTextOrigin(metrics, n), line.Range(1, width));
    paint.Add(LineMarkOrigin(metrics, n), TextView(&state.lineMarks[n], 1));
  }
  AddKeyHelp(state, paint, FirstKeyHelpOrigin(metrics), TextView(KeyHelpFirst, KeyHelpLength));
  AddKeyHelp(state, paint, SecondKeyHelpOrigin(metrics), TextView(KeyHelpSecond, KeyHelpLength));
  return paint;
}
