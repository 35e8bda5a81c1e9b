// Where everything of a form goes, in pixels of the form window's client
// area, from the two font metrics. Factors are single-precision constants;
// the arithmetic is done in double precision and truncated toward zero, so
// positions are the same whatever the compiler does with floats.
#pragma once

#include <cstdint>

#include "forms/core/state.h"

namespace formreel {

// Forms of more than ten lines are packed closer.
inline constexpr int SpaciousLineLimit = 10;

// The metrics of a form of `lineCount` lines in a font of these two
// metrics: pitch 2.0, control height 1.75 and margin 1.0 line heights, or
// 1.2, 1.2 and 0.0 beyond ten lines.
constexpr FormMetrics MetricsFor(std::int32_t charWidth, std::int32_t lineHeight, std::int32_t lineCount) {
  const bool packed = lineCount > SpaciousLineLimit;
  return {charWidth, lineHeight, lineCount, packed ? 1.2f : 2.0f, packed ? 1.2f : 1.75f,
          packed ? 0.0f : 1.0f};
}

struct Box {
  std::int32_t x, y, width, height;
  friend constexpr bool operator==(const Box&, const Box&) = default;
};

// Truncation toward zero of a value that fits 32 bits; out of range is fatal.
std::int32_t TruncatePixels(double value);

// Row of line n, in line heights from the top: (n - 1) x pitch + margin.
double LineRow(const FormMetrics& m, std::int32_t n);
// Top of line n in pixels; line lineCount + 1 is the row of O.K. and CANCEL.
std::int32_t LineTop(const FormMetrics& m, std::int32_t n);

std::int32_t FormWindowWidth(const FormMetrics& m);
std::int32_t FormWindowHeight(const FormMetrics& m);

// Height of one control row (buttons, a chosen list's entries).
std::int32_t ControlRowHeight(const FormMetrics& m);
// A combo box on line n, as tall as its dropped-down list of six rows.
Box ComboBoxBox(const FormMetrics& m, std::int32_t n);
// Height of the list entries of a combo box with no choices: seven rows.
std::int32_t EmptyListItemHeight(const FormMetrics& m);
// Button m (1-based) of a group of k on line n.
Box GroupButtonBox(const FormMetrics& m, std::int32_t n, std::int32_t button, std::int32_t groupSize);
Box OkButtonBox(const FormMetrics& m);
Box CancelButtonBox(const FormMetrics& m);

// Painting: where a line's text, its mark and the two key help lines go.
struct Point {
  std::int32_t x, y;
  friend constexpr bool operator==(const Point&, const Point&) = default;
};
Point LineTextOrigin(const FormMetrics& m, std::int32_t n);
Point LineMarkOrigin(const FormMetrics& m, std::int32_t n);
Point FirstKeyHelpOrigin(const FormMetrics& m);
Point SecondKeyHelpOrigin(const FormMetrics& m);

}  // namespace formreel
