// Drives a form while FormEntry's modal loop runs: a thread timer whose
// every tick performs one scripted step. Keys and clicks go through
// SendInput, so they arrive as real input: key state, TranslateMessage and
// the controls' own handling all take part.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <string>
#include <vector>

#include "forms/core/state.h"
#include "tests/support/value_slots.h"

namespace formreel {

class FormScript {
 public:
  // Types `text` key by key into whatever has the focus.
  FormScript& Type(const std::string& text);
  // Presses and releases `virtualKey`, with CTRL held when `ctrl`.
  FormScript& Key(WORD virtualKey, bool ctrl = false);
  FormScript& Enter() { return Key(VK_RETURN); }
  FormScript& Tab() { return Key(VK_TAB); }
  FormScript& CtrlEnter() { return Key(VK_RETURN, true); }
  FormScript& CtrlBackspace() { return Key(VK_BACK, true); }
  FormScript& Escape() { return Key(VK_ESCAPE); }
  FormScript& Space() { return Key(VK_SPACE); }
  // Clicks the left mouse button in the middle of the window `target()`
  // names when the step runs.
  FormScript& Click(std::function<HWND()> target);
  // Runs `step` on the live form (checks, or anything else).
  FormScript& Do(std::function<void()> step);
  // Waits one tick, so that what earlier steps caused has been handled.
  FormScript& Idle() { return Do([] {}); }

  // Starts the timer; the steps run while the next FormEntry call's loop
  // runs. If the form is still open `graceTicks` ticks after the last step,
  // it is closed from its frame and `stuck()` becomes true.
  void Start(int graceTicks = 40);
  // Stops the timer (also done by the destructor).
  void Stop();
  ~FormScript() { Stop(); }

  bool finished() const { return next_ >= steps_.size(); }
  bool stuck() const { return stuck_; }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
  void RunOneStep();

  std::vector<std::function<void()>> steps_;
  std::size_t next_ = 0;
  int graceLeft_ = 0;
  bool stuck_ = false;
  UINT_PTR timer_ = 0;
};

// The open form window, or null.
HWND OpenFormWindow();
// The control of the open form with identifier `id`, or null.
HWND FormControl(int id);
// Text of a window, as GetWindowTextA gives it.
std::string WindowText(HWND window);
// Class name of a window, e.g. "Edit", "Button", "ComboBox".
std::string WindowClass(HWND window);
// The control that has the keyboard focus, climbing from a combo box's
// edit field to the combo box itself.
HWND FocusedControl();


// Runs FormEntry on `descriptor` (its length counting the descriptor's own
// characters, NULs included) and `rules` with `script` driving the form;
// the script starts just before the call. Returns FormEntry's result.
bool RunForm(FormScript& script, const std::string& descriptor, std::span<std::int8_t> selections,
             std::span<ValueSlot> values, const FormRules& rules = {});

// Position and size of `control` in its parent's client area.
RECT ClientBox(HWND control);
// Saves the screen's pixels inside `area` as the 24-bit BMP file
// screenshots\<name>.bmp under the working directory.
bool SaveScreenshot(const RECT& area, const std::string& name);

// While alive, records on this thread every control or form window created
// (class, text, style, position, size, identifier) and the text and list
// messages sent to them, as one line each, e.g.
//   "create combobox '' 50a00002 240,16 240x168 id 202"
//   "202 CB_SETITEMHEIGHT 0 28"
// Only the form window and its own children are recorded, not the parts a
// combo box makes for itself.
class WindowCallLog {
 public:
  WindowCallLog();
  ~WindowCallLog();
  WindowCallLog(const WindowCallLog&) = delete;
  WindowCallLog& operator=(const WindowCallLog&) = delete;

  std::vector<std::string> lines;

 private:
  static LRESULT CALLBACK OnCreate(int code, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK OnSend(int code, WPARAM wParam, LPARAM lParam);
  HHOOK createHook_;
  HHOOK sendHook_;
};

}  // namespace formreel
