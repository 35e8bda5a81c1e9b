// Run-time error reports for a program without a console.
#pragma once

// From now on a run-time error report is also shown in a message box titled
// "formreel", which the program waits on before it ends.
void ShowFatalReportsInAMessageBox();

inline constexpr char FatalReportTitle[] = "formreel";
