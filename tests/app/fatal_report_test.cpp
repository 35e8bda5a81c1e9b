// A run-time error in a program without a console: the report is shown in a
// message box, written to standard error as well, and the program ends with
// its status once the box is dismissed.
#include <gtest/gtest.h>

#include <windows.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/poll.h"

namespace formreel::app {


namespace {

std::string ProgramDirectory() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
}

struct BoxSearch {
  DWORD process;
  HWND box;
};

BOOL CALLBACK FindBox(HWND window, LPARAM lParam) {
  auto& search = *reinterpret_cast<BoxSearch*>(lParam);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char className[16] = {};
  GetClassNameA(window, className, sizeof className);
  if (owner == search.process && std::string(className) == "#32770" && IsWindowVisible(window)) {
    search.box = window;
    return FALSE;
  }
  return TRUE;
}

// The texts of a window's static children, each ended by a line feed.
std::string StaticTexts(HWND window) {
  std::string texts;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0) continue;
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(child, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    if (text[0] != '\0') texts += std::string(text) + "\n";
  }
  return texts;
}

std::string WindowTitle(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(FatalReport, ShownInAMessageBoxThenTheProgramEndsWithItsStatus) {
  const std::string errorPath = ProgramDirectory() + "fatal_child.err";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE errorFile = CreateFileA(errorPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(errorFile, INVALID_HANDLE_VALUE);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = errorFile;
  PROCESS_INFORMATION child{};
  std::string command = "\"" + ProgramDirectory() + "fatal_child.exe\"";
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child));
  CloseHandle(errorFile);

  BoxSearch search{child.dwProcessId, nullptr};
  PollUntil(std::chrono::seconds(30), [&] {
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
    return search.box != nullptr;
  }, std::chrono::milliseconds(50));
  const std::string report = "formreel: run-time error: text position outside its storage";
  if (search.box != nullptr) {
    EXPECT_EQ(WindowTitle(search.box), "formreel");
    EXPECT_EQ(StaticTexts(search.box), report + "\n");
    // Still waiting on the person: the program has not ended yet.
    EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    PostMessageA(search.box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  } else {
    ADD_FAILURE() << "no message box appeared";
  }
  const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
  if (waited != WAIT_OBJECT_0) TerminateProcess(child.hProcess, 99);
  ASSERT_EQ(waited, static_cast<DWORD>(WAIT_OBJECT_0));
  DWORD status = 0;
  GetExitCodeProcess(child.hProcess, &status);
  EXPECT_EQ(status, 3u);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);

  std::ifstream written(errorPath);
  std::stringstream text;
  text << written.rdbuf();
  EXPECT_EQ(text.str(), report + "\n");
}

}  // namespace

}  // namespace formreel::app
