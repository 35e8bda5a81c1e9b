// formentry's conversions for a Windows whose active code page is a legacy
// one: whole texts or none, never a shortened one.
#include "formentry/recode_windows.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace formreel::formentry {

namespace {

TEST(Recode, AllOfATextOrNothing) {
  struct Case {
    std::string text;
    unsigned from, to;
    std::optional<std::string> converted;
  };
  const Case cases[] = {
      {"caf\xc3\xa9", CP_UTF8, 1252, "caf\xe9"},
      {"caf\xe9", 1252, CP_UTF8, "caf\xc3\xa9"},
      {"\xe3\x81\x82", CP_UTF8, 932, "\x82\xa0"},  // あ in Shift-JIS
      {"\x82\xa0", 932, CP_UTF8, "\xe3\x81\x82"},
      {"\xd0\x96", CP_UTF8, 1252, std::nullopt},   // Ж: no character of 1252
      {"\xe2\x88\x9e", CP_UTF8, 1252, std::nullopt},  // ∞: no near stand-in either
      {"A\xff", CP_UTF8, 1252, std::nullopt},      // a byte of no UTF-8 character
      {"\x82", 932, CP_UTF8, std::nullopt},        // a lead byte alone
      {"", CP_UTF8, 1252, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Recode(c.text, c.from, c.to), c.converted) << testing::PrintToString(c.text);
}

}  // namespace

}  // namespace formreel::formentry
