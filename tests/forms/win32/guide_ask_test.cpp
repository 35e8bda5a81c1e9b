// The guide's Ask (docs/forms.md, "The entry call"), built from its C++
// block as it stands: it tells the user's no from a form that failed.
#include <gtest/gtest.h>

#include "driver/form_driver.h"

bool Ask(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
         std::span<formreel::ValueSlot> values);

static int failureReports = 0;
bool ReportFormFailure() {  // the program's own, in the guide
  ++failureReports;
  return false;
}

namespace formreel {

namespace {

using namespace std::string_literals;

TEST(GuideAsk, ReportsOnlyAFormThatFailed) {
  struct Case {
    std::string descriptor;
    WORD key;  // pressed on the form, with CTRL for ENTER
    bool answer;
    int reports;
  };
  const Case cases[] = {{"IN^|\0"s, VK_RETURN, true, 0}, {"IN^|\0"s, VK_ESCAPE, false, 0}, {"ZWHAT^|\0"s, 0, false, 1}};
  for (const Case& c : cases) {
    std::int8_t selections[1] = {};
    ValueSlot values[1] = {};
    failureReports = 0;
    FormScript script;
    if (c.key != 0) script.Key(c.key, c.key == VK_RETURN);
    script.Start();
    const auto length = static_cast<std::int32_t>(c.descriptor.size());
    EXPECT_EQ(Ask(c.descriptor.data(), length, selections, values), c.answer) << c.descriptor;
    script.Stop();
    EXPECT_EQ(failureReports, c.reports) << c.descriptor;
  }
}

}  // namespace

}  // namespace formreel
