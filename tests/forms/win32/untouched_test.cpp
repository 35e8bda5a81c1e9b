// Number fields the user leaves as they were shown hand the caller's value
// back byte for byte, whatever their text would parse to; touched fields go
// by the input rules. Real forms, driven by keystrokes.
#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <string>

#include "driver/form_driver.h"

namespace formreel {

namespace {

using namespace std::string_literals;

enum class Edit { None, LastDigitChanged, TypedAndRestored };
enum class Confirm { CtrlEnter, OkButton, GroupButton };

std::string Hex(const ValueSlot& slot) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIx64, slot.Get<std::uint64_t>());
  return text;
}

struct Case {
  const char* name;
  char letter;
  ValueSlot given;
  Edit edit;
  Confirm confirm;
  ValueSlot expected;
};

TEST(UntouchedNumbers, HandBackTheCallersSlotExactly) {
  const ValueSlot pi = Slot<std::uint64_t>(0x400921fb54442d18);
  const Case cases[] = {
      {"D pi", 'D', pi, Edit::None, Confirm::CtrlEnter, pi},
      {"D 0.1+0.2", 'D', Slot<std::uint64_t>(0x3fd3333333333334), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x3fd3333333333334)},
      {"D 1e-300", 'D', Slot<std::uint64_t>(0x01a56e1fc2f8f359), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x01a56e1fc2f8f359)},
      {"D -0.0", 'D', Slot<std::uint64_t>(0x8000000000000000), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x8000000000000000)},
      {"R 1.00000012", 'R', Slot<std::uint32_t>(0x3f800001), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint32_t>(0x3f800001)},
      {"D 1e300", 'D', Slot<std::uint64_t>(0x7e37e43c8800759c), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x7e37e43c8800759c)},
      {"R 1e30", 'R', Slot<std::uint32_t>(0x7149f2ca), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint32_t>(0x7149f2ca)},
      {"D +inf", 'D', Slot<std::uint64_t>(0x7ff0000000000000), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x7ff0000000000000)},
      {"R -inf", 'R', Slot<std::uint32_t>(0xff800000), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint32_t>(0xff800000)},
      {"D quiet NaN", 'D', Slot<std::uint64_t>(0x7ff8000000000000), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x7ff8000000000000)},
      {"D signalling NaN", 'D', Slot<std::uint64_t>(0x7ff0000000000001), Edit::None, Confirm::CtrlEnter,
       Slot<std::uint64_t>(0x7ff0000000000001)},
      {"I -32768", 'I', Slot<std::int16_t>(-32768), Edit::None, Confirm::CtrlEnter, Slot<std::int16_t>(-32768)},
      {"L -2147483648", 'L', Slot<std::int32_t>(INT32_MIN), Edit::None, Confirm::CtrlEnter,
       Slot<std::int32_t>(INT32_MIN)},
      {"D 0.5", 'D', Slot(0.5), Edit::None, Confirm::CtrlEnter, Slot(0.5)},
      {"I 42", 'I', Slot<std::int16_t>(42), Edit::None, Confirm::CtrlEnter, Slot<std::int16_t>(42)},
      {"L -7", 'L', Slot<std::int32_t>(-7), Edit::None, Confirm::CtrlEnter, Slot<std::int32_t>(-7)},
      // Touched: the input rules read the changed text.
      {"I -32768, last digit 7", 'I', Slot<std::int16_t>(-32768), Edit::LastDigitChanged, Confirm::CtrlEnter,
       Slot<std::int16_t>(-32767)},
      // A text typed and then taken back is the text the form showed.
      {"D pi, typed and restored", 'D', pi, Edit::TypedAndRestored, Confirm::CtrlEnter, pi},
      {"D pi by O.K.", 'D', pi, Edit::None, Confirm::OkButton, pi},
      {"R 1e30 by a group button", 'R', Slot<std::uint32_t>(0x7149f2ca), Edit::None, Confirm::GroupButton,
       Slot<std::uint32_t>(0x7149f2ca)},
  };
  for (const Case& c : cases) {
    std::string descriptor = c.letter + "VALUE^|"s;
    if (c.confirm == Confirm::GroupButton) descriptor += "BGO^|";
    descriptor += '\0';
    std::int8_t selections[2] = {};
    ValueSlot values[2] = {c.given, {}};
    FormScript script;
    switch (c.edit) {
      case Edit::None: break;
      case Edit::LastDigitChanged: script.Key(VK_END).Key(VK_BACK).Type("7"); break;
      case Edit::TypedAndRestored: script.Key(VK_END).Type("5").Key(VK_BACK); break;
    }
    switch (c.confirm) {
      case Confirm::CtrlEnter: script.CtrlEnter(); break;
      case Confirm::OkButton: script.Click([] { return FormControl(IdOkButton); }); break;
      case Confirm::GroupButton: script.Click([] { return FormControl(IdFirstGroupButton); }); break;
    }
    EXPECT_TRUE(RunForm(script, descriptor, selections, values)) << c.name;
    EXPECT_FALSE(script.stuck()) << c.name << ": the form stayed open";
    EXPECT_EQ(Hex(values[0]), Hex(c.expected)) << c.name << " given " << Hex(c.given);
  }
}

// A first confirmation that stops at another field's bad value stores
// nothing: the field typed before it and then restored still gives the
// caller's value.
TEST(UntouchedNumbers, SurviveAConfirmationThatStoppedAtABadValue) {
  const ValueSlot pi = Slot<std::uint64_t>(0x400921fb54442d18);
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {pi, Slot<std::int16_t>(5)};
  FormScript script;
  script.Key(VK_END).Type("1").Tab().Type("70000").CtrlEnter()
      .Do([] { ASSERT_EQ(FocusedControl(), FormControl(IdFirstFieldControl + 1)); })
      .Key(VK_END).Key(VK_BACK)
      .CtrlBackspace().Key(VK_END).Key(VK_BACK)
      .CtrlEnter();
  EXPECT_TRUE(RunForm(script, "DPI^|ISMALL^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_EQ(Hex(values[0]), Hex(pi));
  EXPECT_EQ(values[1], Slot<std::int16_t>(7000));
}

}  // namespace

}  // namespace formreel
