#include "recode_windows.h"

#include <windows.h>

namespace formreel::formentry {

std::optional<std::string> Recode(std::string_view text, unsigned from, unsigned to) {
  if (text.empty()) return std::string();
  const int length = static_cast<int>(text.size());
  const int wide = MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wide == 0) return std::nullopt;
  std::wstring utf16(static_cast<std::size_t>(wide), L'\0');
  MultiByteToWideChar(from, MB_ERR_INVALID_CHARS, text.data(), length, utf16.data(), wide);
  // UTF-8 holds every character, and takes no default-character flags.
  const bool utf8 = to == CP_UTF8;
  BOOL defaulted = FALSE;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  const int narrow =
      WideCharToMultiByte(to, flags, utf16.data(), wide, nullptr, 0, nullptr, utf8 ? nullptr : &defaulted);
  if (narrow == 0 || defaulted) return std::nullopt;
  std::string converted(static_cast<std::size_t>(narrow), '\0');
  WideCharToMultiByte(to, flags, utf16.data(), wide, converted.data(), narrow, nullptr, utf8 ? nullptr : &defaulted);
  return converted;
}

}  // namespace formreel::formentry
