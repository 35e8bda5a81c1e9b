// The same form through the typed layer: the program's own variables, each
// bound to a field of the letter its type has.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <string>

#include <formreel/form.h>

int main() {
  std::setlocale(LC_ALL, "");
  std::string name = "CLIP";
  formreel::Choice kind{2};  // CARTOON to start with
  std::int16_t year = 1994;
  std::int32_t frames = 2500;
  float speed = 1.0f;
  double seconds = 4.5;
  formreel::Choice pressed;
  formreel::Form form;
  form.Heading("New clip")
      .Text("Describe the clip to add")
      .Field("NAME", name)
      .Field("KIND", kind, {"FILM", "CARTOON", "NEWS"})
      .Field("YEAR", year)
      .Field("FRAMES", frames)
      .Field("SPEED", speed)
      .Field("LENGTH IN SECONDS", seconds)
      .Buttons(pressed, {"SAVE", "SAVE AND PLAY"});
  if (const formreel::FormResult result = form.Show(); !result) {
    std::puts(result.End() == formreel::FormEntryEnd::Cancelled ? "cancelled" : result.Problem().c_str());
    return 1;
  }
  std::printf("name %s, kind %d, year %d, frames %ld, speed %g, length %g, %s\n", name.c_str(), kind.number, year,
              static_cast<long>(frames), static_cast<double>(speed), seconds, pressed.number == 2 ? "play" : "save");
  return 0;
}
