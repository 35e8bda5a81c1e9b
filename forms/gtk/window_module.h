// What passes between a program and the window module (forms/gtk): the one
// function the module exports, found by name after dlopen, and the record
// it is called with. A program loads the module only when a form is to be
// shown in a desktop window, so that a program that never shows one needs
// no GTK. Both sides are built from the same sources: the record's first
// two members, the same in every version, let the module refuse a program
// of another version before it reads anything else.
#pragma once

#include <cstddef>

#include "forms/core/state.h"

namespace formreel {

struct WindowCall {
  const char* version = nullptr;  // the caller's project version ("1.1.0")
  std::size_t stateSize = 0;      // sizeof(FormState), the caller's
  FormState* state = nullptr;     // as FormFrontEnd::Show receives it
  // Readable while a signal that ends programs is noted; then the module
  // calls signalEnds(host), which takes the note and says whether the form
  // ends, as interrupted.
  int signalDescriptor = -1;
  bool (*signalEnds)(void* host) = nullptr;
  void* host = nullptr;
  int showing = 0;         // answer: a Showing
  char problem[512] = {};  // answer: why NotShown, NUL-terminated
};

// The exported function's name.
inline constexpr char WindowShowSymbol[] = "formreel_window_show";
using WindowShowFunction = void (*)(WindowCall* call);

}  // namespace formreel
