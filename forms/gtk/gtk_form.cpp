#include "forms/gtk/gtk_form.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>
#include <unordered_map>

#include "forms/core/construction.h"
#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/form_model.h"
#include "forms/core/navigation.h"
#include "forms/core/read_back.h"
#include "forms/gtk/window_keys.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

using Control = FormModel::Control;
using Kind = FormModel::Kind;

// Why a typed text is not taken when the locale cannot hold it.
constexpr char NotTypeableReason[] = "holds a character this locale's character set cannot hold";

// What a hidden text's entry holds, a character for each of the text's:
// the text itself lives only in the model, so that no reader of the
// entry's text (a screen reader among them) finds it.
constexpr char MaskCharacter[] = "\u25CF";

// The byte at which character `characters` of `text` starts (its end when
// it has fewer).
std::size_t ByteOfCharacter(const CodePage& page, std::string_view text, int characters) {
  std::size_t at = 0;
  for (int k = 0; k < characters && at < text.size(); ++k) {
    const std::size_t bytes = FirstCharacter(page, TextView(text).subspan(at)).bytes;
    if (bytes == 0) break;
    at += bytes;
  }
  return std::min(at, text.size());
}

// One mask character for each character of `text`.
std::string Masked(const CodePage& page, std::string_view text) {
  std::string masked;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t bytes = FirstCharacter(page, TextView(text).subspan(at)).bytes;
    at += bytes == 0 ? text.size() : bytes;
    masked += MaskCharacter;
  }
  return masked;
}

// The data key under which a widget names the model's control it shows.
constexpr char ControlKey[] = "formreel-control";

// The control that `widget` shows or lies within; null for none.
Control* ControlOf(GtkWidget* widget) {
  for (; widget != nullptr; widget = gtk_widget_get_parent(widget))
    if (auto* control = static_cast<Control*>(g_object_get_data(G_OBJECT(widget), ControlKey))) return control;
  return nullptr;
}

void LabelledBy(GtkWidget* widget, GtkWidget* label) {
  gtk_accessible_update_relation(GTK_ACCESSIBLE(widget), GTK_ACCESSIBLE_RELATION_LABELLED_BY, label, nullptr, -1);
}

// A combo box's own toggle button, which opens its list.
GtkWidget* ListButton(GtkWidget* combo) {
  for (GtkWidget* child = gtk_widget_get_first_child(combo); child != nullptr;
       child = gtk_widget_get_first_child(child))
    for (GtkWidget* sibling = child; sibling != nullptr; sibling = gtk_widget_get_next_sibling(sibling))
      if (GTK_IS_TOGGLE_BUTTON(sibling)) return sibling;
  return nullptr;
}

class WindowForm final {
 public:
  explicit WindowForm(WindowCall& call) : call_(call), state_(*call.state), model_(state_) {}
  WindowForm(const WindowForm&) = delete;
  WindowForm& operator=(const WindowForm&) = delete;
  ~WindowForm();

  Showing Run();

 private:
  void Build();
  void AddField(GtkGrid* grid, int row, std::int32_t field);
  GtkWidget* TextControl(Control& control, GtkWidget* prompt);
  GtkWidget* Row(std::int32_t field, GtkWidget* prompt);
  GtkWidget* Button(ControlHandle handle);
  void Show(GtkWidget* widget, Control& control, GtkWidget* focusTarget);
  void Focus();
  void End(Showing showing);
  void Act(WindowAction action);
  void Confirm(std::int32_t groupButton);
  void Refuse(const Control& control, const std::string& reason, const std::string& text);
  void ClearRefusal();
  void RestartTimeLimit();
  std::string Shown(std::string_view text) const { return VisibleUtf8(state_.codePage, TextView(text)); }
  std::string Prompt(std::int32_t field) const;
  std::string FromWindow(std::int32_t field, const std::string& shown) const;
  Control& Focused() const { return FormModel::Of(state_.controls[FocusTargetSlot]); }
  GtkWidget* Target(const Control& control) const { return targets_.at(&control); }

