// The shared library clip_form: the facility links into it as into a
// program.
#include "clip_form.h"

#include <cstdint>

#include <formreel/forms.h>

int ask_clip(char* name, int16_t* year, int unattended) {
  static const char descriptor[] = "HNew clip|CNAME^|IYEAR^|";
  std::int8_t selections[2] = {};
  formreel::ValueSlot values[2] = {};
  values[0].Put(name);
  values[1].Put(*year);
  const formreel::FormDisplay display =
      unattended != 0 ? formreel::FormDisplay::Unattended : formreel::FormDisplay::Standard;
  if (!formreel::FormEntry(descriptor, sizeof descriptor, selections, values, display)) return 0;
  *year = values[1].Get<std::int16_t>();
  return 1;
}
