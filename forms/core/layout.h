// Where everything of a form goes, in pixels of the form window's client
// area, from the two font metrics. Factors are single-precision constants;
// the arithmetic is done in double precision and truncated toward zero, so
// positions are the same whatever the compiler does with floats.
#pragma once

#include <cstdint>

#include "forms/core/construction.h"
#include "forms/core/field_kinds.h"
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
// A hidden text's edit field on line n, where a combo box's text would be
// and as tall as a combo box without a list: a line and 8 pixels of frame.
Box EditFieldBox(const FormMetrics& m, std::int32_t n);
// Check box m (1-based) of the k of an M field on line n, sharing the
// field's 30 columns, as tall as an edit field.
Box CheckBoxBox(const FormMetrics& m, std::int32_t n, std::int32_t box, std::int32_t count);
// Height of the list entries of a combo box with no choices: seven rows.
std::int32_t EmptyListItemHeight(const FormMetrics& m);
// Button m (1-based) of a group of k on line n.
Box GroupButtonBox(const FormMetrics& m, std::int32_t n, std::int32_t button, std::int32_t groupSize);
Box OkButtonBox(const FormMetrics& m);
Box CancelButtonBox(const FormMetrics& m);

// A control of the form window: its window class, style, place,
// identifier and extended style.
struct WindowControl {
  const char* windowClass;
  std::uint32_t style;
  Box box;
  std::uint32_t id;
  std::uint32_t extendedStyle = 0;
};
// The control of field `field` on line n, by its kind: a combo box (a
// drop-down list for S, one that scrolls sideways for X) or, for P, an
// edit field that hides what is typed.
WindowControl FieldWindowControl(const FormMetrics& m, std::int32_t field, std::int32_t n, const FieldKind& kind);
// Position `index` of the `count` of a row on line n: group button or check
// box `number` of the form.
WindowControl PositionWindowControl(const FormMetrics& m, std::int32_t n, const FieldKind& kind, std::int32_t index,
                                    std::int32_t count, std::int32_t number);
WindowControl FormButtonWindowControl(const FormMetrics& m, FormButton button);

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