  static gboolean OnKey(GtkEventControllerKey*, guint key, guint, GdkModifierType modifiers, gpointer self);
  static void OnClicked(GtkButton* button, gpointer self);
  static void OnToggled(GtkCheckButton* box, gpointer self);
  static void OnChosen(GtkComboBox* combo, gpointer self);
  static void OnEdited(GtkEditable* editable, gpointer self);
  static void OnInsert(GtkEditable* editable, const char* text, int length, int* position, gpointer self);
  static void OnDelete(GtkEditable* editable, int start, int end, gpointer self);
  static void OnFocusMoved(GObject*, GParamSpec*, gpointer self);
  static gboolean OnCloseRequest(GtkWindow*, gpointer self);
  static gboolean OnSignal(gint, GIOCondition, gpointer self);
  static gboolean OnTimeLimit(gpointer self);

  WindowCall& call_;
  FormState& state_;
  FormModel model_;
  // Per control, the widget that takes the keyboard focus for it.
  std::unordered_map<const Control*, GtkWidget*> targets_;
  GtkWidget* window_ = nullptr;
  GtkWidget* refusal_ = nullptr;
  GtkWidget* refusedTarget_ = nullptr;  // the widget marked invalid
  GMainLoop* loop_ = nullptr;
  guint signalSource_ = 0;
  guint timeLimit_ = 0;
  Showing result_ = Showing::Ended;
  std::int32_t refused_ = 0;  // the field whose refusal the window says; 0 for none
  bool masking_ = false;      // a hidden text's masks going in, which the model has already
};

WindowForm::~WindowForm() {
  if (signalSource_ != 0) g_source_remove(signalSource_);
  if (timeLimit_ != 0) g_source_remove(timeLimit_);
  if (window_ != nullptr) gtk_window_destroy(GTK_WINDOW(window_));
  // The window goes from the screen before the entry call returns.
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
  if (loop_ != nullptr) g_main_loop_unref(loop_);
}

Showing WindowForm::Run() {
  BuildForm(state_, model_);
  Build();
  Focus();
  loop_ = g_main_loop_new(nullptr, FALSE);
  if (call_.signalDescriptor >= 0) signalSource_ = g_unix_fd_add(call_.signalDescriptor, G_IO_IN, OnSignal, this);
  gtk_window_present(GTK_WINDOW(window_));
  RestartTimeLimit();
  g_main_loop_run(loop_);
  return result_;
}

void WindowForm::Build() {
  window_ = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(window_), Shown(model_.Caption()).c_str());
  g_signal_connect(window_, "close-request", G_CALLBACK(OnCloseRequest), this);
  GtkEventController* keys = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(OnKey), this);
  gtk_widget_add_controller(window_, keys);

  GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  for (auto* margin : {gtk_widget_set_margin_top, gtk_widget_set_margin_bottom, gtk_widget_set_margin_start,
                       gtk_widget_set_margin_end})
    margin(page, 18);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_widget_set_halign(grid, GTK_ALIGN_CENTER);
  gtk_box_append(GTK_BOX(page), grid);
  int row = 0;
  for (const FormModel::Line& line : model_.Lines()) {
    if (line.field == 0) {
      GtkWidget* text = gtk_label_new(Shown(line.text).c_str());
      gtk_label_set_justify(GTK_LABEL(text), GTK_JUSTIFY_CENTER);
      gtk_grid_attach(GTK_GRID(grid), text, 0, row++, 2, 1);
    } else {
      AddField(GTK_GRID(grid), row++, line.field);
    }
  }

  // Says why a value is refused; a screen reader hears of it by the
  // alert's name and the field's own state and description.
  refusal_ = GTK_WIDGET(g_object_new(GTK_TYPE_LABEL, "accessible-role", GTK_ACCESSIBLE_ROLE_ALERT, "wrap", TRUE,
                                     "xalign", 0.0F, nullptr));
  gtk_accessible_update_property(GTK_ACCESSIBLE(refusal_), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
  gtk_widget_add_css_class(refusal_, "error");
  gtk_box_append(GTK_BOX(page), refusal_);

  GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
  gtk_box_append(GTK_BOX(buttons), Button(state_.controls[OkButtonSlot]));
  gtk_box_append(GTK_BOX(buttons), Button(state_.controls[CancelButtonSlot]));
  gtk_box_append(GTK_BOX(page), buttons);

  for (const char* help : {WindowKeyHelpFirst, WindowKeyHelpSecond}) {
    GtkWidget* line = gtk_label_new(help);
    gtk_widget_add_css_class(line, "dim-label");
    gtk_box_append(GTK_BOX(page), line);
  }
  gtk_window_set_child(GTK_WINDOW(window_), page);
  // From here on, what the person does goes into the model.
  g_signal_connect(window_, "notify::focus-widget", G_CALLBACK(OnFocusMoved), this);
}

