#include "app/application.h"

#include "app/video.h"
#include "formreel/forms.h"

namespace formreel::app {

namespace {

inline constexpr char MainClassName[] = "MainWin";
inline constexpr char MainWindowTitle[] = "MAIN";

}  // namespace

WindowHandle mainWindow = nullptr;
constinit FixedText<VideoNameLength + 1> videoName = EmptyText<VideoNameLength + 1>();
std::int8_t nameSelections[1] = {0};
ValueSlot nameValues[1] = {};
std::int8_t nextAction[1] = {ExitProgram};
ValueSlot actionValues[1] = {};
bool nextActionShown = false;
constinit VideoFileName videoFileName = EmptyText<VideoNameLength>();
std::int32_t nameEnd = 0;

std::int32_t CreateMainWindow(HINSTANCE& instance, HINSTANCE& previousInstance, int& showCommand,
                              WindowHandle& window) {
  std::int32_t result = 1;
  if (previousInstance == nullptr) {
    WNDCLASSA windowClass{};
    windowClass.style = 0;
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_SCROLLBAR + 1);
    windowClass.lpszClassName = MainClassName;
    if (RegisterClassA(&windowClass) == 0) result = 0;
  }
  // The system's default place and size, so that the clip is on the screen
  // whatever the window system does with plain coordinates.
  window = CreateWindowExA(0, MainClassName, MainWindowTitle, formreel::FormWindowStyle, CW_USEDEFAULT, 0,
                           CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
  ShowWindow(window, showCommand);
  return result;
}

std::int32_t ApplicationMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR, int showCommand) {
  if (CreateMainWindow(instance, previousInstance, showCommand, mainWindow) != 1) return 0;
  nameValues[0].Put(videoName.Buffer());
  for (;;) {
    nextActionShown = false;
    const bool nameConfirmed =
        FormEntry(instance, mainWindow, NameForm, NameFormLength, nameSelections, nameValues);
    if (nameConfirmed) {
      if (nameSelections[0] != 0) {
        nextAction[0] = ExitProgram;
        nextActionShown = true;
        FormEntry(instance, mainWindow, NextActionForm, NextActionFormLength, nextAction,
                  actionValues);
      } else {
        MakeVideoFileName(videoName.Range(1, VideoNameLength), videoFileName, nameEnd);
      }
    }
    if (nextActionShown && nextAction[0] == ExitProgram) return 0;
    if (nextActionShown && nextAction[0] == BackupOneForm) return 0;
    if (nextActionShown && nextAction[0] == ReturnToCurrentForm) continue;
    PlayVideo(videoFileName, nameEnd, mainWindow);
    return 0;
  }
}

}  // namespace formreel::app
