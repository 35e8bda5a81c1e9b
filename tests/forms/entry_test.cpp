// The entry call and its modal loop on real windows, driven by keystrokes.
#include "forms/entry.h"

#include <gtest/gtest.h>

#include <cstring>

#include "driver/form_driver.h"

namespace {

using namespace std::string_literals;

const std::string TwoNumbers = "IFIRST^|LSECOND^|\0"s;

TEST(FormEntryCancel, EscapeLeavesTheCallersArraysAsTheyWere) {
  std::int8_t selections[3] = {5, 6, 7};
  ValueSlot values[3] = {Slot<std::int16_t>(11), Slot<std::int32_t>(22), Slot<std::int32_t>(33)};
  FormScript script;
  script.Type("99").Enter().Type("98").Escape();
  EXPECT_FALSE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_EQ(selections[0], 5);
  EXPECT_EQ(selections[1], 6);
  EXPECT_EQ(values[0].Get<std::int16_t>(), 11);
  EXPECT_EQ(values[1].Get<std::int32_t>(), 22);
  EXPECT_EQ(values[2].Get<std::int32_t>(), 33);
}

TEST(FormEntryConfirm, WritesBackExactlyFieldCountEntries) {
  std::int8_t selections[3] = {0, 0, 7};
  ValueSlot values[3] = {Slot<std::int16_t>(11), Slot<std::int32_t>(22), Slot<std::int32_t>(33)};
  FormScript script;
  script.Type("12").Tab().Type("-34").CtrlEnter();
  EXPECT_TRUE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_EQ(values[0].Get<std::int16_t>(), 12);
  EXPECT_EQ(values[1].Get<std::int32_t>(), -34);
  EXPECT_EQ(selections[2], 7);
  EXPECT_EQ(values[2].Get<std::int32_t>(), 33);
}

// The form keys become commands before any control sees them: a field's
// text never holds their characters, while BACKSPACE and CTRL-H edit.
TEST(FormEntryKeys, NeverReachAFieldsText) {
  char first[31] = "";
  char second[31] = "";
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {Slot(&first[0]), Slot(&second[0])};
  auto focusIs = [](int id) { return [id] { EXPECT_EQ(FocusedControl(), FormControl(id)); }; };
  FormScript script;
  script.Type("ab").Enter().Do(focusIs(203))
      .Type("xyz").CtrlBackspace().Do(focusIs(202))
      .Tab().Do(focusIs(203))
      .Key(VK_END).Key(VK_BACK).Do(focusIs(203))
      .Key('H', true).Do(focusIs(203))
      .Escape();
  EXPECT_FALSE(RunForm(script, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_STREQ(first, "");
  EXPECT_STREQ(second, "");

  // The same keys again, confirmed with CTRL-ENTER, show the texts.
  FormScript again;
  again.Type("ab").Enter().Type("xyz").CtrlBackspace().Tab().Key(VK_END).Key(VK_BACK).Key('H', true).CtrlEnter();
  EXPECT_TRUE(RunForm(again, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_STREQ(first, "ab");
  // BACKSPACE erased the "z"; whether CTRL-H erases too is the edit
  // control's affair (some edit controls ignore it with CTRL held).
  EXPECT_TRUE(std::strcmp(second, "xy") == 0 || std::strcmp(second, "x") == 0) << second;
}

// The characters as a keyboard layer that makes 127 for CTRL-BACKSPACE and
// 10 for CTRL-ENTER delivers them, posted to the focused edit field.
TEST(FormEntryKeys, CharactersPostedToAFieldBecomeCommands) {
  char first[31] = "", second[31] = "";
  std::int8_t selections[2] = {};
  ValueSlot values[2] = {Slot(&first[0]), Slot(&second[0])};
  auto post = [](WPARAM character) { return [character] { PostMessageA(GetFocus(), WM_CHAR, character, 0); }; };
  auto focusIs = [](int id) { return [id] { EXPECT_EQ(FocusedControl(), FormControl(id)); }; };
  FormScript script;
  script.Type("a").Do(post(13)).Do(focusIs(203))
      .Type("b").Do(post(127)).Do(focusIs(202))
      .Do(post(9)).Do(focusIs(203))
      .Do(post(8)).Do(focusIs(203))  // a plain BACKSPACE character edits
      .Do(post(10));
  EXPECT_TRUE(RunForm(script, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(script.stuck());
  EXPECT_STREQ(first, "a");
  EXPECT_STREQ(second, "");

  FormScript escape;
  escape.Type("x").Do(post(27));
  EXPECT_FALSE(RunForm(escape, "CONE^|CTWO^|\0"s, selections, values));
  EXPECT_FALSE(escape.stuck());
  EXPECT_STREQ(first, "a");
}

TEST(FormEntryClose, FromTheFrameCountsAsCancel) {
  std::int8_t selections[1] = {3};
  ValueSlot values[1] = {Slot<std::int16_t>(4)};
  FormScript script;
  script.Type("5").Do([] { SendMessageA(OpenFormWindow(), WM_SYSCOMMAND, SC_CLOSE, 0); });
  EXPECT_FALSE(RunForm(script, "IN^|\0"s, selections, values));
  EXPECT_EQ(values[0].Get<std::int16_t>(), 4);
  EXPECT_EQ(selections[0], 3);

  // Also right after a confirmed form: the flag does not carry over.
  FormScript confirm;
  confirm.CtrlEnter();
  EXPECT_TRUE(RunForm(confirm, "IN^|\0"s, selections, values));
  FormScript close;
  close.Do([] { SendMessageA(OpenFormWindow(), WM_CLOSE, 0, 0); });
  EXPECT_FALSE(RunForm(close, "IN^|\0"s, selections, values));
}

TEST(FormEntryRegistration, TheClassIsRegisteredOnce) {
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  for (int k = 0; k < 3; ++k) {
    FormScript script;
    script.Escape();
    EXPECT_FALSE(RunForm(script, "\0"s, selections, values));
  }
  EXPECT_EQ(FormClassRegistrationCount(), 1);
  WNDCLASSA info{};
  EXPECT_NE(GetClassInfoA(GetModuleHandleA(nullptr), "FORM_ENTRY", &info), 0);
}

TEST(FormEntryNoFields, ConfirmsAndCancels) {
  std::int8_t selections[1] = {9};
  ValueSlot values[1] = {};
  FormScript ok;
  ok.Do([] { EXPECT_EQ(WindowText(FocusedControl()), "O.K."); }).Space();
  EXPECT_TRUE(RunForm(ok, "\0"s, selections, values));
  EXPECT_EQ(selections[0], 9);
  FormScript cancel;
  cancel.Click([] { return FormControl(201); });
  EXPECT_FALSE(RunForm(cancel, "THEADLESS\\|\0"s, selections, values));
  EXPECT_FALSE(cancel.stuck());
}

TEST(FormEntryRefusal, ShowsNothingForABadDescriptor) {
  std::int8_t selections[21] = {1};
  ValueSlot values[21] = {};
  std::string tooMany;
  for (int k = 0; k < 21; ++k) tooMany += "CF^|";
  for (const std::string& bad : {tooMany + "\0"s, "XWHAT^|\0"s, "CNO CLOSE^\0"s}) {
    FormScript script;
    script.Escape();
    EXPECT_FALSE(RunForm(script, bad, selections, values)) << bad;
    EXPECT_FALSE(script.finished()) << "a form was shown for " << bad;
  }
  EXPECT_EQ(selections[0], 1);
}

TEST(FormEntryWindow, NoFormWindowMeansFalseAtOnce) {
  std::int8_t selections[1] = {4};
  ValueSlot values[1] = {Slot<std::int16_t>(5)};
  InstanceHandle instance = GetModuleHandleA(nullptr);
  WindowHandle notAWindow = reinterpret_cast<WindowHandle>(static_cast<UINT_PTR>(0x7FFF0));
  EXPECT_EQ(IsWindow(notAWindow), FALSE);
  const std::string descriptor = "IN^|\0"s;
  EXPECT_FALSE(FormEntry(instance, notAWindow, descriptor.data(), 5, selections, values));
  EXPECT_EQ(selections[0], 4);
  EXPECT_EQ(values[0].Get<std::int16_t>(), 5);
}

TEST(FormEntryArrays, ShorterThanTheFieldCountAreRefused) {
  std::int8_t selections[1] = {};
  ValueSlot values[1] = {};
  FormScript script;
  script.Escape();
  EXPECT_FALSE(RunForm(script, TwoNumbers, selections, values));
  EXPECT_FALSE(script.finished());
}

}  // namespace
