#include "forms/core/code_page.h"

namespace formreel {

CodePage DescribeCodePage(std::uint32_t number, std::uint32_t maxCharSize, std::span<const std::uint8_t> leadBytes) {
  if (number == Utf8CodePageNumber) return Utf8Page;
  if (maxCharSize != 2) return SingleBytePage;
  CodePage page{CodePage::Kind::DoubleByte, {}, 0};
  // No range starts at the zero byte, so one that does closes the list.
  for (std::size_t at = 0; at + 1 < leadBytes.size() && leadBytes[at] != 0; at += 2) {
    if (page.leadRangeCount == CodePage::MaxLeadRanges) break;
    page.leadRanges[page.leadRangeCount++] = {leadBytes[at], leadBytes[at + 1]};
  }
  return page;
}

}  // namespace formreel
