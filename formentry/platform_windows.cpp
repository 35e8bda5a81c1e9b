// formentry on Windows: a console program whose form is a window, or plain
// lines in its console.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <iterator>

#include "platform.h"
#include "recode_windows.h"

namespace formreel::formentry {

namespace {

// The form has no owner: bring it to the foreground once its window exists,
// so that the keyboard reaches it whichever window the script ran from.
void CALLBACK BringFormForward(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND form = FindWindowA(FormClassName, nullptr);
  if (form == nullptr || GetWindowThreadProcessId(form, nullptr) != GetCurrentThreadId()) return;
  KillTimer(nullptr, timer);
  SetForegroundWindow(form);
}

}  // namespace

void PrepareStandardStreams() {
  // Lines end with LF alone, as scripts read them.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

bool ReadStandardInput(std::string& contents) {
  _setmode(_fileno(stdin), _O_BINARY);
  contents.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  return !std::cin.bad();
}

bool TextsAreUtf8() { return GetACP() == CP_UTF8; }

// The programs' manifest makes the active page UTF-8, and then the bytes
// pass unchanged; in another page the edges convert.
std::optional<std::string> FromUtf8(std::string_view text) {
  return TextsAreUtf8() ? std::string(text) : Recode(text, CP_UTF8, GetACP());
}
std::optional<std::string> TextToUtf8(std::string_view text) {
  return TextsAreUtf8() ? std::string(text) : Recode(text, GetACP(), CP_UTF8);
}

FormEntryEnd ShowForm(CommandLine::Display display, const std::string& descriptor, FormArrays& arrays) {
  const auto length = static_cast<std::int32_t>(descriptor.size());
  switch (display) {
    case CommandLine::Display::Unattended:
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values, FormDisplay::Unattended);
      break;
    case CommandLine::Display::Plain:
    case CommandLine::Display::Terminal:  // a console shows the plain lines
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values, FormDisplay::Plain);
      break;
    case CommandLine::Display::Standard:
    case CommandLine::Display::Window:
      SetTimer(nullptr, 0, 0, BringFormForward);
      FormEntry(descriptor.data(), length, arrays.selections, arrays.values);
      break;
  }
  return LastFormEntryEnd();
}

}  // namespace formreel::formentry
