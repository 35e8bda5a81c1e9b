#include "forms/core/descriptor_check.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>

#include "forms/core/descriptor_scan.h"

namespace formreel {

namespace {

using namespace std::string_literals;

std::string Repeat(const std::string& text, int times) {
  std::string result;
  for (int k = 0; k < times; ++k) result += text;
  return result;
}

// `text` handed over with its full length (a NUL in it ends the descriptor).
std::string Problem(const std::string& text) {
  return DescriptorProblem(text.data(), static_cast<std::int32_t>(text.size()), Utf8Page);
}

const std::string NameForm = "CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s;
const std::string NextActionForm =
    "SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|hOOPS! Chose Next Action|\0"s;

TEST(DescriptorProblemTest, TheApplicationsFormsPass) {
  ASSERT_EQ(NameForm.size(), 42u);
  ASSERT_EQ(NextActionForm.size(), 97u);
  EXPECT_EQ(Problem(NameForm), "");
  EXPECT_EQ(Problem(NextActionForm), "");
}

TEST(DescriptorProblemTest, AcceptsTheLanguage) {
  const std::string good[] = {
      "\0"s,                                          // only a NUL: no fields
      ""s,                                            // nothing handed over: all blanks
      "     "s,                                       // only blanks
      "cname^|\0"s,                                   // lower-case first letter
      "C^|\0"s,                                       // empty prompt
      "SP^^^|\0"s,                                    // empty choices
      "TFIRST\\SECOND\\|HTitle|\0"s,                  // T and H items only
      "T|H|\0"s,                                      // empty T item and empty heading
      "CP^a^ignored text after the last choice|\0"s,  // the language ignores it
      "TLINE\\ignored text after the last line|\0"s,  // likewise
      "CLine before the prompt\\P^|\0"s,
      "HAbove\\Title|\0"s,
      "BGo^Stop^|iAge^|dPay^|lBig^|rRatio^|\0"s,
      "CA^| \0"s,                                     // blanks after the last "|"
      "CA^|"s,                                        // no NUL: blank-padded to 2000
      "TX\\|HHead|"s,
      "CA^|\0 whatever follows the NUL"s,
      Repeat("CA^|", 20) + "\0"s,                                 // 20 fields
      Repeat("CA^|", 20) + "T" + Repeat("x\\", 5) + "|\0"s,       // 25 lines
      "BP^" + Repeat("c^", 7) + "|\0"s,                           // 8 buttons in one group
      Repeat("BP^" + Repeat("c^", 4) + "|", 4) + "\0"s,           // 20 group buttons
      "SP^" + Repeat("c^", 127) + "|\0"s,                         // 127 choices
      Repeat("MP^" + Repeat("c^", 8) + "|", 20) + "\0"s,          // 160 check boxes
      "T" + std::string(60, 'x') + "\\|\0"s,                      // longest text line
      "C" + std::string(60, 'x') + "^|\0"s,                       // longest prompt
      "SP^" + std::string(79, 'x') + "^|\0"s,                     // longest choice
      "H" + std::string(79, 'x') + "|\0"s,                        // longest heading
      "T" + std::string(1997, 'x') + "|"s,                        // "|" in position 1999, no NUL
      "T" + std::string(1997, 'x') + "| "s,                       // and a blank in 2000
  };
  for (const std::string& text : good) EXPECT_EQ(Problem(text), "") << text;
}

struct RefusalCase {
  std::string text;
  std::string problem;
};

TEST(DescriptorProblemTest, RefusesShapesOutsideTheLanguage) {
  const RefusalCase cases[] = {
      {"QX^|\0"s, "item 1 has an unknown letter \"Q\" (letters are B, C, D, I, L, M, P, R, S, X, T and H)"},
      {"CA^|yB^|\0"s, "item 2 has an unknown letter \"Y\" (letters are B, C, D, I, L, M, P, R, S, X, T and H)"},
      {"MBOXES^|\0"s, "item 1 (M): no check boxes (an M field needs a choice at least)"},
      {"MP^" + Repeat("c^", 9) + "|\0"s, "item 1 (M): more than 8 check boxes"},
      {"CA^|{B^|\0"s, "item 2 has an unknown letter \"[\" (letters are B, C, D, I, L, M, P, R, S, X, T and H)"},
      {"CA^|\xC9x^|\0"s, "item 2 has an unknown letter code 201 (letters are B, C, D, I, L, M, P, R, S, X, T and H)"},
      {"CA^|\tx^|\0"s, "item 2 has an unknown letter code 9 (letters are B, C, D, I, L, M, P, R, S, X, T and H)"},
      {" CA^|\0"s, "item 1 has no letter: it starts with a blank"},
      {"CA^| IB^|\0"s, "item 2 has no letter: it starts with a blank"},
      {"CA^|   x"s, "item 2 has no letter: it starts with a blank"},
      {"CA^||IB^|\0"s, "item 2 has no letter: two \"|\" in a row, or \"\\\" right after \"|\""},
      {"CA^||\0"s, "item 2 has no letter: two \"|\" in a row, or \"\\\" right after \"|\""},
      {"|CA^|\0"s, "item 1 has no letter: the descriptor starts with \"|\" or \"\\\""},
      {"CA^|CPROMPT|IB^|\0"s, "item 2 (C): field item without \"^\" (its prompt must end with \"^\")"},
      {"BLine\\|\0"s, "item 1 (B): field item without \"^\" (its prompt must end with \"^\")"},
      {"C|\0"s, "item 1 (C): field item without \"^\" (its prompt must end with \"^\")"},
      {"CA^|IB^\0"s, "item 2 (I): the last item is not closed by \"|\""},
      {"THELLO\\\0"s, "item 1 (T): the last item is not closed by \"|\""},
      {"CA^|H\0"s, "item 2 (H): the last item is not closed by \"|\""},
      {"CA^|IB^"s, "item 2 (I): the last item is not closed by \"|\""},
      {"TX^|\0"s, "item 1 (T): \"^\" in a T or H item (only field items have a prompt and choices)"},
      {"CA^|HX^Y|\0"s, "item 2 (H): \"^\" in a T or H item (only field items have a prompt and choices)"},
      {"CP^a\\b^|\0"s, "item 1 (C): \"\\\" after the prompt (text lines go before the first \"^\")"},
      {"CP^\\|\0"s, "item 1 (C): \"\\\" after the prompt (text lines go before the first \"^\")"},
  };
  for (const RefusalCase& c : cases) EXPECT_EQ(Problem(c.text), c.problem) << c.text;
}

TEST(DescriptorProblemTest, RefusesWhatExceedsTheLimits) {
  const RefusalCase cases[] = {
      {Repeat("CA^|", 21) + "\0"s, "item 21 (C): more than 20 fields"},
      {"T" + Repeat("x\\", 26) + "|\0"s, "item 1 (T): more than 25 lines (fields and text lines)"},
      {Repeat("CA^|", 20) + "T" + Repeat("x\\", 6) + "|\0"s,
       "item 21 (T): more than 25 lines (fields and text lines)"},
      {"T" + Repeat("x\\", 6) + "|" + Repeat("CA^|", 20) + "\0"s,
       "item 21 (C): more than 25 lines (fields and text lines)"},
      {"BP^" + Repeat("c^", 8) + "|\0"s,
       "item 1 (B): more than 8 buttons in one group (its prompt and 7 choices at most)"},
      {Repeat("BP^" + Repeat("c^", 4) + "|", 4) + "BP^|\0"s, "item 5 (B): more than 20 group buttons in the form"},
      {"BP^" + Repeat("c^", 7) + "|BP^" + Repeat("c^", 7) + "|BP^" + Repeat("c^", 4) + "|\0"s,
       "item 3 (B): more than 20 group buttons in the form"},
      {"SP^" + Repeat("c^", 128) + "|\0"s, "item 1 (S): more than 127 choices (a selection holds at most 127)"},
      {"CP^" + Repeat("c^", 200) + "|\0"s, "item 1 (C): more than 127 choices (a selection holds at most 127)"},
      {"TFIRST\\" + std::string(61, 'x') + "\\|\0"s, "item 1 (T): text line 2 is 61 columns wide (at most 60)"},
      {"C" + std::string(61, 'x') + "\\P^|\0"s, "item 1 (C): text line 1 is 61 columns wide (at most 60)"},
      {"CA^|C" + std::string(61, 'x') + "^|\0"s, "item 2 (C): prompt is 61 columns wide (at most 60)"},
      {"SP^a^" + std::string(80, 'x') + "^|\0"s, "item 1 (S): choice 2 has 80 bytes (at most 79)"},
      {"BP^" + std::string(80, 'x') + "^|\0"s, "item 1 (B): choice 1 has 80 bytes (at most 79)"},
      {"CA^|H" + std::string(80, 'x') + "|\0"s, "item 2 (H): heading has 80 bytes (at most 79)"},
      {"HLine\\" + std::string(80, 'x') + "|\0"s, "item 1 (H): heading has 80 bytes (at most 79)"},
  };
  for (const RefusalCase& c : cases) EXPECT_EQ(Problem(c.text), c.problem) << c.text;
}

TEST(DescriptorProblemTest, LinesAndPromptsAreMeasuredInColumns) {
  const RefusalCase cases[] = {
      {"T" + Repeat("Я", 60) + "\\|C" + Repeat("Ж", 60) + "^|\0"s, ""},  // 120 bytes each
      {"T" + Repeat("名", 30) + "\\|\0"s, ""},
      {"T" + Repeat("名", 30) + "x\\|\0"s, "item 1 (T): text line 1 is 61 columns wide (at most 60)"},
      {"C" + Repeat("Ж", 61) + "^|\0"s, "item 1 (C): prompt is 61 columns wide (at most 60)"},
      {"SP^" + Repeat("Ж", 40) + "^|\0"s, "item 1 (S): choice 1 has 80 bytes (at most 79)"},
  };
  for (const RefusalCase& c : cases) EXPECT_EQ(Problem(c.text), c.problem) << c.text;
}

TEST(DescriptorProblemTest, ACharacterBeyondTheLastPositionIsRefused) {
  // Without a NUL the descriptor ends at 1999: an "H" in position 2000 is
  // dropped by the scan yet stops the entry call from counting the last "|".
  const std::string text = "T" + std::string(1997, 'x') + "|H";
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts = NormaliseDescriptor(text.data(), 2000, descriptor);
  EXPECT_EQ(counts.fieldCount, -1);
  EXPECT_EQ(DescriptorProblem(descriptor, counts, Utf8Page), "the descriptor runs past 1999 characters without a NUL");
  EXPECT_EQ(Problem("C" + std::string(1998, 'x') + "y"), "item 1 (C): the last item is not closed by \"|\"");
}

TEST(DescriptorProblemTest, RefusesCountsThatDoNotBelongToTheDescriptor) {
  FixedText<DescriptorCapacity> descriptor;
  const std::string text = "CLine\\A^|\0"s;
  const DescriptorCounts counts = NormaliseDescriptor(text.data(), static_cast<std::int32_t>(text.size()), descriptor);
  EXPECT_EQ(DescriptorProblem(descriptor, counts, Utf8Page), "");

  const struct {
    DescriptorCounts counts;
    std::string problem;
  } cases[] = {
      {{2, 1, 9}, "the counts (fieldCount 2, textLineCount 1, descriptorLength 9) do not match the descriptor "
                  "(fieldCount 1, textLineCount 1, descriptorLength 9)"},
      {{1, 0, 9}, "the counts (fieldCount 1, textLineCount 0, descriptorLength 9) do not match the descriptor "
                  "(fieldCount 1, textLineCount 1, descriptorLength 9)"},
      {{1, 1, 1999}, "the counts (fieldCount 1, textLineCount 1, descriptorLength 1999) do not match the "
                     "descriptor (fieldCount 1, textLineCount 1, descriptorLength 9)"},
      {{1, 1, -1}, "the counts (fieldCount 1, textLineCount 1, descriptorLength -1) do not match the "
                   "descriptor (fieldCount 1, textLineCount 1, descriptorLength 9)"},
  };
  for (const auto& c : cases) EXPECT_EQ(DescriptorProblem(descriptor, c.counts, Utf8Page), c.problem);
}

// Counts the scan's fields and text lines.
class CountingEvents final : public DescriptorEvents {
 public:
  std::int32_t fields = 0, textLines = 0;
  std::string events;
  void TextLine(TextView) override { ++textLines; events += '\\'; }
  void Field(TextView, char letter) override { ++fields; events += letter; }
  void Choice(TextView text) override { events += '^' + std::string(text.begin(), text.end()); }
  void ItemEnd(char letter, TextView) override { events += '|'; events += letter; }
};

// Descriptors from items of mostly good letters and bodies of separators and
// a few letters, some without their closing "|", some without a NUL.
std::string RandomDescriptor(std::mt19937& random) {
  static constexpr char letters[] = "BCDILRSTHcshQ|\\ ";
  static constexpr char body[] = "ab ^^\\";
  std::string text;
  const auto items = random() % 5;
  for (unsigned item = 0; item < items; ++item) {
    text += letters[random() % (sizeof letters - 1)];
    const auto length = random() % 7;
    for (unsigned k = 0; k < length; ++k) text += body[random() % (sizeof body - 1)];
    if (random() % 10 != 0) text += '|';
  }
  if (random() % 3 != 0) text += '\0';
  return text;
}

// The form is sized from the entry call's counts but built from the scan:
// whatever the check accepts, the two agree, and the same text handed over
// without its NUL is accepted and scans the same.
TEST(DescriptorProblemTest, AcceptedDescriptorsScanAsTheyAreCounted) {
  std::mt19937 random(20240601);
  int accepted = 0, refused = 0;
  for (int run = 0; run < 20000; ++run) {
    const std::string text = RandomDescriptor(random);
    FixedText<DescriptorCapacity> descriptor;
    const DescriptorCounts counts = NormaliseDescriptor(text.data(), static_cast<std::int32_t>(text.size()), descriptor);
    if (!DescriptorProblem(descriptor, counts, Utf8Page).empty()) {
      ++refused;
      continue;
    }
    ++accepted;
    CountingEvents scanned;
    ScanDescriptor(descriptor, counts.descriptorLength, scanned);
    ASSERT_EQ(scanned.fields, counts.fieldCount) << text;
    ASSERT_EQ(scanned.textLines, counts.textLineCount) << text;

    const auto end = text.find('\0');
    const std::string unterminated = text.substr(0, end);
    FixedText<DescriptorCapacity> padded;
    const DescriptorCounts paddedCounts =
        NormaliseDescriptor(unterminated.data(), static_cast<std::int32_t>(unterminated.size()), padded);
    ASSERT_EQ(DescriptorProblem(padded, paddedCounts, Utf8Page), "") << text;
    CountingEvents paddedScan;
    ScanDescriptor(padded, paddedCounts.descriptorLength, paddedScan);
    ASSERT_EQ(paddedScan.events, scanned.events) << text;
  }
  // Both outcomes are common, so neither side of the property goes untried.
  EXPECT_GT(accepted, 2000);
  EXPECT_GT(refused, 2000);
}

}  // namespace

}  // namespace formreel
