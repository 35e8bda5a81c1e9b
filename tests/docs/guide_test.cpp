// The programmer's guide (docs/forms.md) against the code: every descriptor
// it shows is one that DescriptorProblem accepts, and every row of its table
// of refusals gives exactly the message the row states.
//
// The guide marks what is checked:
// - a fenced block with the info string "descriptor" holds one descriptor,
//   its one line exactly as passed;
// - in "cpp" blocks, the string literals that initialise a `descriptor[]`;
// - in "sh" blocks, the single-quoted words that hold a "|";
// - between <!-- refusals --> and <!-- /refusals -->, a table whose rows hold
//   a descriptor and a message in code spans. In a table a "|" is written
//   "\|"; a descriptor cell may join several code spans, a span followed
//   by "×N" stands for N copies of its text, and a bare LF for a line feed.
//   Together the rows give every message DescriptorProblem can, save the
//   counts' one that only its second form gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <span>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "forms/core/descriptor_check.h"
#include "tests/support/markdown.h"

namespace formreel {

namespace {

struct Shown {
  std::string descriptor;
  std::string where;  // for the failure message: the block it came from
};

struct Refusal {
  std::string descriptor;
  std::string message;
  int line = 0;  // of the guide
};

// What the checker found, and what it could not read.
struct Guide {
  std::vector<Shown> descriptors;
  std::vector<Refusal> refusals;
  std::vector<std::string> faults;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return std::string(text.substr(first, last - first + 1));
}

// The string literals after each "descriptor[] =" of a C++ block, joined as
// the compiler joins adjacent literals.
void CppDescriptors(const std::string& code, const std::string& where, Guide& guide) {
  const std::string marker = "descriptor[] =";
  for (auto at = code.find(marker); at != std::string::npos; at = code.find(marker, at + 1)) {
    std::string text;
    std::size_t p = at + marker.size();
    bool any = false;
    while (true) {
      while (p < code.size() && (code[p] == ' ' || code[p] == '\n')) ++p;
      if (p >= code.size() || code[p] != '"') break;
      any = true;
      for (++p; p < code.size() && code[p] != '"'; ++p) {
        if (code[p] != '\\') {
          text += code[p];
          continue;
        }
        const char escaped = p + 1 < code.size() ? code[++p] : ' ';
        if (escaped != '\\' && escaped != '"') {
          guide.faults.push_back(where + ": an escape the checker does not read: \\" + std::string(1, escaped));
          return;
        }
        text += escaped;
      }
      ++p;
    }
    if (!any) guide.faults.push_back(where + ": \"descriptor[] =\" without a string literal");
    guide.descriptors.push_back({text, where});
  }
}

// The single-quoted words of shell text that hold a "|", read line by line
// as the shell reads them: not in comments, nor inside double quotes.
void ShellDescriptors(const std::string& code, const std::string& where, Guide& guide) {
  for (const std::string& line : Lines(code)) {
    char quote = 0;  // the open quote, if any
    std::string word;
    for (std::size_t p = 0; p < line.size(); ++p) {
      const char c = line[p];
      if (quote == '\'') {
        if (c != '\'') {
          word += c;
          continue;
        }
        if (word.find('|') != std::string::npos) guide.descriptors.push_back({word, where});
        quote = 0;
      } else if (quote == '"') {
        if (c == '\\') ++p;
        else if (c == '"') quote = 0;
      } else if (c == '\\') {
        ++p;
      } else if (c == '\'' || c == '"') {
        quote = c;
        word.clear();
      } else if (c == '#' && (p == 0 || line[p - 1] == ' ' || line[p - 1] == '\t')) {
        break;  // a comment
      }
    }
    if (quote == '\'') guide.faults.push_back(where + ": a quote not closed on its line: " + line);
  }
}

// The cells of a table row, "\|" read as "|".
std::vector<std::string> Cells(const std::string& row) {
  std::vector<std::string> cells;
  std::string cell;
  const std::string trimmed = Trimmed(row);
  std::string_view rest = trimmed;
  if (!rest.empty() && rest.front() == '|') rest.remove_prefix(1);
  for (std::size_t p = 0; p < rest.size(); ++p) {
    if (rest[p] == '\\' && p + 1 < rest.size() && rest[p + 1] == '|') {
      cell += '|';
      ++p;
    } else if (rest[p] == '|') {
      cells.push_back(Trimmed(cell));
      cell.clear();
    } else {
      cell += rest[p];
    }
  }
  if (!Trimmed(cell).empty()) cells.push_back(Trimmed(cell));
  return cells;
}

// The text of a code span as it renders: one blank is dropped from each end
// when both ends have one.
std::string SpanText(std::string text) {
  if (text.size() >= 2 && text.front() == ' ' && text.back() == ' ' &&
      text.find_first_not_of(' ') != std::string::npos)
    text = text.substr(1, text.size() - 2);
  return text;
}

// A cell of code spans, each optionally followed by "×N", and bare LFs;
// false when the cell holds anything else.
bool CellText(const std::string& cell, std::string& text) {
  static const std::string times = "\u00d7";  // ×
  text.clear();
  std::size_t p = 0;
  bool any = false;
  while (p < cell.size()) {
    if (cell[p] == ' ') {
      ++p;
      continue;
    }
    if (cell.compare(p, 2, "LF") == 0) {
      text += '\n';
      p += 2;
      any = true;
      continue;
    }
    if (cell[p] != '`') return false;
    const auto close = cell.find('`', p + 1);
    if (close == std::string::npos) return false;
    const std::string span = SpanText(cell.substr(p + 1, close - p - 1));
    p = close + 1;
    int copies = 1;
    if (cell.compare(p, times.size(), times) == 0) {
      p += times.size();
      const auto digits = cell.find_first_not_of("0123456789", p);
      const std::string number = cell.substr(p, digits == std::string::npos ? std::string::npos : digits - p);
      if (number.empty() || number.size() > 4) return false;
      copies = std::stoi(number);
      p += number.size();
    }
    for (int k = 0; k < copies; ++k) text += span;
    any = true;
  }
  return any;
}

void RefusalRow(const std::string& row, int line, Guide& guide) {
  const std::string where = "line " + std::to_string(line);
  // GitHub reads "\\|" as an escaped backslash and a cell's end, so a
  // backslash right before a "|" cannot be written in a table.
  if (row.find("\\\\|") != std::string::npos) {
    guide.faults.push_back(where + ": a backslash right before \"|\" cannot be written in a table");
    return;
  }
  const std::vector<std::string> cells = Cells(row);
  Refusal refusal;
  refusal.line = line;
  if (cells.size() != 2 || !CellText(cells[0], refusal.descriptor) || !CellText(cells[1], refusal.message)) {
    guide.faults.push_back(where + ": a row of the refusals table is not two cells of code spans: " + row);
    return;
  }
  guide.refusals.push_back(refusal);
}

Guide ReadGuide(const std::string& markdown) {
  Guide guide;
  const std::vector<std::string> lines = Lines(markdown);
  bool inRefusals = false;
  int tableRows = 0;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::string& line = lines[k];
    const int number = static_cast<int>(k) + 1;
    // A fence may be indented, as in a list item; its lines lose that indentation.
    const std::size_t indent = std::min(line.find_first_not_of(' '), line.size());
    if (line.compare(indent, 3, "```") == 0) {
      const std::string info = Trimmed(std::string_view(line).substr(indent + 3));
      const std::string where = "the " + (info.empty() ? std::string("plain") : info) + " block at line " +
                                std::to_string(number);
      std::vector<std::string> body;
      std::size_t end = k + 1;
      for (; end < lines.size() && Trimmed(lines[end]) != "```"; ++end) {
        const std::string& l = lines[end];
        body.push_back(l.substr(std::min({indent, l.find_first_not_of(' '), l.size()})));
      }
      if (end == lines.size()) guide.faults.push_back(where + " is not closed");
      k = end;
      std::string code;
      for (const std::string& l : body) code += l + "\n";
      if (info == "descriptor") {
        if (body.size() != 1)
          guide.faults.push_back(where + " holds " + std::to_string(body.size()) + " lines, not one descriptor");
        else
          guide.descriptors.push_back({body[0], where});
      } else if (info == "cpp") {
        CppDescriptors(code, where, guide);
      } else if (info == "sh") {
        ShellDescriptors(code, where, guide);
      }
      continue;
    }
    if (Trimmed(line) == "<!-- refusals -->") {
      inRefusals = true;
      tableRows = 0;
      continue;
    }
    if (Trimmed(line) == "<!-- /refusals -->") {
      inRefusals = false;
      continue;
    }
    if (inRefusals && Trimmed(line).rfind('|', 0) == 0) {
      // The first two rows are the heading and the alignment row.
      if (++tableRows > 2) RefusalRow(line, number, guide);
    }
  }
  if (inRefusals) guide.faults.push_back("<!-- refusals --> is not closed by <!-- /refusals -->");
  return guide;
}

std::string Problem(const std::string& text, bool withNul) {
  return DescriptorProblem(text.c_str(), static_cast<std::int32_t>(text.size() + (withNul ? 1 : 0)), Utf8Page);
}

const Guide& TheGuide() {
  static const Guide guide = ReadGuide(ReadWhole(FORMREEL_GUIDE));
  return guide;
}

TEST(GuideChecker, ReadsEveryKindOfMarkedDescriptor) {
  const Guide guide = ReadGuide(
      "text\n"
      "```descriptor\nTA\\B\\|CX^|\n```\n"
      "```cpp\nstatic const char descriptor[] =\n    \"IA^|\"\n    \"TA\\\\|\";\nint x = 1;\n```\n"
      "```sh\n# the guide's shell\necho \"it's \\\"so\\\"\"\nformentry.exe --value '1=A' 'CNAME^|' # don't\n```\n"
      "- a list item:\n\n  ```descriptor\n  ib^|\n  ```\n"
      "```\nCNOT CHECKED^|\n```\n"
      "<!-- refusals -->\n"
      "| descriptor | message |\n"
      "|---|---|\n"
      "| `CA^\\|` `C`\u00d73 LF | `item 2 (C): \"\\|\"` |\n"
      "| ` A ` | `x` |\n"
      "<!-- /refusals -->\n");
  EXPECT_EQ(guide.faults, std::vector<std::string>{});
  ASSERT_EQ(guide.descriptors.size(), 4u);
  EXPECT_EQ(guide.descriptors[0].descriptor, "TA\\B\\|CX^|");
  EXPECT_EQ(guide.descriptors[1].descriptor, "IA^|TA\\|");
  EXPECT_EQ(guide.descriptors[2].descriptor, "CNAME^|");
  EXPECT_EQ(guide.descriptors[3].descriptor, "ib^|");
  ASSERT_EQ(guide.refusals.size(), 2u);
  EXPECT_EQ(guide.refusals[0].descriptor, "CA^|CCC\n");
  EXPECT_EQ(guide.refusals[0].message, "item 2 (C): \"|\"");
  EXPECT_EQ(guide.refusals[0].line, 27);
  EXPECT_EQ(guide.refusals[1].descriptor, "A");
}

TEST(GuideChecker, ReportsWhatItCannotRead) {
  const Guide guide = ReadGuide(
      "```descriptor\nCA^|\nCB^|\n```\n"
      "<!-- refusals -->\n| a | b |\n|---|---|\n| `TX\\\\|` | `m` |\n| CA^ | `m` |\n");
  EXPECT_EQ(guide.faults.size(), 4u);
  EXPECT_EQ(guide.descriptors.size(), 0u);
  EXPECT_EQ(guide.refusals.size(), 0u);
}

TEST(Guide, EveryDescriptorItShowsIsAccepted) {
  const Guide& guide = TheGuide();
  EXPECT_EQ(guide.faults, std::vector<std::string>{});
  ASSERT_GE(guide.descriptors.size(), 10u) << "the guide shows too few descriptors: are its blocks still marked?";
  for (const Shown& shown : guide.descriptors) {
    EXPECT_EQ(Problem(shown.descriptor, true), "") << shown.where << ": " << shown.descriptor;
    EXPECT_EQ(Problem(shown.descriptor, false), "") << shown.where << " without its NUL: " << shown.descriptor;
  }
}

TEST(Guide, EveryRefusalGivesTheMessageItsRowStates) {
  const Guide& guide = TheGuide();
  EXPECT_EQ(guide.faults, std::vector<std::string>{});
  ASSERT_GE(guide.refusals.size(), 10u) << "the guide's refusals table is missing or nearly empty";
  for (const Refusal& refusal : guide.refusals)
    EXPECT_EQ(Problem(refusal.descriptor, true), refusal.message)
        << "line " << refusal.line << ": " << refusal.descriptor;
}

// Whether `message` is an instance of `pattern`, each "%" standing for a run
// of one or more characters other than a blank.
bool Matches(std::string_view pattern, std::string_view message) {
  if (pattern.empty()) return message.empty();
  if (pattern.front() != '%')
    return !message.empty() && message.front() == pattern.front() && Matches(pattern.substr(1), message.substr(1));
  for (std::size_t n = 1; n <= message.size() && message[n - 1] != ' '; ++n)
    if (Matches(pattern.substr(1), message.substr(n))) return true;
  return false;
}

TEST(GuideChecker, MatchesAMessageToItsPattern) {
  EXPECT_TRUE(Matches("item % (%): more than % fields", "item 21 (C): more than 20 fields"));
  EXPECT_FALSE(Matches("item % (%): more than % fields", "item 1 (T): more than 25 lines (fields and text lines)"));
  EXPECT_FALSE(Matches("item % has", "item  has"));
  EXPECT_FALSE(Matches("item % has", "item 1 2 has"));
}

// Each row is an instance of exactly one of the check's messages, and every
// message has its row, so that the table lists all a user can meet.
TEST(Guide, TheRefusalsTableListsEveryMessage) {
  const std::span<const std::string_view> patterns = DescriptorProblemPatterns();
  std::vector<int> rows(patterns.size(), 0);
  for (const Refusal& refusal : TheGuide().refusals) {
    int matched = 0;
    for (std::size_t k = 0; k < patterns.size(); ++k) {
      if (!Matches(patterns[k], refusal.message)) continue;
      ++matched;
      ++rows[k];
    }
    EXPECT_EQ(matched, 1) << "line " << refusal.line << ": " << refusal.message;
  }
  for (std::size_t k = 0; k < patterns.size(); ++k) {
    // FormEntry and the public DescriptorProblem count for themselves, so
    // they never give this one.
    if (patterns[k].starts_with("the counts (")) continue;
    EXPECT_GT(rows[k], 0) << "the refusals table has no row for: " << patterns[k];
  }
}

// The pictures are made by scripts/guide-pictures from descriptors of its
// own: each must be one the guide shows, so a picture shows what its text says.
TEST(Guide, EveryPictureIsOfADescriptorItShows) {
  Guide pictures;
  ShellDescriptors(ReadWhole(FORMREEL_GUIDE_PICTURES), "scripts/guide-pictures", pictures);
  EXPECT_EQ(pictures.faults, std::vector<std::string>{});
  ASSERT_GE(pictures.descriptors.size(), 10u) << "scripts/guide-pictures shows too few forms";
  const Guide& guide = TheGuide();
  for (const Shown& picture : pictures.descriptors) {
    bool shown = false;
    for (const Shown& descriptor : guide.descriptors) shown = shown || descriptor.descriptor == picture.descriptor;
    EXPECT_TRUE(shown) << "a picture of a descriptor the guide does not show: " << picture.descriptor;
  }
}

}  // namespace

}  // namespace formreel
