#include "forms/descriptor_check.h"

#include <string_view>

#include "forms/descriptor_scan.h"

namespace {

constexpr std::string_view FieldLetters = "BCDILRS";
constexpr std::string_view ItemLetters = "BCDILRSTH";

bool IsFieldLetter(char c) { return FieldLetters.find(c) != std::string_view::npos; }
bool IsItemLetter(char c) { return c != Nul && ItemLetters.find(c) != std::string_view::npos; }

// A character as a message shows it: quoted when printable, else its code.
std::string Shown(char c) {
  const auto code = static_cast<unsigned char>(c);
  if (code > 32 && code < 127) return std::string("\"") + c + "\"";
  return "code " + std::to_string(code);
}

int Length(TextView text) { return static_cast<int>(text.size()); }

std::string CountsText(std::int32_t fields, std::int32_t textLines, std::int32_t length) {
  return "fieldCount " + std::to_string(fields) + ", textLineCount " + std::to_string(textLines) +
         ", descriptorLength " + std::to_string(length);
}

// Follows the scan's events item by item and keeps the first fault.
class DescriptorChecker final : public DescriptorEvents {
 public:
  DescriptorChecker(const FixedText<DescriptorCapacity>& descriptor, std::int32_t length, const CodePage& page)
      : descriptor_(descriptor), length_(length), page_(page) {}

  // Item `item_ + 1` starts with its letter at `position`.
  void ItemStart(std::int32_t position, char letter) override {
    if (!problem_.empty()) return;
    ++item_;
    letter_ = letter;
    itemTextLines_ = 0;
    itemChoices_ = 0;
    groupButtons_ = 0;
    promptSeen_ = false;
    itemOpen_ = true;
    if (IsItemLetter(letter_)) return;
    if (letter_ == Blank) {
      // Blanks to the end are the padding of a descriptor handed over without its NUL.
      bool inert = true;
      for (int p = position; p <= length_ && inert; ++p) inert = descriptor_(p) == Blank;
      if (inert) {
        itemOpen_ = false;
        return;
      }
      return FailItem("has no letter: it starts with a blank");
    }
    if (letter_ == '\\') {
      // Normalisation raises a "|" in a letter's place to "\".
      return FailItem(item_ == 1 ? "has no letter: the descriptor starts with \"|\" or \"\\\""
                                 : "has no letter: two \"|\" in a row, or \"\\\" right after \"|\"");
    }
    FailItem("has an unknown letter " + Shown(letter_) + " (letters are B, C, D, I, L, R, S, T and H)");
  }

  void TextLine(TextView text) override {
    if (!problem_.empty()) return;
    ++textLines_;
    ++itemTextLines_;
    if (promptSeen_) return Fail("\"\\\" after the prompt (text lines go before the first \"^\")");
    if (Columns(text) > MaxTextLineLength)
      return Fail("text line " + std::to_string(itemTextLines_) + " is " + std::to_string(Columns(text)) +
                  " columns wide (at most " + std::to_string(MaxTextLineLength) + ")");
    CountLine();
  }

  void Field(TextView prompt, char letter) override {
    if (!problem_.empty()) return;
    ++fields_;
    promptSeen_ = true;
    if (!IsFieldLetter(letter))
      return Fail("\"^\" in a T or H item (only field items have a prompt and choices)");
    if (Columns(prompt) > MaxPromptLength)
      return Fail("prompt is " + std::to_string(Columns(prompt)) + " columns wide (at most " +
                  std::to_string(MaxPromptLength) + ")");
    if (fields_ > MaxFields) return Fail("more than " + std::to_string(MaxFields) + " fields");
    CountLine();
    if (letter == Letter(FieldType::ButtonGroup)) CountButton();
  }

