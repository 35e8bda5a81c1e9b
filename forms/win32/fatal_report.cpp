// Run-time error reports for programs without a console: a message box.
#include <windows.h>

#include "formreel/forms.h"
#include "text/fatal_error.h"

namespace formreel {

namespace {

void ShowInMessageBox(const char* report) {
  MessageBoxA(nullptr, report, "formreel", MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void ShowFatalReportsInAMessageBox() { SetFatalReportViewer(ShowInMessageBox); }

}  // namespace formreel
