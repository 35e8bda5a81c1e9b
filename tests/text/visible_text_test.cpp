#include "text/visible_text.h"

#include <gtest/gtest.h>

namespace formreel {

namespace {

TEST(VisibleText, ControlCharactersAndStrayBytesDrawThemselvesOnly) {
  struct Case {
    std::string text;
    CodePage page;
    std::string shown;
  };
  const Case cases[] = {
      {"plain", Utf8Page, "plain"},
      {"\x1b]2;X\x07", Utf8Page, "\u241b]2;X\u2407"},  // a retitling sequence, as its pictures
      {"a\tb\x7f", Utf8Page, "a\u2409b\u2421"},
      {"\xc2\x9b" "31m", Utf8Page, "\ufffd31m"},       // the C1 form of CSI
      {"Ж名", Utf8Page, "Ж名"},
      {"\xff\xfe", Utf8Page, "\ufffd\ufffd"},
      {"\xe5\x90", Utf8Page, "\ufffd"},                // a character cut short
      {"caf\xe9\x1b", SingleBytePage, "caf\ufffd\u241b"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(VisibleUtf8(c.page, TextView(c.text.data(), c.text.size())), c.shown) << testing::PrintToString(c.text);
}

TEST(VisibleText, FillsTheColumnsTheFormCounts) {
  for (const std::string text : {"\x1b", "\xff", "Ж", "名", "\xe5\x90"}) {
    const TextView view(text.data(), text.size());
    const VisibleCharacter c = FirstVisible(Utf8Page, view);
    EXPECT_EQ(c.columns, TextColumns(Utf8Page, view)) << testing::PrintToString(text);
    EXPECT_EQ(c.bytes, text.size()) << testing::PrintToString(text);
  }
}

}  // namespace

}  // namespace formreel
