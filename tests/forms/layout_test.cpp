#include "forms/core/layout.h"

#include <gtest/gtest.h>

namespace formreel {

namespace {

FormMetrics Metrics(std::int32_t lineCount, std::int32_t charWidth = 8, std::int32_t lineHeight = 16) {
  return MetricsFor(charWidth, lineHeight, lineCount);
}

TEST(LayoutSpacing, PacksFormsOfMoreThanTenLines) {
  EXPECT_EQ(Metrics(10).linePitch, 2.0f);
  EXPECT_EQ(Metrics(10).controlHeight, 1.75f);
  EXPECT_EQ(Metrics(10).topMargin, 1.0f);
  EXPECT_EQ(Metrics(11).linePitch, 1.2f);
  EXPECT_EQ(Metrics(11).controlHeight, 1.2f);
  EXPECT_EQ(Metrics(11).topMargin, 0.0f);
  EXPECT_EQ(Metrics(0).linePitch, 2.0f);
}

TEST(LayoutOneLineForm, MatchesTheNameForm) {
  const FormMetrics m = Metrics(1);
  EXPECT_EQ(FormWindowWidth(m), 512);
  EXPECT_EQ(FormWindowHeight(m), 160);
  EXPECT_EQ(LineTop(m, 1), 16);
  EXPECT_EQ(ComboBoxBox(m, 1), (Box{240, 16, 240, 168}));
  EXPECT_EQ(ControlRowHeight(m), 28);
  EXPECT_EQ(EmptyListItemHeight(m), 196);
  EXPECT_EQ(OkButtonBox(m), (Box{8, 48, 208, 28}));
  EXPECT_EQ(CancelButtonBox(m), (Box{256, 48, 208, 28}));
  EXPECT_EQ(LineTextOrigin(m, 1), (Point{8, 16}));
  EXPECT_EQ(LineMarkOrigin(m, 1), (Point{485, 20}));
  EXPECT_EQ(FirstKeyHelpOrigin(m), (Point{8, 96}));
  EXPECT_EQ(SecondKeyHelpOrigin(m), (Point{8, 112}));
}

TEST(LayoutTenLines, StaysSpacious) {
  const FormMetrics m = Metrics(10);
  EXPECT_EQ(FormWindowHeight(m), 448);
  EXPECT_EQ(OkButtonBox(m).y, 336);
  EXPECT_EQ(LineTop(m, 10), 16 * 19);
}

TEST(LayoutElevenLines, PacksLinesAtOnePointTwo) {
  const FormMetrics m = Metrics(11);
  EXPECT_EQ(LineTop(m, 1), 0);
  EXPECT_EQ(LineTop(m, 2), 19);
  EXPECT_EQ(FormWindowHeight(m), 293);
  EXPECT_EQ(OkButtonBox(m), (Box{8, 211, 208, 19}));
  EXPECT_EQ(CancelButtonBox(m).y, 211);
  EXPECT_EQ(ComboBoxBox(m, 1).height, 115);
  EXPECT_EQ(EmptyListItemHeight(m), 134);   // 16 x 1.2 x 7
  EXPECT_EQ(LineMarkOrigin(m, 1).y, 4);     // 0.3 x 16
  EXPECT_EQ(FirstKeyHelpOrigin(m).y, 233);  // (1.2 x 13 - 1) x 16 = 233.6
  EXPECT_EQ(SecondKeyHelpOrigin(m).y, 249); // 15.6 x 16 = 249.6
}

TEST(LayoutNoLines, OnlyButtonsAndKeyHelp) {
  const FormMetrics m = Metrics(0);
  EXPECT_EQ(FormWindowHeight(m), 128);
  EXPECT_EQ(OkButtonBox(m).y, 16);
  EXPECT_EQ(FirstKeyHelpOrigin(m).y, 64);
  EXPECT_EQ(SecondKeyHelpOrigin(m).y, 80);
}

// The products are formed from the float factors' exact values in double
// precision: (12 + 4.3f) x 25 x 1.2f is 489.00001 there, while the same
// products in single precision give 488.99997.
TEST(LayoutPrecision, UsesTheSingleFactorsExactlyInDouble) {
  const FormMetrics m = Metrics(12, 10, 25);
  EXPECT_EQ(FormWindowHeight(m), 489);
  EXPECT_EQ(LineTop(m, 6), 150);  // 5 x 1.2000000477 x 25 = 150.0000006
  EXPECT_EQ(ControlRowHeight(m), 30);
}

TEST(LayoutButtonGroups, SplitsSixtyColumns) {
  const FormMetrics m = Metrics(1);
  EXPECT_EQ(GroupButtonBox(m, 1, 1, 3), (Box{8, 16, 152, 28}));
  EXPECT_EQ(GroupButtonBox(m, 1, 2, 3), (Box{168, 16, 152, 28}));
  EXPECT_EQ(GroupButtonBox(m, 1, 3, 3), (Box{328, 16, 152, 28}));
  EXPECT_EQ(GroupButtonBox(m, 1, 1, 1), (Box{8, 16, 59 * 8, 28}));
  EXPECT_EQ(GroupButtonBox(m, 1, 8, 8), (Box{(1 + 7 * 7) * 8, 16, 6 * 8, 28}));
}

}  // namespace

}  // namespace formreel
