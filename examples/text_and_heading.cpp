// A form described from text lines and a heading: T lines are centred above
// the field, H becomes the window's caption.
#include <cstdint>
#include <cstdio>
#include <string>

#include <formreel/forms.h>

int main() {
  const std::string lines[] = {"The report goes to the printer", "named below."};
  std::string descriptor = "T";
  for (const std::string& line : lines) descriptor += line + "\\";  // each line ends with "\"
  descriptor += "|CPRINTER^LASER 1^LASER 2^|HPrint the report|";

  // Refused descriptors show nothing; say why instead.
  const auto length = static_cast<std::int32_t>(descriptor.size());
  const std::string problem = formreel::DescriptorProblem(descriptor.data(), length);
  if (!problem.empty()) {
    std::printf("refused: %s\n", problem.c_str());
    return 2;
  }

  char printer[formreel::TextValueLength + 1] = "";
  std::int8_t selections[1] = {};
  formreel::ValueSlot values[1];
  values[0].Put(&printer[0]);
  if (!formreel::FormEntry(descriptor.data(), length, selections, values)) {
    std::puts("cancelled");
    return 1;
  }
  // A chosen list entry comes back as its number; typed text in the buffer.
  if (selections[0] != 0)
    std::printf("printer: entry %d\n", selections[0]);
  else
    std::printf("printer: %s\n", printer);
  return 0;
}
