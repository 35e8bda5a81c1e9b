#include "forms/core/layout.h"

#include <cmath>

#include "text/fatal_error.h"

namespace formreel {

namespace {

// Layout constants, single precision like the spacing factors.
constexpr float ComboRows = 6.0f;
constexpr float EmptyListRows = 7.0f;
constexpr float PackedExtraLines = 4.3f;
constexpr float MarkColumn = 60.7f;
constexpr float MarkDrop = 0.3f;
constexpr std::int32_t FieldColumn = 30;       // combo boxes start here
constexpr std::int32_t FormColumns = 64;
constexpr std::int32_t GroupColumns = 60;
constexpr std::int32_t OkColumn = 1, CancelColumn = 32, ButtonColumns = 26;
constexpr std::int32_t EditFrame = 8;  // pixels around a line of text in a field's frame

}  // namespace

std::int32_t TruncatePixels(double value) {
  const double truncated = std::trunc(value);
  if (!(truncated >= -2147483648.0 && truncated <= 2147483647.0))
    FatalRunTimeError("form position out of range");
  return static_cast<std::int32_t>(truncated);
}

double LineRow(const FormMetrics& m, std::int32_t n) {
  return static_cast<double>(n - 1) * m.linePitch + m.topMargin;
}

std::int32_t LineTop(const FormMetrics& m, std::int32_t n) {
  return TruncatePixels(LineRow(m, n) * m.lineHeight);
}

std::int32_t FormWindowWidth(const FormMetrics& m) { return FormColumns * m.charWidth; }

std::int32_t FormWindowHeight(const FormMetrics& m) {
  if (m.lineCount <= SpaciousLineLimit)
    return TruncatePixels(static_cast<double>((m.lineCount + 4) * m.lineHeight) * m.linePitch);
  return TruncatePixels((m.lineCount + static_cast<double>(PackedExtraLines)) * m.lineHeight *
                        m.linePitch);
}

std::int32_t ControlRowHeight(const FormMetrics& m) {
  return TruncatePixels(static_cast<double>(m.lineHeight) * m.controlHeight);
}

Box ComboBoxBox(const FormMetrics& m, std::int32_t n) {
  return {FieldColumn * m.charWidth, LineTop(m, n), FieldColumn * m.charWidth,
          TruncatePixels(static_cast<double>(m.lineHeight) * m.controlHeight * ComboRows)};
}

Box EditFieldBox(const FormMetrics& m, std::int32_t n) {
  return {FieldColumn * m.charWidth, LineTop(m, n), FieldColumn * m.charWidth, m.lineHeight + EditFrame};
}

Box CheckBoxBox(const FormMetrics& m, std::int32_t n, std::int32_t box, std::int32_t count) {
  const std::int32_t columns = FieldColumn / count;
  return {(FieldColumn + (box - 1) * columns) * m.charWidth, LineTop(m, n), (columns - 1) * m.charWidth,
          m.lineHeight + EditFrame};
}

std::int32_t EmptyListItemHeight(const FormMetrics& m) {
  return TruncatePixels(static_cast<double>(m.lineHeight) * m.controlHeight * EmptyListRows);
}

Box GroupButtonBox(const FormMetrics& m, std::int32_t n, std::int32_t button, std::int32_t groupSize) {
  const std::int32_t columns = GroupColumns / groupSize;
  return {(1 + (button - 1) * columns) * m.charWidth, LineTop(m, n), (columns - 1) * m.charWidth,
          ControlRowHeight(m)};
}

Box OkButtonBox(const FormMetrics& m) {
  return {OkColumn * m.charWidth, LineTop(m, m.lineCount + 1), ButtonColumns * m.charWidth,
          ControlRowHeight(m)};
}

Box CancelButtonBox(const FormMetrics& m) {
  return {CancelColumn * m.charWidth, LineTop(m, m.lineCount + 1), ButtonColumns * m.charWidth,
          ControlRowHeight(m)};
}

WindowControl FieldWindowControl(const FormMetrics& m, std::int32_t field, std::int32_t n, const FieldKind& kind) {
  const std::uint32_t id = IdFirstFieldControl - 1 + static_cast<std::uint32_t>(field);
  if (kind.control == ControlKind::HiddenText) return {"edit", HiddenTextStyle, EditFieldBox(m, n), id, SunkenEdgeStyle};
  const std::uint32_t style = kind.control == ControlKind::ListOnly ? ListComboStyle
                              : kind.ScrollsSideways()               ? ScrollingComboStyle
                                                                     : EditComboStyle;
  return {"combobox", style, ComboBoxBox(m, n), id};
}

WindowControl PositionWindowControl(const FormMetrics& m, std::int32_t n, const FieldKind& kind, std::int32_t index,
                                    std::int32_t count, std::int32_t number) {
  const auto j = static_cast<std::uint32_t>(number);
  if (kind.control == ControlKind::CheckBoxes)
    return {"button", CheckBoxStyle, CheckBoxBox(m, n, index, count), IdFirstCheckBox - 1 + j};
  return {"button", PushButtonStyle, GroupButtonBox(m, n, index, count), IdFirstGroupButton - 1 + j};
}

WindowControl FormButtonWindowControl(const FormMetrics& m, FormButton button) {
  if (button == FormButton::Ok) return {"button", PushButtonStyle, OkButtonBox(m), IdOkButton};
  return {"button", PushButtonStyle, CancelButtonBox(m), IdCancelButton};
}

Point LineTextOrigin(const FormMetrics& m, std::int32_t n) { return {m.charWidth, LineTop(m, n)}; }

Point LineMarkOrigin(const FormMetrics& m, std::int32_t n) {
  return {TruncatePixels(static_cast<double>(m.charWidth) * MarkColumn),
          TruncatePixels((LineRow(m, n) + MarkDrop) * m.lineHeight)};
}

Point FirstKeyHelpOrigin(const FormMetrics& m) {
  return {m.charWidth, TruncatePixels((LineRow(m, m.lineCount + 3) - 1) * m.lineHeight)};
}

Point SecondKeyHelpOrigin(const FormMetrics& m) {
  return {m.charWidth, LineTop(m, m.lineCount + 3)};
}

}  // namespace formreel
