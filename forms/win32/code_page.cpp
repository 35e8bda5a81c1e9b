#include "forms/core/code_page.h"

#include <windows.h>

namespace formreel {

CodePage ActiveCodePage() {
  const UINT active = GetACP();
  CPINFO info{};
  // A page Windows cannot describe is read as single bytes.
  if (GetCPInfo(active, &info) == 0) info = CPINFO{};
  return DescribeCodePage(active, info.MaxCharSize, info.LeadByte);
}

}  // namespace formreel
