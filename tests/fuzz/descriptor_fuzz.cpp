// libFuzzer target: any bytes as a descriptor. The scan and the check must
// stay inside their storage, and whatever the check accepts must build a
// form within every limit whose scan agrees with the entry call's counts.
// An accepted descriptor is then built, with controls that are never made,
// so that construction and painting stay inside the form's tables too.
// Abort on any disagreement, and on any run-time error report (an index
// outside a table), so that the fuzzer keeps the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "forms/core/construction.h"
#include "forms/core/descriptor.h"
#include "forms/core/descriptor_check.h"
#include "forms/core/descriptor_scan.h"
#include "forms/core/layout.h"
#include "forms/core/painting.h"
#include "tests/support/require.h"

using namespace formreel;

namespace {

int Length(TextView text) { return static_cast<int>(text.size()); }

constexpr char FieldLetters[] = "BCDILMPRSX";

// Restates the form's limits over the events, independently of the check.
class LimitOracle final : public DescriptorEvents {
 public:
  std::int32_t fields = 0, textLines = 0;
  int buttons = 0;
  std::string letters;  // of the fields, in order
  bool withinLimits = true;

  void TextLine(TextView text) override {
    ++textLines;
    Expect(!inField_ && TextColumns(Utf8Page, text) <= MaxTextLineLength);
  }
  void Field(TextView prompt, char letter) override {
    ++fields;
    letters += letter;
    inField_ = true;
    letter_ = letter;
    choices_ = 0;
    Expect(std::string_view(FieldLetters).find(letter) != std::string_view::npos &&
           TextColumns(Utf8Page, prompt) <= MaxPromptLength);
    if (letter == 'B') ++buttons;
  }
  void Choice(TextView text) override {
    ++choices_;
    Expect(Length(text) <= MaxChoiceLength);
    if (letter_ == 'B') {
      ++buttons;
      Expect(choices_ + 1 <= MaxGroupSize);
    } else if (letter_ == 'M') {
      Expect(choices_ <= MaxCheckBoxes);
    } else {
      Expect(choices_ <= MaxChoices);
    }
  }
  void ItemEnd(char letter, TextView lastSegment) override {
    Expect(inField_ == (std::string_view(FieldLetters).find(letter) != std::string_view::npos));
    if (letter == 'M') Expect(choices_ > 0);
    if (letter == 'H') Expect(Length(lastSegment) <= MaxChoiceLength);
    inField_ = false;
  }
  bool Accepts() const {
    return withinLimits && fields <= MaxFields && fields + textLines <= MaxLines && buttons <= MaxGroupButtons;
  }

 private:
  void Expect(bool condition) { withinLimits = withinLimits && condition; }
  bool inField_ = false;
  char letter_ = ' ';
  int choices_ = 0;
};

// The window system of a form whose controls could not be made: every
// creation gives null, as a real failure would.
class NoControls final : public FormControlFactory {
 public:
  void TextLine(std::int32_t, TextView) override {}
  ControlHandle CreateField(std::int32_t, std::int32_t, const FieldKind&, TextView) override { return nullptr; }
  ControlHandle CreatePosition(std::int32_t, std::int32_t, const FieldKind&, std::int32_t, std::int32_t, std::int32_t,
                               const char*, TextView) override {
    return nullptr;
  }
  ControlHandle CreateFormButton(FormButton, const char*) override { return nullptr; }
  void SetText(ControlHandle, const char*) override {}
  void ReadText(ControlHandle, const FieldKind&, FieldText& text) override { text.Set(1, Nul); }
  void AddListEntry(ControlHandle, const char*) override {}
  void SelectListEntry(ControlHandle, std::int32_t) override {}
  void ListComplete(ControlHandle, bool) override {}
  void SetChecked(ControlHandle, bool) override {}
  void SetCaption(const char*) override {}
};

void AbortOnReport(const char*) { std::abort(); }

// Builds and paints the form of an accepted descriptor, every field's
// selection and value slot taken from the input's own bytes.
void BuildAndPaint(const FixedText<DescriptorCapacity>& descriptor, const DescriptorCounts& counts,
                   const std::string& letters, const std::uint8_t* data, std::size_t size) {
  static FormState state;
  state = FormState{};
  state.codePage = Utf8Page;
  state.descriptor = descriptor;
  state.fieldCount = counts.fieldCount;
  state.textLineCount = counts.textLineCount;
  state.descriptorLength = counts.descriptorLength;
  for (int k = 1; k <= counts.fieldCount; ++k) {
    const std::uint8_t byte = size > 0 ? data[static_cast<std::size_t>(k) % size] : 0;
    state.selections[k] = static_cast<std::int8_t>(byte % 4);
    // A text field's slot holds an address: none here.
    const bool text = SlotOf(letters[static_cast<std::size_t>(k - 1)]) == SlotHolds::Text;
    state.values[k].Put(text ? std::uint64_t{0} : std::uint64_t{byte} * 0x0101010101010101u);
  }
  NoControls controls;
  state.metrics = MetricsFor(8, 16, LineCountOf(state));
  BuildForm(state, controls);
  Require(state.metrics.lineCount == counts.fieldCount + counts.textLineCount);
  // Painting must stay inside the form's tables; what it paints is for the
  // painting tests.
  static_cast<void>(PaintFormText(state));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetFatalReportViewer(AbortOnReport);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(size, DescriptorCapacity + 100));
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(reinterpret_cast<const char*>(data), length, descriptor);
  const std::string problem = DescriptorProblem(descriptor, counts, Utf8Page);
  Require(problem.find('\n') == std::string::npos);

  LimitOracle oracle;
  ScanDescriptor(descriptor, counts.descriptorLength, oracle);
  if (problem.empty()) {
    Require(oracle.Accepts());
    Require(oracle.fields == counts.fieldCount && oracle.textLines == counts.textLineCount);
    BuildAndPaint(descriptor, counts, oracle.letters, data, size);
  }
  return 0;
}
