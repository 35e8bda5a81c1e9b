// What Windows reports of a code page, made into the page the text rules read.
#include "forms/core/code_page.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace formreel {

namespace {

// "UTF-8", "single-byte", or "double-byte" and its ranges, e.g. " 81-9F".
std::string Shown(const CodePage& page) {
  if (page.kind != CodePage::Kind::DoubleByte) return page.kind == CodePage::Kind::Utf8 ? "UTF-8" : "single-byte";
  std::string shown = "double-byte";
  for (std::size_t r = 0; r < page.leadRangeCount; ++r) {
    char range[8];
    std::snprintf(range, sizeof range, " %02X-%02X", page.leadRanges[r].first, page.leadRanges[r].last);
    shown += range;
  }
  return shown;
}

TEST(DescribeCodePage, FromWhatWindowsReports) {
  struct Case {
    std::uint32_t number, maxCharSize;
    std::vector<std::uint8_t> leadBytes;  // no byte beyond them is read
    const char* shown;
  };
  const std::vector<std::uint8_t> none(12, 0);
  const Case cases[] = {
      {65001, 4, none, "UTF-8"},
      {932, 2, {0x81, 0x9F, 0xE0, 0xFC, 0, 0, 0, 0, 0, 0, 0, 0}, "double-byte 81-9F E0-FC"},
      {936, 2, {0x81, 0xFE, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "double-byte 81-FE"},
      {1252, 1, none, "single-byte"},
      {1252, 0, none, "single-byte"},  // nothing reported
      // More ranges than a page holds; ranges not closed; a lone byte after them.
      {950, 2, {0x81, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8E, 0, 0},
       "double-byte 81-82 83-84 85-86 87-88 89-8A 8B-8C"},
      {950, 2, {0x81, 0x9F, 0xA1, 0xFE}, "double-byte 81-9F A1-FE"},
      {950, 2, {0x81, 0x9F, 0xA1}, "double-byte 81-9F"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Shown(DescribeCodePage(c.number, c.maxCharSize, c.leadBytes)), c.shown) << c.number;
}

}  // namespace

}  // namespace formreel
