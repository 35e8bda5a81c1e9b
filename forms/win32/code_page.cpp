#include "forms/core/code_page.h"

#include <windows.h>

namespace formreel {

CodePage ActiveCodePage() {
  const UINT active = GetACP();
  if (active == CP_UTF8) return Utf8Page;
  CPINFO info{};
  if (GetCPInfo(active, &info) == 0 || info.MaxCharSize != 2) return SingleBytePage;
  // LeadByte holds pairs of range ends, closed by two zero bytes.
  CodePage page{CodePage::Kind::DoubleByte, {}, 0};
  for (std::size_t r = 0; r < CodePage::MaxLeadRanges && info.LeadByte[2 * r] != 0; ++r) {
    page.leadRanges[r] = {info.LeadByte[2 * r], info.LeadByte[2 * r + 1]};
    page.leadRangeCount = r + 1;
  }
  return page;
}

}  // namespace formreel
