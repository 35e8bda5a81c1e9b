#include "forms/core/descriptor_scan.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "forms/core/descriptor.h"

namespace formreel {

namespace {

using namespace std::string_literals;

// Writes the events as one line: line[text] field L[prompt] choice[text]
// end L[last segment], separated by blanks; brackets keep blanks visible.
class EventRecorder final : public DescriptorEvents {
 public:
  std::string events;

  void TextLine(TextView text) override { Add("line[" + Text(text) + "]"); }
  void Field(TextView prompt, char letter) override { Add("field " + Letter(letter) + "[" + Text(prompt) + "]"); }
  void Choice(TextView text) override { Add("choice[" + Text(text) + "]"); }
  void ItemEnd(char letter, TextView lastSegment) override {
    Add("end " + Letter(letter) + "[" + Text(lastSegment) + "]");
  }

 private:
  static std::string Text(TextView text) { return std::string(text.begin(), text.end()); }
  static std::string Letter(char c) { return std::string(1, c); }
  void Add(const std::string& event) { events += (events.empty() ? "" : " ") + event; }
};

// The events of `text` handed over with its full length, as the entry call normalises it.
std::string Events(const std::string& text) {
  FixedText<DescriptorCapacity> descriptor;
  const DescriptorCounts counts =
      NormaliseDescriptor(text.data(), static_cast<std::int32_t>(text.size()), descriptor);
  EventRecorder recorder;
  ScanDescriptor(descriptor, counts.descriptorLength, recorder);
  return recorder.events;
}

// Item starts only, as "position letter" pairs.
class StartRecorder final : public DescriptorEvents {
 public:
  std::string starts;
  void ItemStart(std::int32_t position, char letter) override {
    starts += (starts.empty() ? "" : " ") + std::to_string(position) + letter;
  }
  void TextLine(TextView) override {}
  void Field(TextView, char) override {}
  void Choice(TextView) override {}
  void ItemEnd(char, TextView) override {}
};

TEST(ScanDescriptorTest, ReportsWhereEachItemStarts) {
  const std::pair<std::string, std::string> cases[] = {
      {"cname^a^|iage^|\0"s, "1C 10I"},
      {"\0"s, ""},
      {"C\0"s, "1C"},
      {"TX\\|HT|\0"s, "1T 5H"},
      {"CA^||IB^|\0"s, "1C 5\\"},  // the second "|", raised, stands as the letter
      {"CA^|"s + std::string(5, ' '), "1C 5 "},
  };
  for (const auto& [text, starts] : cases) {
    FixedText<DescriptorCapacity> descriptor;
    const DescriptorCounts counts =
        NormaliseDescriptor(text.data(), static_cast<std::int32_t>(text.size()), descriptor);
    StartRecorder recorder;
    ScanDescriptor(descriptor, counts.descriptorLength, recorder);
    EXPECT_EQ(recorder.starts, starts) << text;
  }
}

struct ScanCase {
  std::string text;
  std::string events;
};

TEST(ScanDescriptorTest, EventsOfTheLanguage) {
  const ScanCase cases[] = {
      {"CAVI FILE NAME LESS EXTENSION^Quit NOW ^|\0"s,
       "field C[AVI FILE NAME LESS EXTENSION] choice[Quit NOW ] end C[]"},
      {"SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|hOOPS! Chose Next Action|\0"s,
       "field S[NEXT ACTION     ] choice[EXIT PROGRAM] choice[BACKUP ONE FORM] choice[RETURN TO CURRENT FORM] "
       "end S[] end H[OOPS! Chose Next Action]"},
      {"\0"s, ""},
      {"cname^a^|iage^|\0"s, "field C[name] choice[a] end C[] field I[age] end I[]"},
      {"C^x^|\0"s, "field C[] choice[x] end C[]"},
      {"SP^^b^|\0"s, "field S[P] choice[] choice[b] end S[]"},
      {"TFIRST\\SECOND\\ignored|HTitle|\0"s, "line[FIRST] line[SECOND] end T[ignored] end H[Title]"},
      {"CP^a^ignored|\0"s, "field C[P] choice[a] end C[ignored]"},
      {"CLine\\P^|\0"s, "line[Line] field C[P] end C[]"},
      {"HAbove\\Title|\0"s, "line[Above] end H[Title]"},
      {"BGo^Stop^Wait^|\0"s, "field B[Go] choice[Stop] choice[Wait] end B[]"},
      {"T|H|\0"s, "end T[] end H[]"},
      {"CA^|"s, "field C[A] end C[]"},  // no NUL: blanks to 1999 are inert
      {"CA^|\0IB^|"s, "field C[A] end C[]"},
  };
  for (const ScanCase& c : cases) EXPECT_EQ(Events(c.text), c.events) << c.text;
}

// Shapes outside the language still scan exactly as the rules say.
TEST(ScanDescriptorTest, EventsOfMalformedShapes) {
  const ScanCase cases[] = {
      {"CA^|CPROMPT|IB^|\0"s, "field C[A] end C[] end C[PROMPT] field I[B] end I[]"},  // no "^"
      {"CA^|IB^\0"s, "field C[A] end C[] field I[B]"},                                   // not closed
      {"TX^Y\\|\0"s, "field T[X] line[Y] end T[]"},                                      // "^" in T
      {"CP^a\\b^|\0"s, "field C[P] line[a] choice[b] end C[]"},                         // "\" after prompt
      {"CA^||IB^|\0"s, "field C[A] end C[] field \\[IB] end \\[]"},                      // "||" raised to "|\"
      {"QX^y^|\0"s, "field Q[X] choice[y] end Q[]"},                                     // unknown letter
      {"C|\0"s, "end C[]"},
      {"CA^|\0"s, "field C[A] end C[]"},
      {"CA^|C\0"s, "field C[A] end C[]"},  // a letter with nothing after it
  };
  for (const ScanCase& c : cases) EXPECT_EQ(Events(c.text), c.events) << c.text;
}

TEST(ScanDescriptorTest, ReadsNothingBeyondTheLength) {
  const FixedText<DescriptorCapacity> descriptor("CA^|IB^|");
  const struct {
    std::int32_t length;
    std::string events;
  } cases[] = {
      {-7, ""}, {0, ""}, {1, ""}, {2, ""},
      {3, "field C[A]"},
      {4, "field C[A] end C[]"},
      {5, "field C[A] end C[]"},  // the letter is taken, its item is empty
      {7, "field C[A] end C[] field I[B]"},
      {8, "field C[A] end C[] field I[B] end I[]"},
  };
  for (const auto& c : cases) {
    EventRecorder recorder;
    ScanDescriptor(descriptor, c.length, recorder);
    EXPECT_EQ(recorder.events, c.events) << c.length;
  }
}

TEST(ScanDescriptorTest, StopsAtTheEndOfTheStorage) {
  // A "|" in the last position has no letter after it; a length beyond the
  // storage is taken as its end (reading past it would end the program).
  FixedText<DescriptorCapacity> descriptor;
  descriptor.Set(1, 'T');
  descriptor.Set(DescriptorCapacity - 1, '\\');
  descriptor.Set(DescriptorCapacity, '|');
  const std::string blanks(DescriptorCapacity - 3, ' ');
  for (const std::int32_t length : {DescriptorCapacity, DescriptorCapacity + 1, INT32_MAX}) {
    EventRecorder recorder;
    ScanDescriptor(descriptor, length, recorder);
    EXPECT_EQ(recorder.events, "line[" + blanks + "] end T[]") << length;
  }
}

// Texts are views into the descriptor itself, not copies: records where each starts.
class ViewRecorder final : public DescriptorEvents {
 public:
  explicit ViewRecorder(const char* base) : base_(base) {}
  std::vector<std::ptrdiff_t> offsets;
  void TextLine(TextView text) override { offsets.push_back(text.data() - base_); }
  void Field(TextView prompt, char) override { offsets.push_back(prompt.data() - base_); }
  void Choice(TextView text) override { offsets.push_back(text.data() - base_); }
  void ItemEnd(char, TextView lastSegment) override { offsets.push_back(lastSegment.data() - base_); }

 private:
  const char* base_;
};

TEST(ScanDescriptorTest, TextsAreViewsIntoTheDescriptor) {
  const FixedText<DescriptorCapacity> descriptor("CL\\P^a^z|H");
  ViewRecorder recorder(descriptor.All().data());
  ScanDescriptor(descriptor, 10, recorder);
  EXPECT_EQ(recorder.offsets, (std::vector<std::ptrdiff_t>{1, 3, 5, 7}));
}

}  // namespace

}  // namespace formreel