// The prompt in the first column and the field's control in the second,
// named by the prompt; a row of buttons across both, its first button the
// prompt.
void WindowForm::AddField(GtkGrid* grid, int row, std::int32_t field) {
  const ControlKind kind = KindOf(state_.fieldTypes[field]).control;
  if (kind == ControlKind::ButtonRow) {
    gtk_grid_attach(grid, Row(field, nullptr), 0, row, 2, 1);
    return;
  }
  GtkWidget* prompt = gtk_label_new(Prompt(field).c_str());
  gtk_label_set_xalign(GTK_LABEL(prompt), 0.0F);
  gtk_widget_set_valign(prompt, kind == ControlKind::CheckBoxes ? GTK_ALIGN_START : GTK_ALIGN_CENTER);
  gtk_grid_attach(grid, prompt, 0, row, 1, 1);
  GtkWidget* control =
      kind == ControlKind::CheckBoxes ? Row(field, prompt) : TextControl(FormModel::Of(state_.controls[field]), prompt);
  gtk_grid_attach(grid, control, 1, row, 1, 1);
}

// An entry (with a list, when it has one), a list only, or a password
// entry, 30 characters wide (a longer text scrolls sideways), showing
// `control`.
GtkWidget* WindowForm::TextControl(Control& control, GtkWidget* prompt) {
  GtkWidget* widget = nullptr;
  GtkWidget* entry = nullptr;   // where the text is typed
  GtkWidget* target = nullptr;  // what takes the focus
  if (control.kind == Kind::HiddenText) {
    widget = entry = target = gtk_password_entry_new();
  } else if (control.kind == Kind::EditableList && control.entries.empty()) {
    widget = entry = target = gtk_entry_new();
  } else {
    const bool listOnly = control.kind == Kind::ListOnly;
    widget = listOnly ? gtk_combo_box_text_new() : gtk_combo_box_text_new_with_entry();
    for (const std::string& text : control.entries)
      gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(widget), Shown(text).c_str());
    gtk_combo_box_set_active(GTK_COMBO_BOX(widget), control.chosen);
    GtkWidget* button = ListButton(widget);
    // Beside an entry the list's button only opens the list, and a click
    // on it leaves the focus in the entry; a list only's button is the
    // field itself. Either way it is named by the prompt.
    if (button != nullptr) LabelledBy(button, prompt);
    if (listOnly) {
      target = button != nullptr ? button : widget;
    } else {
      entry = target = gtk_combo_box_get_child(GTK_COMBO_BOX(widget));
      if (button != nullptr) gtk_widget_set_focus_on_click(button, FALSE);
    }
    g_signal_connect(widget, "changed", G_CALLBACK(OnChosen), this);
  }
  LabelledBy(widget, prompt);
  if (entry != nullptr) {
    if (entry != widget) LabelledBy(entry, prompt);
    const bool hidden = control.kind == Kind::HiddenText;
    const std::string text = hidden ? Masked(state_.codePage, control.text) : Shown(control.text);
    if (control.chosen < 0) gtk_editable_set_text(GTK_EDITABLE(entry), text.c_str());
    gtk_editable_set_width_chars(GTK_EDITABLE(entry), PromptWidth);
    gtk_editable_set_max_width_chars(GTK_EDITABLE(entry), PromptWidth);
    GtkEditable* typed = gtk_editable_get_delegate(GTK_EDITABLE(entry));
    g_signal_connect(typed, "insert-text", G_CALLBACK(OnInsert), this);
    if (hidden) {
      gtk_editable_set_enable_undo(typed, FALSE);
      g_signal_connect(typed, "delete-text", G_CALLBACK(OnDelete), this);
    } else {
      g_signal_connect(entry, "changed", G_CALLBACK(OnEdited), this);
    }
  }
  Show(widget, control, target);
  return widget;
}

