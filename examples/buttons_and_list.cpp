// A choice from a list and a row of buttons: both come back as numbers.
#include <cstdint>
#include <cstdio>

#include <formreel/forms.h>

int main() {
  // S: a list that accepts only its entries. B: the prompt and each choice
  // become buttons; pressing one confirms the form.
  static const char descriptor[] = "SCOLOUR^RED^GREEN^BLUE^|BSAVE^DISCARD^LATER^|";
  static const char* const colours[] = {"none", "RED", "GREEN", "BLUE"};
  static const char* const buttons[] = {"O.K. or CTRL-ENTER", "SAVE", "DISCARD", "LATER"};
  std::int8_t selections[2] = {2, 0};  // GREEN chosen to start with
  formreel::ValueSlot values[2] = {};            // S and B fields use no value slot

  if (!formreel::FormEntry(descriptor, sizeof descriptor, selections, values)) {
    std::puts("cancelled");
    return 1;
  }
  // 1-based: the chosen entry, and the pressed button within its group (0
  // when the form was confirmed another way).
  std::printf("colour: %d %s\n", selections[0], colours[selections[0]]);
  std::printf("button: %d %s\n", selections[1], buttons[selections[1]]);
  return 0;
}
