// The program: a main window, the name form, the next-action form, and the
// clip played in the main window.
#pragma once

#include <windows.h>

#include <cstdint>

// Runs the whole program once; always returns 0, the exit code.
std::int32_t ApplicationMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                             int showCommand);