// A B row's buttons, side by side, or an M field's boxes, one under the
// other: one group for a screen reader, named by the prompt (a B row's
// first button).
GtkWidget* WindowForm::Row(std::int32_t field, GtkWidget* prompt) {
  const bool boxes = prompt != nullptr;
  GtkWidget* row = GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, "orientation",
                                           boxes ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL, "spacing",
                                           boxes ? 2 : 6, nullptr));
  if (boxes) LabelledBy(row, prompt);
  else
    gtk_accessible_update_property(GTK_ACCESSIBLE(row), GTK_ACCESSIBLE_PROPERTY_LABEL, Prompt(field).c_str(), -1);
  for (std::int32_t m = 1; m <= state_.groupSize[field]; ++m) {
    const ControlHandle handle = PositionControl(state_, field, m);
    GtkWidget* position = nullptr;
    if (boxes) {
      Control& box = FormModel::Of(handle);
      position = gtk_check_button_new_with_label(Shown(box.text).c_str());
      gtk_check_button_set_active(GTK_CHECK_BUTTON(position), box.checked);
      g_signal_connect(position, "toggled", G_CALLBACK(OnToggled), this);
      Show(position, box, position);
    } else {
      position = Button(handle);
    }
    gtk_box_append(GTK_BOX(row), position);
  }
  return row;
}

GtkWidget* WindowForm::Button(ControlHandle handle) {
  Control& control = FormModel::Of(handle);
  GtkWidget* button = gtk_button_new_with_label(Shown(control.text).c_str());
  g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), this);
  Show(button, control, button);
  return button;
}

void WindowForm::Show(GtkWidget* widget, Control& control, GtkWidget* focusTarget) {
  g_object_set_data(G_OBJECT(widget), ControlKey, &control);
  targets_[&control] = focusTarget;
}

// The keyboard focus to the focus target that navigation and read-back leave.
void WindowForm::Focus() { gtk_widget_grab_focus(Target(Focused())); }

void WindowForm::End(Showing showing) {
  result_ = showing;
  g_main_loop_quit(loop_);
}

void WindowForm::Act(WindowAction action) {
  switch (action) {
    case WindowAction::Widget: break;
    case WindowAction::Next:
      StepToNextField(state_);
      Focus();
      break;
    case WindowAction::Previous:
      StepToPreviousField(state_);
      Focus();
      break;
    case WindowAction::Confirm: Confirm(0); break;
    case WindowAction::Cancel:
      state_.confirmed = false;
      End(Showing::Ended);
      break;
    case WindowAction::ShowList: {
      GtkWidget* combo = gtk_widget_get_ancestor(Target(Focused()), GTK_TYPE_COMBO_BOX);
      if (combo != nullptr) gtk_combo_box_popup(GTK_COMBO_BOX(combo));
      break;
    }
  }
}

// O.K., CTRL-ENTER, or group button `groupButton` (0 for none). A
// confirmation that stops leaves the focus on the field that did not
// convert or pass its checks, its text selected, and says why: with the
// text only where the field shows it (not a hidden text, nor a box).
void WindowForm::Confirm(std::int32_t groupButton) {
  if (ConfirmFields(state_, groupButton, model_)) return End(Showing::Ended);
  const Control& control = Focused();
  Focus();
  Refuse(control, state_.refusal, control.kind == Kind::EditableList ? Shown(control.text) : "");
  GtkWidget* target = Target(control);
  if (GTK_IS_EDITABLE(target)) gtk_editable_select_region(GTK_EDITABLE(target), 0, -1);
}

// The refusal in its row, and on the focus target of `control` (a field,
// or an M field's box): its state invalid, its description the refusal, as
// a screen reader reads them with its name.
void WindowForm::Refuse(const Control& control, const std::string& reason, const std::string& text) {
  ClearRefusal();
  refused_ = control.field;
  const std::string line = RefusalLine(Prompt(control.field), Shown(reason), text);
  gtk_label_set_text(GTK_LABEL(refusal_), line.c_str());
  gtk_accessible_update_property(GTK_ACCESSIBLE(refusal_), GTK_ACCESSIBLE_PROPERTY_LABEL, line.c_str(), -1);
  GtkWidget* target = refusedTarget_ = Target(control);
  gtk_accessible_update_state(GTK_ACCESSIBLE(target), GTK_ACCESSIBLE_STATE_INVALID, GTK_ACCESSIBLE_INVALID_TRUE, -1);
  gtk_accessible_update_property(GTK_ACCESSIBLE(target), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, line.c_str(), -1);
  gtk_widget_add_css_class(target, "error");
}

