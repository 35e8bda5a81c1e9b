// A program on the shared library clip_form: `ask_clip` shows the form,
// `ask_clip --no-input` confirms it unshown.
#include <clocale>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "clip_form.h"

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  char name[31] = "CLIP";
  std::int16_t year = 1994;
  const bool unattended = argc > 1 && std::strcmp(argv[1], "--no-input") == 0;
  if (ask_clip(name, &year, unattended ? 1 : 0) == 0) {
    std::puts("not confirmed");
    return 1;
  }
  std::printf("%s %d\n", name, year);
  return 0;
}
