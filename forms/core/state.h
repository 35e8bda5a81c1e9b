// The one global record of the form facility, and the vocabulary shared by
// every step of it: field type letters, control identifiers, command codes,
// window styles and limits. Free of platform headers; the handles, the value
// slot and the public limits are the facility's public header's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "formreel/forms.h"
#include "forms/core/table.h"
#include "text/characters.h"
#include "text/fixed_text.h"
#include "text/record_format.h"

namespace formreel {

// Limits of one form beyond the public ones.
inline constexpr int LineWidth = 60;
inline constexpr int PromptWidth = 30;
// The work text holds one record of the record formats.
inline constexpr int ScratchWidth = RecordLength;
// A choice or heading must fit `scratch` with its NUL.
inline constexpr int MaxChoiceLength = ScratchWidth - 1;
// Widths above are columns of the cell grid; a character of a multi-byte
// code page fills one or two columns with up to four bytes, so the tables
// of shown text hold four bytes per column.
inline constexpr int MaxBytesPerColumn = 4;
inline constexpr int LineBytes = LineWidth * MaxBytesPerColumn;
inline constexpr int CaptionBytes = PromptWidth * MaxBytesPerColumn + 1;  // and its NUL

// The buffer a field's text is shown from and read into: as long as the
// longest text a field holds, with its NUL.
using FieldText = FixedText<LongTextLength + 1>;

// The item letters of a descriptor. T and H items are not fields.
enum class FieldType : char {
  None = ' ',
  ButtonGroup = 'B',
  TextField = 'C',
  DoubleReal = 'D',
  ShortInteger = 'I',
  LongInteger = 'L',
  CheckBoxes = 'M',
  HiddenText = 'P',
  SingleReal = 'R',
  Selection = 'S',
  LongText = 'X',
  TextLines = 'T',
  Heading = 'H',
};

constexpr char Letter(FieldType type) { return static_cast<char>(type); }

// Control identifiers and the command codes carried by WM_COMMAND.
inline constexpr std::uint32_t IdOkButton = 200;
inline constexpr std::uint32_t IdCancelButton = 201;
inline constexpr std::uint32_t IdFirstFieldControl = 202;  // field i: 201 + i
inline constexpr std::uint32_t CmdPreviousField = 301;
inline constexpr std::uint32_t CmdNextField = 302;
inline constexpr std::uint32_t CmdCancel = 303;
inline constexpr std::uint32_t CmdConfirm = 304;
inline constexpr std::uint32_t IdFirstGroupButton = 305;  // group button j: 304 + j
inline constexpr std::uint32_t IdFirstCheckBox = 400;     // check box k: 399 + k; no command

// Window styles of the controls (the form window's own is the public
// FormWindowStyle).
inline constexpr std::uint32_t PushButtonStyle = 0x50000000;    // child, visible, push button
inline constexpr std::uint32_t EditComboStyle = 0x50a00002;     // + border, vscroll, drop-down
inline constexpr std::uint32_t ListComboStyle = 0x50a00003;     // + border, vscroll, drop-down list
inline constexpr std::uint32_t ScrollingComboStyle = EditComboStyle | 0x40;  // + autohscroll: X
inline constexpr std::uint32_t HiddenTextStyle = 0x500000a0;    // edit: child, visible, password, autohscroll
inline constexpr std::uint32_t SunkenEdgeStyle = 0x200;         // extended: a combo box's sunken frame, for P
inline constexpr std::uint32_t CheckBoxStyle = 0x50000003;      // child, visible, auto check box

// The caption of a form without an H item.
inline constexpr char FormWindowTitle[] = "FORM";

// A control of the open form as the front end that made it knows it: a
// window of the Win32 front end, a control of the form model
// (forms/core/form_model.h) of the front ends that draw the form
// themselves. Null for none. A front end turns back into its own type only
// the handles it made.
class ControlHandle {
 public:
  constexpr ControlHandle() = default;
  constexpr ControlHandle(std::nullptr_t) {}  // NOLINT: null converts, as a pointer does
  template <typename T>
  explicit ControlHandle(T* control) : address_(control) {}

  template <typename T>
  T* As() const {
    return static_cast<T*>(address_);
  }
  explicit operator bool() const { return address_ != nullptr; }
  friend bool operator==(const ControlHandle&, const ControlHandle&) = default;

 private:
  void* address_ = nullptr;
};

// Slot indexes of `controls` beyond the fields.
inline constexpr int FocusTargetSlot = 0;
inline constexpr int OkButtonSlot = MaxFields + 1;
inline constexpr int CancelButtonSlot = MaxFields + 2;


// What every position of a form is computed from: the stock fixed-pitch
// font's two metrics and the spacing chosen for the form's number of lines.
struct FormMetrics {
  std::int32_t charWidth = 0;   // average character width, pixels
  std::int32_t lineHeight = 0;  // character height plus external leading, pixels
  std::int32_t lineCount = 0;   // fields plus text lines
  float linePitch = 0;          // line to line, in line heights
  float controlHeight = 0;      // one control row, in line heights
  float topMargin = 0;          // top of line 1, in line heights
};

// Everything the facility keeps, for the one form open at a time.
struct FormState {
  // Shared part: written by the entry call, read back by it after the form.
  FixedText<ScratchWidth> scratch;
  Table<ControlHandle, FocusTargetSlot, CancelButtonSlot> controls;  // focus target, fields, O.K., CANCEL
  FixedText<DescriptorCapacity> descriptor;
  Table<std::int8_t, 1, MaxFields> selections;
  Table<ValueSlot, 1, MaxFields> values;
  std::int32_t fieldCount = 0;
  std::int32_t textLineCount = 0;
  std::int32_t descriptorLength = 0;
  bool confirmed = false;
  CodePage codePage;  // the process's ANSI code page, read by the entry call
  // The caller's checks and time limit, for the length of the call.
  FormRules rules;
  // Why the last confirmation stopped on currentField, in words
  // (field_words.h); empty once a confirmation went through.
  std::string refusal;

  // Window part: built when the form window is created.
  FormMetrics metrics;
  Table<FixedText<LineBytes>, 1, MaxLines> lines;
  Table<char, 1, MaxLines> lineMarks;
  Table<FieldType, 1, MaxFields> fieldTypes;
  // Per field, the text its control held once the form had set it, before
  // any list entry was chosen, NUL-terminated: a field whose text still
  // equals it hands back the caller's value as it came.
  Table<FieldText, 1, MaxFields> shownTexts;
  // Per M field, the boxes it showed checked once the form had set them.
  Table<std::uint8_t, 1, MaxFields> shownChecks;
  Table<bool, 1, MaxLines> hasChoices;
  Table<std::int32_t, 1, MaxFields> groupStart;
  Table<std::int32_t, 1, MaxFields> groupSize;
  std::int32_t buttonCount = 0;
  Table<ControlHandle, 1, MaxGroupButtons> buttons;
  Table<std::int32_t, 1, MaxGroupButtons> buttonField;
  // The boxes of every M field, in the same way: k from 1 to checkBoxCount,
  // field i's from checkBoxes[groupStart[i] + 1].
  std::int32_t checkBoxCount = 0;
  Table<ControlHandle, 1, MaxFields * MaxCheckBoxes> checkBoxes;
  Table<FixedText<CaptionBytes>, 1, (MaxGroupSize > MaxCheckBoxes ? MaxGroupSize : MaxCheckBoxes)> captions;
  std::int32_t currentField = 0;
  std::int32_t groupPosition = 0;
  bool readBackIncomplete = false;
};

// The facility's one record, alive for the whole process.
extern FormState formState;

}  // namespace formreel