void WindowForm::ClearRefusal() {
  if (refused_ == 0) return;
  refused_ = 0;
  gtk_label_set_text(GTK_LABEL(refusal_), "");
  gtk_accessible_update_property(GTK_ACCESSIBLE(refusal_), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
  GtkWidget* target = refusedTarget_;
  gtk_accessible_update_state(GTK_ACCESSIBLE(target), GTK_ACCESSIBLE_STATE_INVALID, GTK_ACCESSIBLE_INVALID_FALSE, -1);
  gtk_accessible_update_property(GTK_ACCESSIBLE(target), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, "", -1);
  gtk_widget_remove_css_class(target, "error");
}

// Without a time limit no timer runs; with one, each key starts it again.
void WindowForm::RestartTimeLimit() {
  const auto limit = state_.rules.timeLimit.count();
  if (limit <= 0) return;
  if (timeLimit_ != 0) g_source_remove(timeLimit_);
  timeLimit_ = g_timeout_add(static_cast<guint>(std::min<decltype(limit)>(limit, G_MAXUINT)), OnTimeLimit, this);
}

// A field's prompt as the form shows it (its first 30 columns), without
// the blanks around it; a B row's is its first button's caption.
std::string WindowForm::Prompt(std::int32_t field) const {
  const std::string_view prompt = FormModel::ShownPrompt(state_.codePage, model_.PromptOf(field));
  return Shown(prompt.substr(std::min(prompt.size(), prompt.find_first_not_of(Blank))));
}

// A field's text as typed into the window, in the form's code page: the
// UTF-8 `shown` text, or, while it is still what the field's own bytes
// (shownTexts) show as, those bytes, so that an untouched field hands back
// the caller's value exactly.
std::string WindowForm::FromWindow(std::int32_t field, const std::string& shown) const {
  std::string_view own = state_.shownTexts[field].View();
  own = own.substr(0, own.find(Nul));
  return shown == Shown(own) ? std::string(own) : shown;
}

gboolean WindowForm::OnKey(GtkEventControllerKey*, guint key, guint, GdkModifierType modifiers, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  form.RestartTimeLimit();
  // The open list of a combo box takes its own keys.
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(form.window_));
  if (focus != nullptr && gtk_widget_get_ancestor(focus, GTK_TYPE_POPOVER) != nullptr) return FALSE;
  const WindowAction action = WindowActionFor(key, modifiers, form.Focused());
  if (action == WindowAction::Widget) return FALSE;
  form.Act(action);
  return TRUE;
}

void WindowForm::OnClicked(GtkButton* button, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  const Control* control = ControlOf(GTK_WIDGET(button));
  const FormState& state = form.state_;
  if (control == &FormModel::Of(state.controls[CancelButtonSlot])) return form.Act(WindowAction::Cancel);
  form.Confirm(control->field == 0 ? 0 : state.groupStart[control->field] + control->index);
}

void WindowForm::OnToggled(GtkCheckButton* box, gpointer self) {
  ControlOf(GTK_WIDGET(box))->checked = gtk_check_button_get_active(box) != 0;
  static_cast<WindowForm*>(self)->ClearRefusal();
}

// An entry chosen from a list; typing in an editable one chooses none,
// which the typed text says (OnEdited).
void WindowForm::OnChosen(GtkComboBox* combo, gpointer self) {
  const int chosen = gtk_combo_box_get_active(combo);
  if (chosen >= 0) FormModel::Choose(*ControlOf(GTK_WIDGET(combo)), chosen);
  static_cast<WindowForm*>(self)->ClearRefusal();
}

void WindowForm::OnEdited(GtkEditable* editable, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  Control& control = *ControlOf(GTK_WIDGET(editable));
  FormModel::Edit(control, form.FromWindow(control.field, gtk_editable_get_text(editable)));
  form.ClearRefusal();
}

