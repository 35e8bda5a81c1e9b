// Process start-up: hands the instance, a previous instance of 0, the
// command line and the show command to the application and ends with its
// result.
#include <windows.h>

#include "app/application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand) {
  return ApplicationMain(instance, previousInstance, commandLine, showCommand);
}
