// Every C++ block of README.md and of the programmer's guide is a whole
// source file that compiles with the mingw-w64 compiler a consumer uses,
// against the public headers alone: the include path holds nothing but the
// folder that is installed as include/formreel/. The guide's whole programs
// are the examples.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <algorithm>
#include <string>
#include <vector>

#include "tests/support/markdown.h"

namespace formreel {

namespace {

// The compiler's exit status for `source`, and what it printed.
int SyntaxCheck(const std::filesystem::path& source, std::string& output) {
  const std::string command = std::string(FORMREEL_MINGW_CXX) +
                              " -std=c++20 -fsyntax-only -Wall -Wextra -Werror -I " +
                              FORMREEL_PUBLIC_INCLUDE + " " + source.string() + " 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  return pclose(pipe);
}

TEST(DocsCode, EveryCppBlockCompilesAgainstThePublicHeaderAlone) {
  if (std::string(FORMREEL_MINGW_CXX).empty()) GTEST_SKIP() << "no mingw-w64 compiler found";
  const std::filesystem::path work = FORMREEL_DOCS_WORK;
  std::filesystem::create_directories(work);
  for (const char* document : {FORMREEL_README, FORMREEL_GUIDE}) {
    int compiled = 0;
    for (const FencedBlock& block : FencedBlocks(ReadWhole(document))) {
      if (block.language != "cpp") continue;
      ++compiled;
      const std::string where = std::string(document) + ":" + std::to_string(block.line);
      const auto source = work / (std::filesystem::path(document).stem().string() + "-" +
                                  std::to_string(block.line) + ".cpp");
      std::ofstream(source, std::ios::binary) << block.body;
      std::string output;
      EXPECT_EQ(SyntaxCheck(source, output), 0) << where << "\n" << output;
    }
    EXPECT_GT(compiled, 0) << document << " has no C++ block";
  }
}

// The guide's whole programs are the examples that ./test builds and runs
// on both systems, byte for byte.
TEST(DocsCode, TheGuidesProgramsAreTheExamples) {
  const std::vector<FencedBlock> blocks = FencedBlocks(ReadWhole(FORMREEL_GUIDE));
  for (const char* example : {"first_form.cpp", "typed_form.cpp"}) {
    const std::string source = ReadWhole(std::string(FORMREEL_EXAMPLES) + "/" + example);
    ASSERT_FALSE(source.empty()) << example;
    const bool shown = std::any_of(blocks.begin(), blocks.end(),
                                   [&](const FencedBlock& block) { return block.body == source; });
    EXPECT_TRUE(shown) << "the guide does not show examples/" << example << " as it is";
  }
}

}  // namespace

}  // namespace formreel
