// The documents' text as the tests that hold them to the code read it: a
// whole file, and the fenced blocks of Markdown.
#pragma once

#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace formreel {

// The whole of a file; empty when it cannot be read.
inline std::string ReadWhole(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

struct FencedBlock {
  int line;              // of the opening fence, from 1
  std::string language;  // what follows the opening fence
  std::string body;      // each line ended by LF
};

// The fenced blocks of a Markdown text, in order; a fence may be indented.
inline std::vector<FencedBlock> FencedBlocks(const std::string& markdown) {
  std::vector<FencedBlock> blocks;
  std::istringstream lines(markdown);
  bool inBlock = false;
  int number = 0;
  for (std::string line; std::getline(lines, line);) {
    ++number;
    const std::size_t text = line.find_first_not_of(' ');
    if (text != std::string::npos && line.compare(text, 3, "```") == 0) {
      if (!inBlock) blocks.push_back({number, line.substr(text + 3), ""});
      inBlock = !inBlock;
    } else if (inBlock) {
      blocks.back().body += line + "\n";
    }
  }
  return blocks;
}

// The body of the first block whose first line starts with `start`; empty
// when there is none.
inline std::string FencedBlockStartingWith(const std::string& markdown, std::string_view start) {
  for (const FencedBlock& block : FencedBlocks(markdown))
    if (block.body.starts_with(start)) return block.body;
  return {};
}

}  // namespace formreel
