#include "forms/core/painting.h"

#include <string_view>

namespace formreel {

FormPaint PaintFormText(const FormState& state) {
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
  paint.Add(FirstKeyHelpOrigin(metrics), TextView(WindowKeyHelp.first));
  paint.Add(SecondKeyHelpOrigin(metrics), TextView(WindowKeyHelp.second));
  return paint;
}

}  // namespace formreel
