#include "forms/painting.h"

#include "forms/construction.h"

namespace {

constexpr int KeyHelpLength = 55;

void DrawKeyHelp(FormState& state, TextCanvas& canvas, Point origin, const TextView help) {
  AssignText(state.scratch.All(), help);
  canvas.DrawChars(origin, state.scratch.Range(1, KeyHelpLength));
}

}  // namespace

void PaintFormText(FormState& state, TextCanvas& canvas) {
  const FormMetrics metrics = MetricsOf(state);
  for (std::int32_t n = 1; n <= state.lineCount; ++n) {
    const FixedText<LineWidth>& line = state.lines[n];
    const int width = line(PromptWidth + 1) == Nul ? PromptWidth : LineWidth;
    if (line(1) != Nul) canvas.DrawChars(LineTextOrigin(metrics, n), line.Range(1, width));
    canvas.DrawChars(LineMarkOrigin(metrics, n), TextView(&state.lineMarks[n], 1));
  }
  DrawKeyHelp(state, canvas, FirstKeyHelpOrigin(metrics), TextView(KeyHelpFirst, KeyHelpLength));
  DrawKeyHelp(state, canvas, SecondKeyHelpOrigin(metrics), TextView(KeyHelpSecond, KeyHelpLength));
}
