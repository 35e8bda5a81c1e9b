#include "forms/core/code_page.h"

#include <langinfo.h>

#include <string_view>

namespace formreel {

// The locale's character set, as the program set it (setlocale): UTF-8, or
// bytes of one column each.
CodePage ActiveCodePage() {
  const std::string_view codeset = nl_langinfo(CODESET);
  return codeset == "UTF-8" || codeset == "utf8" ? Utf8Page : SingleBytePage;
}

}  // namespace formreel
