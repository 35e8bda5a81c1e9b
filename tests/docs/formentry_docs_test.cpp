// What README.md and the programmer's guide say of formentry, against
// formentry itself: the README shows exactly what --help prints, and the
// guide quotes the refusal of a line end inside an item.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include "formentry/command_line.h"
#include "tests/support/markdown.h"

namespace formreel::formentry {

namespace {

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
