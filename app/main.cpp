// Process start-up: run-time error reports go to a message box too (a GUI
// program has no console), then the instance, a previous instance of 0, the
// command line and the show command go to the application, whose result
// ends the process.
#include <windows.h>

#include "app/application.h"
#include "formreel/forms.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                   int showCommand) {
  formreel::ShowFatalReportsInAMessageBox();
  return formreel::app::ApplicationMain(instance, previousInstance, commandLine, showCommand);
}