  void Choice(TextView text) override {
    if (!problem_.empty()) return;
    ++itemChoices_;
    if (Length(text) > MaxChoiceLength)
      return Fail("choice " + std::to_string(itemChoices_) + " has " + std::to_string(Length(text)) +
                  " bytes (at most " + std::to_string(MaxChoiceLength) + ")");
    if (letter_ == Letter(FieldType::ButtonGroup)) return CountButton();
    if (itemChoices_ > MaxChoices)
      return Fail("more than " + std::to_string(MaxChoices) + " choices (a selection holds at most " +
                  std::to_string(MaxChoices) + ")");
  }

  void ItemEnd(char letter, TextView lastSegment) override {
    if (!problem_.empty()) return;
    if (IsFieldLetter(letter) && !promptSeen_)
      return Fail("field item without \"^\" (its prompt must end with \"^\")");
    if (letter == Letter(FieldType::Heading) && Length(lastSegment) > MaxHeadingLength)
      return Fail("heading has " + std::to_string(Length(lastSegment)) + " bytes (at most " +
                  std::to_string(MaxHeadingLength) + ")");
    itemOpen_ = false;
  }

  // The first fault, once every event has been seen.
  std::string Finish() {
    if (problem_.empty() && itemOpen_) Fail("the last item is not closed by \"|\"");
    return problem_;
  }

  std::int32_t fields() const { return fields_; }
  std::int32_t textLines() const { return textLines_; }

 private:
  void CountLine() {
    if (++lines_ > MaxLines) Fail("more than " + std::to_string(MaxLines) + " lines (fields and text lines)");
  }

  void CountButton() {
    if (++groupButtons_ > MaxGroupSize)
      return Fail("more than " + std::to_string(MaxGroupSize) + " buttons in one group (its prompt and " +
                  std::to_string(MaxGroupSize - 1) + " choices at most)");
    if (++buttons_ > MaxGroupButtons)
      Fail("more than " + std::to_string(MaxGroupButtons) + " group buttons in the form");
  }

  int Columns(TextView text) const { return static_cast<int>(TextColumns(page_, text)); }

  void Fail(const std::string& what) {
    problem_ = "item " + std::to_string(item_) + " (" + std::string(1, letter_) + "): " + what;
  }
  void FailItem(const std::string& what) { problem_ = "item " + std::to_string(item_) + " " + what; }

  const FixedText<DescriptorCapacity>& descriptor_;
  std::int32_t length_;
  const CodePage& page_;
  std::string problem_;
  int item_ = 0;
  char letter_ = Blank;
  bool itemOpen_ = false;
  bool promptSeen_ = false;
  int itemTextLines_ = 0;
  int itemChoices_ = 0;
  int groupButtons_ = 0;
  std::int32_t fields_ = 0;
  std::int32_t textLines_ = 0;
  int lines_ = 0;
  int buttons_ = 0;
};

}  // namespace

std::string DescriptorProblem(const FixedText<DescriptorCapacity>& descriptor, const DescriptorCounts& counts,
                              const CodePage& page) {
  // Checked against the descriptor's own end, so that counts which do not
  // belong to it cannot steer the check past its storage.
  const std::int32_t length = DescriptorLengthBeforeNul(descriptor);
  DescriptorChecker checker(descriptor, length, page);
  ScanDescriptor(descriptor, length, checker);
  std::string problem = checker.Finish();
  if (!problem.empty()) return problem;

  // Without a NUL the descriptor ends at 1999; a 2000th character other than
  // padding would be dropped, and a "T" or "H" there upsets the field count.
  const char beyond = descriptor(DescriptorCapacity);
  if (length == DescriptorCapacity - 1 && beyond != Blank && beyond != Nul)
    return "the descriptor runs past 1999 characters without a NUL";

  if (counts.fieldCount != checker.fields() || counts.textLineCount != checker.textLines() ||
      counts.descriptorLength != length)
    return "the counts (" + CountsText(counts.fieldCount, counts.textLineCount, counts.descriptorLength) +
           ") do not match the descriptor (" + CountsText(checker.fields(), checker.textLines(), length) + ")";
  return {};
}

std::string DescriptorProblem(const char* text, std::int32_t length, const CodePage& page) {
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(text, length, descriptor);
  return DescriptorProblem(descriptor, counts, page);
}
