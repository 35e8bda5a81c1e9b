// A form confirmed unshown: the caller's choice of a button presses it.
#include "forms/core/unattended.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace formreel {

namespace {

TEST(Unattended, TheFirstRowWithAChosenButtonHasItPressed) {
  const std::string descriptor = "SKIND^FILM^NEWS^|BSAVE^DISCARD^|BA^B^C^|";
  using Selections = std::array<std::int8_t, 3>;
  const std::pair<Selections, Selections> rows[] = {
      {{2, 2, 0}, {2, 2, 0}},
      {{0, 2, 3}, {0, 2, 0}},   // one button ends the form: the first row's
      {{0, 0, 3}, {0, 0, 3}},
      {{0, 3, 1}, {0, 0, 1}},   // no third button in the first row
      {{0, -1, 0}, {0, 0, 0}},  // none pressed: O.K.'s confirmation
  };
  for (const auto& [given, answered] : rows) {
    Selections selections = given;
    std::array<ValueSlot, 3> values{};
    UnattendedFrontEnd unattended;
    ASSERT_EQ(EnterForm(descriptor.data(), static_cast<std::int32_t>(descriptor.size()), selections, values,
                        Utf8Page, unattended),
              FormEntryEnd::Confirmed);
    EXPECT_EQ(selections, answered) << testing::PrintToString(given);
  }
}

}  // namespace

}  // namespace formreel
