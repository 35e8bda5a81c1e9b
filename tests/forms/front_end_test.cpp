// The entry call around any front end: every way it does not end confirmed
// comes with its end and a one-line reason.
#include "forms/core/front_end.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>

namespace formreel {

namespace {

// A front end that ends the form as a test says.
class ScriptedFrontEnd final : public FormFrontEnd {
 public:
  explicit ScriptedFrontEnd(std::function<Showing(FormState&)> show) : show_(std::move(show)) {}
  Showing Show(FormState& state) override { return show_(state); }
  std::string WhyNotShown() const override { return "no display"; }

 private:
  std::function<Showing(FormState&)> show_;
};

FormEntryEnd Enter(const std::string& descriptor, std::size_t fields, ScriptedFrontEnd& frontEnd,
                   const FormRules& rules = {}) {
  std::array<std::int8_t, 4> selections{};
  std::array<ValueSlot, 4> values{};
  return EnterForm(descriptor.data(), static_cast<std::int32_t>(descriptor.size()),
                   std::span(selections).first(fields), std::span(values).first(fields), Utf8Page, frontEnd, rules);
}

TEST(EntryCall, EveryEndButAConfirmationSaysWhy) {
  const auto ending = [](Showing showing, bool confirmed) {
    return [=](FormState& state) {
      state.confirmed = confirmed;
      return showing;
    };
  };
  struct Case {
    std::string descriptor;
    std::size_t fields;
    std::function<Showing(FormState&)> show;
    FormRules rules;
    FormEntryEnd end;
    std::string problem;
  };
  const Case cases[] = {
      {"CA^|", 1, ending(Showing::Ended, true), {}, FormEntryEnd::Confirmed, ""},
      {"CA^|", 1, ending(Showing::Ended, false), {}, FormEntryEnd::Cancelled, "cancelled"},
      {"CA^|", 1, ending(Showing::Interrupted, false), {}, FormEntryEnd::Interrupted, "interrupted"},
      {"CA^|", 1, ending(Showing::NotShown, false), {}, FormEntryEnd::NotShown, "no display"},
      {"CA^|", 1, ending(Showing::TimedOut, false), {{}, std::chrono::seconds(30)}, FormEntryEnd::TimedOut,
       "no key for 30 seconds"},
      {"CA^|", 1, ending(Showing::TimedOut, false), {{}, std::chrono::milliseconds(1500)}, FormEntryEnd::TimedOut,
       "no key for 1.5 seconds"},
      {"CA^|CB^|", 1, ending(Showing::Ended, true), {}, FormEntryEnd::Refused,
       "the arrays hold 1 entry; the descriptor has 2 fields"},
      {"CA^", 1, ending(Showing::Ended, true), {}, FormEntryEnd::Refused,
       "item 1 (C): the last item is not closed by \"|\""},
      {"CA^|", 1, ending(Showing::Ended, true), {{}, std::chrono::milliseconds(-1)}, FormEntryEnd::Refused,
       "the time limit is negative"},
      // A second form while one is open.
      {"CA^|", 1, [](FormState&) {
         ScriptedFrontEnd inner([](FormState&) { return Showing::Ended; });
         EXPECT_EQ(Enter("CB^|", 1, inner), FormEntryEnd::Busy);
         EXPECT_EQ(LastFormEntryProblem(), "another form is open in this process");
         return Showing::Ended;
       }, {}, FormEntryEnd::Cancelled, "cancelled"},
  };
  for (const Case& c : cases) {
    ScriptedFrontEnd frontEnd(c.show);
    EXPECT_EQ(Enter(c.descriptor, c.fields, frontEnd, c.rules), c.end) << c.problem;
    EXPECT_EQ(LastFormEntryEnd(), c.end);
    EXPECT_EQ(LastFormEntryProblem(), c.problem);
  }
  EXPECT_EQ(FormEntryEndName(FormEntryEnd::TimedOut), "timed out");
}

}  // namespace

}  // namespace formreel
