#include "forms/core/display_rule.h"

#include <gtest/gtest.h>

namespace formreel {
namespace {

TEST(DisplayRule, PlacesEachDisplayByWhatTheProgramHas) {
  using enum FormPlace;
  struct Row {
    FormDisplay display;
    FormPlace withBoth, terminalOnly, desktopOnly, neither;
  } rows[] = {
      {FormDisplay::Standard, Terminal, Terminal, Window, Nowhere},
      {FormDisplay::Window, Window, Window, Window, Window},
      {FormDisplay::Terminal, Terminal, Terminal, Terminal, Terminal},
      {FormDisplay::Plain, PlainLines, PlainLines, PlainLines, PlainLines},
      {FormDisplay::Unattended, Unattended, Unattended, Unattended, Unattended},
  };
  for (const Row& row : rows) {
    const auto display = static_cast<int>(row.display);
    EXPECT_EQ(PlaceFor(row.display, true, true), row.withBoth) << display;
    EXPECT_EQ(PlaceFor(row.display, true, false), row.terminalOnly) << display;
    EXPECT_EQ(PlaceFor(row.display, false, true), row.desktopOnly) << display;
    EXPECT_EQ(PlaceFor(row.display, false, false), row.neither) << display;
  }
}

}  // namespace
}  // namespace formreel
