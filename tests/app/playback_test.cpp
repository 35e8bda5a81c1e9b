// The program's Win32 half on real windows and the real media layer: the
// main window, and playback of a clip that does not exist.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "app/application.h"
#include "app/video.h"

namespace formreel::app {

namespace {

std::string Text(const Record& record) { return std::string(record.View()); }

TEST(CreateMainWindow, RegistersOnceAndShowsATitledWindowOnTheScreen) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  HINSTANCE previous = nullptr;
  int show = SW_SHOWNOACTIVATE;
  WindowHandle window = nullptr;
  ASSERT_EQ(CreateMainWindow(instance, previous, show, window), 1);
  ASSERT_NE(window, nullptr);
  char title[16] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "MAIN");
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  EXPECT_STREQ(className, "MainWin");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) & 0x00CC4000u, 0x00CC4000u);
  EXPECT_TRUE(IsWindowVisible(window));
  // The default place and size: on the screen, and big enough for a clip.
  RECT rect{};
  ASSERT_TRUE(GetWindowRect(window, &rect));
  EXPECT_LT(rect.left, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_GE(rect.right - rect.left, 320);
  EXPECT_GE(rect.bottom - rect.top, 240);

  // A second registration of "MainWin" fails: the result says so.
  WindowHandle second = nullptr;
  EXPECT_EQ(CreateMainWindow(instance, previous, show, second), 0);
  // With a previous instance nothing is registered, so nothing fails.
  HINSTANCE some = instance;
  EXPECT_EQ(CreateMainWindow(instance, some, show, second), 1);
  EXPECT_NE(second, nullptr);
  DestroyWindow(second);
  DestroyWindow(window);
}

TEST(PlayVideo, MissingClipStillSendsEveryCommandAndKeepsTheLastResult) {
  VideoFileName fileName;
  std::int32_t nameEnd = 0;
  MakeVideoFileName(TextView(std::string("NOSUCHCLIP") + std::string(21, '\0')), fileName, nameEnd);
  mciResult = 0;
  PlayVideo(fileName, nameEnd, reinterpret_cast<WindowHandle>(static_cast<std::intptr_t>(1234)));
  // The window command was composed after the failed open, and the close
  // command (the last one) reached the media layer and failed there: there
  // was no device to close.
  EXPECT_EQ(Text(mciCommand), "window test handle" + std::string(8, ' ') + "1234" +
                                  std::string(1, '\0') + std::string(49, ' '));
  EXPECT_EQ(mciResult, static_cast<std::int32_t>(MCIERR_INVALID_DEVICE_NAME));
}

}  // namespace

}  // namespace formreel::app
