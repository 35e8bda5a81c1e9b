#include "forms/core/descriptor_check.h"

#include <array>
#include <string_view>
#include <vector>

#include "forms/core/descriptor_scan.h"
#include "forms/core/field_kinds.h"

namespace formreel {

namespace {

// The messages, in the order of DescriptorProblemPatterns.
enum Message : std::size_t {
  UnknownLetter,
  UnknownLetterCode,
  StartsWithBlank,
  StartsWithBar,
  TwoBars,
  FieldWithoutPrompt,
  NotClosed,
  PromptInTextItem,
  TextLineAfterPrompt,
  TooManyFields,
  TooManyLines,
  TooManyInGroup,
  TooManyButtons,
  TooManyChoices,
  TooManyBoxes,
  NoBoxes,
  HiddenChoices,
  TextLineTooLong,
  PromptTooLong,
  ChoiceTooLong,
  HeadingTooLong,
  RunsPastTheEnd,
  CountsDoNotMatch,
  MessageCount
};

// The messages, each "%" standing for a part; the letters a descriptor
// may use are the letter table's.
const std::array<std::string, MessageCount>& PatternTexts() {
  static const std::array<std::string, MessageCount> texts = [] {
    const std::string letters = " (letters are " + ItemLettersInWords() + ")";
    return std::array<std::string, MessageCount>{
    "item % has an unknown letter \"%\"" + letters,
    "item % has an unknown letter code %" + letters,
    "item % has no letter: it starts with a blank",
    "item % has no letter: the descriptor starts with \"|\" or \"\\\"",
    "item % has no letter: two \"|\" in a row, or \"\\\" right after \"|\"",
    "item % (%): field item without \"^\" (its prompt must end with \"^\")",
    "item % (%): the last item is not closed by \"|\"",
    "item % (%): \"^\" in a T or H item (only field items have a prompt and choices)",
    "item % (%): \"\\\" after the prompt (text lines go before the first \"^\")",
    "item % (%): more than % fields",
    "item % (%): more than % lines (fields and text lines)",
    "item % (%): more than % buttons in one group (its prompt and % choices at most)",
    "item % (%): more than % group buttons in the form",
    "item % (%): more than % choices (a selection holds at most %)",
    "item % (%): more than % check boxes",
    "item % (%): no check boxes (an M field needs a choice at least)",
    "item % (%): choices in a hidden text (its list would show what it hides)",
    "item % (%): text line % is % columns wide (at most %)",
    "item % (%): prompt is % columns wide (at most %)",
    "item % (%): choice % has % bytes (at most %)",
    "item % (%): heading has % bytes (at most %)",
    "the descriptor runs past % characters without a NUL",
    "the counts (fieldCount %, textLineCount %, descriptorLength %) do not match the descriptor "
    "(fieldCount %, textLineCount %, descriptorLength %)",
};
  }();
  return texts;
}

const std::array<std::string_view, MessageCount>& Patterns() {
  static const std::array<std::string_view, MessageCount> views = [] {
    std::array<std::string_view, MessageCount> v;
    for (std::size_t k = 0; k < MessageCount; ++k) v[k] = PatternTexts()[k];
    return v;
  }();
  return views;
}

// The message's pattern with each "%" replaced by the next of `parts`.
std::string Format(Message message, const std::vector<std::string>& parts) {
  std::string text;
  auto part = parts.begin();
  for (const char c : Patterns()[message]) {
    if (c != '%') {
      text += c;
    } else if (part != parts.end()) {
      text += *part++;
    }
  }
  return text;
}

std::string Number(std::int64_t value) { return std::to_string(value); }

bool Printable(char c) {
  const auto code = static_cast<unsigned char>(c);
  return code > 32 && code < 127;
}

int Length(TextView text) { return static_cast<int>(text.size()); }

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
    if (KindOf(letter_).IsItem()) return;
    if (letter_ == Blank) {
      // Blanks to the end are the padding of a descriptor handed over without its NUL.
      bool inert = true;
      for (int p = position; p <= length_ && inert; ++p) inert = descriptor_(p) == Blank;
      if (inert) {
        itemOpen_ = false;
        return;
      }
      return Fail(StartsWithBlank, {});
    }
    if (letter_ == '\\') {
      // Normalisation raises a "|" in a letter's place to "\".
      return Fail(item_ == 1 ? StartsWithBar : TwoBars, {});
    }
    if (Printable(letter_)) return Fail(UnknownLetter, {std::string(1, letter_)});
    Fail(UnknownLetterCode, {Number(static_cast<unsigned char>(letter_))});
  }

