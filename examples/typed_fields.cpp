// A form of typed fields: each letter's value comes back in its own type.
#include <cstdint>
#include <cstdio>

#include <formreel/forms.h>

int main() {
  // Text, 16-bit and 32-bit integers, single and double reals; a heading.
  static const char descriptor[] = "CNAME^|IAGE^|LPOPULATION^|RHEIGHT (M)^|DRATIO^|HTyped fields|";
  char name[formreel::TextValueLength + 1] = "Ada";  // a C field's buffer: 30 characters and a NUL
  std::int8_t selections[5] = {};          // no list entries here: all stay 0
  formreel::ValueSlot values[5];
  values[0].Put(&name[0]);                 // a C field's slot holds its buffer's address
  values[1].Put(std::int16_t{36});         // initial values, shown in the fields
  values[2].Put(std::int32_t{0});
  values[3].Put(1.65f);
  values[4].Put(0.5);

  if (!formreel::FormEntry(descriptor, sizeof descriptor, selections, values)) {
    std::puts("cancelled");  // nothing of the caller's was changed
    return 1;
  }
  std::printf("name: %s\n", name);
  std::printf("age: %d\n", values[1].Get<std::int16_t>());
  std::printf("population: %ld\n", static_cast<long>(values[2].Get<std::int32_t>()));
  std::printf("height: %.9g\n", static_cast<double>(values[3].Get<float>()));
  std::printf("ratio: %.17g\n", values[4].Get<double>());
  return 0;
}