// A field takes what its value can hold: the bytes its kind takes and,
// unless its text scrolls sideways, the 30 columns it shows, in characters
// of the locale's set; what does not fit is refused in words, without the
// text. A hidden text's characters go into the model, and masks into its
// entry.
void WindowForm::OnInsert(GtkEditable* editable, const char* text, int length, int* position, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  Control* control = ControlOf(GTK_WIDGET(editable));
  if (control == nullptr || form.masking_) return;
  const CodePage& page = form.state_.codePage;
  const FieldKind& kind = KindOf(form.state_.fieldTypes[control->field]);
  const bool hidden = control->kind == Kind::HiddenText;
  const std::string typed(text, length < 0 ? std::strlen(text) : static_cast<std::size_t>(length));
  std::string edited = hidden ? control->text : gtk_editable_get_text(editable);
  const auto characters = static_cast<int>(hidden ? g_utf8_strlen(gtk_editable_get_text(editable), -1)
                                                  : g_utf8_strlen(edited.c_str(), -1));
  const int at = *position < 0 || *position > characters ? characters : *position;
  edited.insert(hidden ? ByteOfCharacter(page, edited, at)
                       : static_cast<std::size_t>(g_utf8_offset_to_pointer(edited.c_str(), at) - edited.c_str()),
                typed);
  if (!hidden) edited = form.FromWindow(control->field, edited);
  const auto maxBytes = static_cast<std::size_t>(kind.maxBytes);
  std::string reason;
  if (form.Shown(typed) != typed)
    reason = NotTypeableReason;
  else if (edited.size() > maxBytes)
    reason = TooLongReason(maxBytes);
  else if (!kind.ScrollsSideways() && TextColumns(page, TextView(edited)) > std::size_t{PromptWidth})
    reason = TooWideReason(PromptWidth);
  if (!reason.empty()) {
    g_signal_stop_emission_by_name(editable, "insert-text");
    gtk_widget_error_bell(GTK_WIDGET(editable));
    return form.Refuse(*control, reason, {});
  }
  if (!hidden) return;
  FormModel::Edit(*control, edited);
  g_signal_stop_emission_by_name(editable, "insert-text");
  form.masking_ = true;
  int end = at;
  gtk_editable_insert_text(editable, Masked(page, typed).c_str(), -1, &end);
  form.masking_ = false;
  *position = end;
  form.ClearRefusal();
}

// Characters `start` to `end` (-1: the last) of a hidden text deleted.
void WindowForm::OnDelete(GtkEditable* editable, int start, int end, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  Control* control = ControlOf(GTK_WIDGET(editable));
  if (control == nullptr || form.masking_) return;
  const CodePage& page = form.state_.codePage;
  const std::size_t from = ByteOfCharacter(page, control->text, start);
  const std::size_t to = end < 0 ? control->text.size() : ByteOfCharacter(page, control->text, end);
  if (to > from) FormModel::Edit(*control, control->text.substr(0, from) + control->text.substr(to));
  form.ClearRefusal();
}

// Wherever the focus went (a click, a list closing), the form stands
// there: the keys move on from it. A refusal goes once its field is left.
void WindowForm::OnFocusMoved(GObject*, GParamSpec*, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  FormState& state = form.state_;
  Control* control = ControlOf(gtk_window_get_focus(GTK_WINDOW(form.window_)));
  if (control == nullptr) return;
  const bool ok = control == &FormModel::Of(state.controls[OkButtonSlot]);
  state.currentField = control->field != 0 ? control->field : state.fieldCount + (ok ? 1 : 2);
  state.groupPosition = control->index;
  state.controls[FocusTargetSlot] = ControlHandle(control);
  if (state.currentField != form.refused_) form.ClearRefusal();
}

// Closed from its frame: cancelled.
gboolean WindowForm::OnCloseRequest(GtkWindow*, gpointer self) {
  static_cast<WindowForm*>(self)->Act(WindowAction::Cancel);
  return TRUE;
}

gboolean WindowForm::OnSignal(gint, GIOCondition, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  if (!form.call_.signalEnds(form.call_.host)) return G_SOURCE_CONTINUE;
  form.signalSource_ = 0;
  form.End(Showing::Interrupted);
  return G_SOURCE_REMOVE;
}

gboolean WindowForm::OnTimeLimit(gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  form.timeLimit_ = 0;
  form.End(Showing::TimedOut);
  return G_SOURCE_REMOVE;
}

}  // namespace

Showing RunWindowForm(WindowCall& call) {
  WindowForm form(call);
  return form.Run();
}

}  // namespace formreel
