// A new clip's details, asked from the keyboard: on Windows in a window, on
// Linux in the terminal. Every field's answer comes back in its own type.
#include <clocale>
#include <cstdint>
#include <cstdio>

#include <formreel/forms.h>

using formreel::ValueSlot;

int main() {
  std::setlocale(LC_ALL, "");  // texts in the terminal's character set
  static const char descriptor[] =
      "HNew clip|TDescribe the clip to add\\|CNAME^|SKIND^FILM^CARTOON^NEWS^|"
      "IYEAR^|LFRAMES^|RSPEED^|DLENGTH IN SECONDS^|BSAVE^SAVE AND PLAY^|";
  char name[31] = "CLIP";              // C: a buffer of at least 31 bytes
  std::int8_t selections[7] = {0, 2};  // KIND starts on its entry 2, CARTOON
  ValueSlot values[7] = {};            // one 8-byte slot per field
  values[0].Put(&name[0]);             // C: the buffer's address
  values[2].Put(std::int16_t{1994});   // I
  values[3].Put(std::int32_t{2500});   // L
  values[4].Put(1.0f);                 // R
  values[5].Put(4.5);                  // D
  if (!formreel::FormEntry(descriptor, sizeof descriptor, selections, values)) {
    // Cancelled, or not shown at all; nothing of the arrays has changed.
    const bool cancelled = formreel::LastFormEntryEnd() == formreel::FormEntryEnd::Cancelled;
    std::puts(cancelled ? "cancelled" : formreel::LastFormEntryProblem().c_str());
    return 1;
  }
  std::printf("name %s, kind %d, year %d, frames %ld, speed %g, length %g, %s\n", name, selections[1],
              values[2].Get<std::int16_t>(), static_cast<long>(values[3].Get<std::int32_t>()),
              static_cast<double>(values[4].Get<float>()), values[5].Get<double>(),
              selections[6] == 2 ? "play" : "save");
  return 0;
}
