#include "forms/core/navigation.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace formreel {

namespace {

// Handles as map keys: only their addresses matter.
const void* Key(ControlHandle handle) { return handle.As<const void>(); }

// A form state with fake window handles, each named for the stop it is.
class NavigationForm {
 public:
  // `layout` has one letter per field; a digit after a B is its group size.
  explicit NavigationForm(const std::string& layout) {
    state_ = FormState{};
    int field = 0;
    for (std::size_t k = 0; k < layout.size(); ++k) {
      const char letter = layout[k];
      ++field;
      state_.fieldTypes[field] = static_cast<FieldType>(letter);
      if (letter == 'B') {
        const int size = layout[++k] - '0';
        state_.groupStart[field] = state_.buttonCount;
        state_.groupSize[field] = size;
        for (int b = 1; b <= size; ++b)
          state_.buttons[++state_.buttonCount] = Handle("field " + std::to_string(field) + " button " + std::to_string(b));
      } else {
        state_.controls[field] = Handle("field " + std::to_string(field));
      }
    }
    state_.fieldCount = field;
    state_.controls[OkButtonSlot] = Handle("O.K.");
    state_.controls[CancelButtonSlot] = Handle("CANCEL");
    ChooseFirstPosition(state_);
  }

  std::string Focus() const { return names_.at(Key(state_.controls[FocusTargetSlot])); }

  std::vector<std::string> Walk(void (*step)(FormState&), int count) {
    std::vector<std::string> stops;
    for (int k = 0; k < count; ++k) {
      step(state_);
      stops.push_back(Focus());
    }
    return stops;
  }

  FormState& state() { return state_; }

 private:
  ControlHandle Handle(const std::string& name) {
    // Opaque values that are never dereferenced.
    ControlHandle handle = ControlHandle(&storage_[names_.size()]);
    names_[Key(handle)] = name;
    return handle;
  }

  FormState state_;
  char storage_[64] = {};
  std::map<const void*, std::string> names_;
};

using Stops = std::vector<std::string>;

TEST(NavigationNext, VisitsEveryButtonOfAGroupThenWraps) {
  NavigationForm form("CB3I");
  EXPECT_EQ(form.Focus(), "field 1");
  EXPECT_EQ(form.Walk(StepToNextField, 7),
            (Stops{"field 2 button 1", "field 2 button 2", "field 2 button 3", "field 3", "O.K.",
                   "CANCEL", "field 1"}));
}

TEST(NavigationPrevious, EntersAGroupAtItsLastButton) {
  NavigationForm form("CB3I");
  EXPECT_EQ(form.Walk(StepToPreviousField, 7),
            (Stops{"CANCEL", "O.K.", "field 3", "field 2 button 3", "field 2 button 2",
                   "field 2 button 1", "field 1"}));
}

TEST(NavigationAdjacentGroups, CrossFromLastToFirstAndBack) {
  NavigationForm form("B2B2");
  EXPECT_EQ(form.Focus(), "field 1 button 1");
  EXPECT_EQ(form.Walk(StepToNextField, 6),
            (Stops{"field 1 button 2", "field 2 button 1", "field 2 button 2", "O.K.", "CANCEL",
                   "field 1 button 1"}));
  EXPECT_EQ(form.Walk(StepToNextField, 2), (Stops{"field 1 button 2", "field 2 button 1"}));
  EXPECT_EQ(form.Walk(StepToPreviousField, 3),
            (Stops{"field 1 button 2", "field 1 button 1", "CANCEL"}));
}

TEST(NavigationOneButtonGroup, IsASingleStopBothWays) {
  NavigationForm form("CB1C");
  EXPECT_EQ(form.Walk(StepToNextField, 2), (Stops{"field 2 button 1", "field 3"}));
  EXPECT_EQ(form.Walk(StepToPreviousField, 2), (Stops{"field 2 button 1", "field 1"}));
}

TEST(NavigationNoFields, AlternatesBetweenOkAndCancel) {
  NavigationForm form("");
  EXPECT_EQ(form.Focus(), "O.K.");
  EXPECT_EQ(form.state().currentField, 1);
  EXPECT_EQ(form.Walk(StepToNextField, 3), (Stops{"CANCEL", "O.K.", "CANCEL"}));
  EXPECT_EQ(form.Walk(StepToPreviousField, 3), (Stops{"O.K.", "CANCEL", "O.K."}));
}

TEST(NavigationPositions, TrackCurrentFieldAndGroupPosition) {
  NavigationForm form("CB3I");
  StepToNextField(form.state());
  StepToNextField(form.state());
  EXPECT_EQ(form.state().currentField, 2);
  EXPECT_EQ(form.state().groupPosition, 2);
  StepToPreviousField(form.state());
  StepToPreviousField(form.state());
  EXPECT_EQ(form.state().currentField, 1);
  EXPECT_EQ(form.state().groupPosition, 0);
  StepToPreviousField(form.state());
  EXPECT_EQ(form.state().currentField, 5);  // CANCEL
}

// Letters an earlier, larger form left behind never make O.K. or CANCEL a group.
TEST(NavigationStaleLetters, OkAndCancelAreNeverGroups) {
  NavigationForm form("C");
  form.state().fieldTypes[2] = FieldType::ButtonGroup;
  form.state().fieldTypes[3] = FieldType::ButtonGroup;
  EXPECT_EQ(form.Walk(StepToNextField, 3), (Stops{"O.K.", "CANCEL", "field 1"}));
}

TEST(NavigationActivation, PassesAFormWithoutFieldsToOk) {
  NavigationForm empty("");
  empty.state().controls[FocusTargetSlot] = nullptr;
  ChooseFocusOnActivation(empty.state());
  EXPECT_EQ(empty.Focus(), "O.K.");

  NavigationForm form("CI");
  StepToNextField(form.state());
  ChooseFocusOnActivation(form.state());
  EXPECT_EQ(form.Focus(), "field 2");
}

TEST(NavigationFirstPosition, StartsOnTheFirstButtonOfALeadingGroup) {
  NavigationForm form("B3C");
  EXPECT_EQ(form.Focus(), "field 1 button 1");
  EXPECT_EQ(form.state().groupPosition, 1);
  EXPECT_EQ(form.Walk(StepToNextField, 1), (Stops{"field 1 button 2"}));
  NavigationForm again("B3C");
  EXPECT_EQ(again.Walk(StepToPreviousField, 1), (Stops{"CANCEL"}));
}

}  // namespace

}  // namespace formreel
