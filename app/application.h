// The program: a main window, the name form, the next-action form, and the
// clip played in the main window.
#pragma once

#include <windows.h>

#include <cstdint>

#include "app/video_command.h"
#include "formreel/forms.h"

namespace formreel::app {

// The two forms, each with its closing NUL, and the lengths handed to the
// form entry call (which count that NUL).
inline constexpr char NameForm[] = "CAVI FILE NAME LESS EXTENSION^Quit NOW ^|";
inline constexpr std::int32_t NameFormLength = 42;
inline constexpr char NextActionForm[] =
    "SNEXT ACTION     ^EXIT PROGRAM^BACKUP ONE FORM^RETURN TO CURRENT FORM^|"
    "hOOPS! Chose Next Action|";
inline constexpr std::int32_t NextActionFormLength = 97;
static_assert(sizeof NameForm == NameFormLength);
static_assert(sizeof NextActionForm == NextActionFormLength);

// The answers of the next-action form.
inline constexpr std::int8_t ExitProgram = 1;
inline constexpr std::int8_t BackupOneForm = 2;
inline constexpr std::int8_t ReturnToCurrentForm = 3;

// The application's variables, alive for the whole run.
extern WindowHandle mainWindow;
// The typed name: 30 characters and the spare byte that takes the NUL after
// a name of 30. Starts as two NULs and 28 blanks (empty text).
extern FixedText<VideoNameLength + 1> videoName;
extern std::int8_t nameSelections[1];  // 1 when "Quit NOW " was chosen
extern ValueSlot nameValues[1];        // holds the address of videoName
extern std::int8_t nextAction[1];      // 1 EXIT, 2 BACKUP, 3 RETURN
extern ValueSlot actionValues[1];
extern bool nextActionShown;
extern VideoFileName videoFileName;
extern std::int32_t nameEnd;

// Registers "MainWin" when there is no previous instance, creates the main
// window titled "MAIN" at the system's default place and size, stores it in
// `window` and shows it with `showCommand`. Returns 1, or 0 when the
// registration failed.
std::int32_t CreateMainWindow(HINSTANCE& instance, HINSTANCE& previousInstance, int& showCommand,
                              WindowHandle& window);

// Runs the whole program once: the main window, the cycle of the name form
// and the next-action form, and the clip. Always returns 0, the exit code.
std::int32_t ApplicationMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine,
                             int showCommand);

}  // namespace formreel::app
