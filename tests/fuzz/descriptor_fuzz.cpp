// libFuzzer target: any bytes as a descriptor. The scan and the check must
// stay inside their storage, and whatever the check accepts must build a
// form within every limit whose scan agrees with the entry call's counts.
// Abort on any disagreement so that the fuzzer keeps the input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "forms/descriptor.h"
#include "forms/descriptor_check.h"
#include "forms/descriptor_scan.h"
#include "tests/support/require.h"

namespace {

int Length(TextView text) { return static_cast<int>(text.size()); }

// Restates the form's limits over the events, independently of the check.
class LimitOracle final : public DescriptorEvents {
 public:
  std::int32_t fields = 0, textLines = 0;
  int buttons = 0;
  bool withinLimits = true;

  void TextLine(TextView text) override {
    ++textLines;
    Expect(!inField_ && Length(text) <= MaxTextLineLength);
  }
  void Field(TextView prompt, char letter) override {
    ++fields;
    inField_ = true;
    letter_ = letter;
    choices_ = 0;
    Expect(std::string_view("BCDILRS").find(letter) != std::string_view::npos && Length(prompt) <= MaxPromptLength);
    if (letter == 'B') ++buttons;
  }
  void Choice(TextView text) override {
    ++choices_;
    Expect(Length(text) <= MaxChoiceLength);
    if (letter_ == 'B') {
      ++buttons;
      Expect(choices_ + 1 <= MaxGroupSize);
    } else {
      Expect(choices_ <= MaxChoices);
    }
  }
  void ItemEnd(char letter, TextView lastSegment) override {
    Expect(inField_ == (std::string_view("BCDILRS").find(letter) != std::string_view::npos));
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(size, DescriptorCapacity + 100));
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(reinterpret_cast<const char*>(data), length, descriptor);
  const std::string problem = DescriptorProblem(descriptor, counts);
  Require(problem.find('\n') == std::string::npos);

  LimitOracle oracle;
  ScanDescriptor(descriptor, counts.descriptorLength, oracle);
  if (problem.empty()) {
    Require(oracle.Accepts());
    Require(oracle.fields == counts.fieldCount && oracle.textLines == counts.textLineCount);
  }
  return 0;
}
