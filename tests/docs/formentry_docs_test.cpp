// What README.md and the programmer's guide say of formentry, against
// formentry itself: the README shows exactly what --help prints, and the
// guide quotes the refusal of a line end inside an item.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "formentry/command_line.h"

namespace formreel::formentry {

namespace {

std::string ReadWhole(const char* path) {
  std::ifstream file(path, std::ios::binary);
  EXPECT_TRUE(file) << "cannot read " << path;
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The body of the first fenced block whose first line starts with `start`,
// each line ended by LF; empty when there is none.
std::string FencedBlockStartingWith(const std::string& markdown, const std::string& start) {
  std::istringstream lines(markdown);
  std::string body;
  bool inBlock = false;
  bool firstLine = false;
  bool wanted = false;
  for (std::string line; std::getline(lines, line);) {
    if (line.starts_with("```")) {
      if (inBlock && wanted) return body;
      inBlock = !inBlock;
      firstLine = inBlock;
      continue;
    }
    if (firstLine) wanted = line.starts_with(start);
    firstLine = false;
    if (inBlock && wanted) body += line + "\n";
  }
  return {};
}

TEST(Readme, ShowsExactlyWhatHelpPrints) {
  const std::string block = FencedBlockStartingWith(ReadWhole(FORMREEL_README), "usage: formentry");
  ASSERT_FALSE(block.empty()) << "README.md shows no block starting with \"usage: formentry\"";
  EXPECT_EQ(block, UsageText());
}

TEST(Guide, QuotesTheRefusalOfALineEndInsideAnItem) {
  std::string descriptor;
  std::string message;
  ASSERT_EQ(DescriptorInFile("CNAME^\nIAGE^|\n", descriptor, message), CommandLineStatus::Refused);
  EXPECT_NE(ReadWhole(FORMREEL_GUIDE).find("`formentry: " + message + "`"), std::string::npos) << message;
}

}  // namespace

}  // namespace formreel::formentry
