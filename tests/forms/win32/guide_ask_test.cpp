// The guide's Ask (docs/forms.md, "The entry call"), built from its C++
// block as it stands: it tells the user's no from a form that failed.
#include <gtest/gtest.h>

#include "driver/form_driver.h"

bool Ask(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
         std::span<formreel::ValueSlot> values);

namespace {
int failureReports = 0;
}  // namespace

// The program's own, in the guide: a failure is reported, then counts as no.
bool ReportFormFailure() {
  ++failureReports;
  return false;
}

namespace formreel {

namespace {

using namespace std::string_literals;

TEST(GuideAsk, ReportsOnlyAFormThatFailed) {
  struct Case {
    const char* name;
    std::string descriptor;
    WORD key;  // pressed on the form, if one is shown
    bool answer;
    int reports;
  };
  const Case cases[] = {
      {"confirmed", "IN^|\0"s, VK_RETURN, true, 0},
      {"cancelled", "IN^|\0"s, VK_ESCAPE, false, 0},
      {"refused", "XWHAT^|\0"s, VK_ESCAPE, false, 1},
  };
  for (const Case& c : cases) {
    std::int8_t selections[1] = {};
    ValueSlot values[1] = {};
    failureReports = 0;
    FormScript script;
    script.Key(c.key, c.key == VK_RETURN);
    script.Start();
    EXPECT_EQ(Ask(c.descriptor.data(), static_cast<std::int32_t>(c.descriptor.size()), selections, values),
              c.answer)
        << c.name;
    script.Stop();
    EXPECT_FALSE(script.stuck()) << c.name;
    EXPECT_EQ(failureReports, c.reports) << c.name;
  }
}

}  // namespace

}  // namespace formreel
