#include "forms/gtk/window_keys.h"

#include <array>

namespace formreel {

namespace {

using Kind = FormModel::Kind;

// Which focused controls a binding applies to.
enum class Where : std::uint8_t { Anywhere, Button, List };

struct Binding {
  guint key;  // GDK_KEY_Return stands for every ENTER key
  bool ctrl;  // CTRL held, and ALT not: AltGr holds CTRL on many layouts
  Where where;
  WindowAction action;
};

// The first binding of a key that applies wins: ENTER presses a button but
// moves on from anywhere else, a box included.
constexpr std::array<Binding, 8> Bindings{{
    {GDK_KEY_Return, true, Where::Anywhere, WindowAction::Confirm},
    {GDK_KEY_Return, false, Where::Button, WindowAction::Widget},
    {GDK_KEY_Return, false, Where::Anywhere, WindowAction::Next},
    {GDK_KEY_Tab, false, Where::Anywhere, WindowAction::Next},
    {GDK_KEY_ISO_Left_Tab, false, Where::Anywhere, WindowAction::Previous},
    {GDK_KEY_BackSpace, true, Where::Anywhere, WindowAction::Previous},
    {GDK_KEY_Escape, false, Where::Anywhere, WindowAction::Cancel},
    {GDK_KEY_F4, false, Where::List, WindowAction::ShowList},
}};

bool Applies(Where where, const FormModel::Control& control) {
  switch (where) {
    case Where::Anywhere: return true;
    case Where::Button: return control.kind == Kind::Button;
    case Where::List: return control.kind == Kind::ListOnly || !control.entries.empty();
  }
  return false;
}

}  // namespace

WindowAction WindowActionFor(guint key, GdkModifierType modifiers, const FormModel::Control& control) {
  const bool ctrlHeld = (modifiers & GDK_CONTROL_MASK) != 0;
  const bool altHeld = (modifiers & GDK_ALT_MASK) != 0;
  // ALT with a key is the widget's (ALT-DOWN opens a list).
  if (altHeld && !ctrlHeld) return WindowAction::Widget;
  if (key == GDK_KEY_KP_Enter || key == GDK_KEY_ISO_Enter) key = GDK_KEY_Return;
  const bool ctrl = ctrlHeld && !altHeld;
  for (const Binding& b : Bindings)
    if (b.key == key && b.ctrl == ctrl && Applies(b.where, control)) return b.action;
  return WindowAction::Widget;
}

}  // namespace formreel
