#include "app/fatal_report.h"

#include <windows.h>

#include "text/fatal_error.h"

namespace {

void ShowInMessageBox(const char* report) {
  MessageBoxA(nullptr, report, FatalReportTitle, MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void ShowFatalReportsInAMessageBox() { SetFatalReportViewer(ShowInMessageBox); }