  void TextLine(TextView text) override {
    if (!problem_.empty()) return;
    ++textLines_;
    ++itemTextLines_;
    if (promptSeen_) return Fail(TextLineAfterPrompt, {});
    if (Columns(text) > MaxTextLineLength)
      return Fail(TextLineTooLong, {Number(itemTextLines_), Number(Columns(text)), Number(MaxTextLineLength)});
    CountLine();
  }

  void Field(TextView prompt, char letter) override {
    if (!problem_.empty()) return;
    ++fields_;
    promptSeen_ = true;
    if (!KindOf(letter).IsField()) return Fail(PromptInTextItem, {});
    if (Columns(prompt) > MaxPromptLength)
      return Fail(PromptTooLong, {Number(Columns(prompt)), Number(MaxPromptLength)});
    if (fields_ > MaxFields) return Fail(TooManyFields, {Number(MaxFields)});
    CountLine();
    if (KindOf(letter).PromptIsFirstChoice()) CountButton();
  }

  void Choice(TextView text) override {
    if (!problem_.empty()) return;
    ++itemChoices_;
    if (Length(text) > MaxChoiceLength)
      return Fail(ChoiceTooLong, {Number(itemChoices_), Number(Length(text)), Number(MaxChoiceLength)});
    const ControlKind control = KindOf(letter_).control;
    if (control == ControlKind::ButtonRow) return CountButton();
    if (control == ControlKind::CheckBoxes) {
      if (itemChoices_ > MaxCheckBoxes) Fail(TooManyBoxes, {Number(MaxCheckBoxes)});
      return;
    }
    if (control == ControlKind::HiddenText) return Fail(HiddenChoices, {});
    if (itemChoices_ > MaxChoices)
      return Fail(TooManyChoices, {Number(MaxChoices), Number(MaxChoices)});
  }

  void ItemEnd(char letter, TextView lastSegment) override {
    if (!problem_.empty()) return;
    const FieldKind& kind = KindOf(letter);
    if (kind.IsField() && !promptSeen_) return Fail(FieldWithoutPrompt, {});
    if (kind.control == ControlKind::CheckBoxes && itemChoices_ == 0) return Fail(NoBoxes, {});
    if (kind.shape == ItemShape::Heading && Length(lastSegment) > MaxHeadingLength)
      return Fail(HeadingTooLong, {Number(Length(lastSegment)), Number(MaxHeadingLength)});
    itemOpen_ = false;
  }

  // The first fault, once every event has been seen.
  std::string Finish() {
    if (problem_.empty() && itemOpen_) Fail(NotClosed, {});
    return problem_;
  }

  std::int32_t fields() const { return fields_; }
  std::int32_t textLines() const { return textLines_; }

 private:
  void CountLine() {
    if (++lines_ > MaxLines) Fail(TooManyLines, {Number(MaxLines)});
  }

  void CountButton() {
    if (++groupButtons_ > MaxGroupSize)
      return Fail(TooManyInGroup, {Number(MaxGroupSize), Number(MaxGroupSize - 1)});
    if (++buttons_ > MaxGroupButtons) Fail(TooManyButtons, {Number(MaxGroupButtons)});
  }

  int Columns(TextView text) const { return static_cast<int>(TextColumns(page_, text)); }

  // The message names the item, and its letter once the item has a known one.
  void Fail(Message message, const std::vector<std::string>& parts) {
    std::vector<std::string> all = {Number(item_)};
    if (Patterns()[message].starts_with("item % (%)")) all.push_back(std::string(1, letter_));
    all.insert(all.end(), parts.begin(), parts.end());
    problem_ = Format(message, all);
  }

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
    return Format(RunsPastTheEnd, {Number(DescriptorCapacity - 1)});

  if (counts.fieldCount != checker.fields() || counts.textLineCount != checker.textLines() ||
      counts.descriptorLength != length)
    return Format(CountsDoNotMatch, {Number(counts.fieldCount), Number(counts.textLineCount),
                                     Number(counts.descriptorLength), Number(checker.fields()),
                                     Number(checker.textLines()), Number(length)});
  return {};
}

std::span<const std::string_view> DescriptorProblemPatterns() { return Patterns(); }

std::string DescriptorProblem(const char* text, std::int32_t length, const CodePage& page) {
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(text, length, descriptor);
  return DescriptorProblem(descriptor, counts, page);
}

}  // namespace formreel
