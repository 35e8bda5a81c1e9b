#include "forms/gtk/gtk_form.h"

#include <glib-unix.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "forms/core/construction.h"
#include "forms/core/field_kinds.h"
#include "forms/core/field_words.h"
#include "forms/core/keys.h"
#include "forms/core/navigation.h"
#include "forms/core/read_back.h"
#include "forms/gtk/form_plan.h"
#include "text/visible_text.h"

namespace formreel {

namespace {

// The keys in words, so that a screen reader speaks every one of them.
constexpr char FirstKeyHelp[] = "ENTER or TAB: next field.   SHIFT-TAB or CTRL-BACKSPACE: previous.   ESCAPE: cancel.";
constexpr char SecondKeyHelp[] = "SPACE or ENTER presses a button.   F4 shows a list.   CTRL-ENTER confirms the form.";

// Why a typed text is not taken when the locale cannot hold it.
constexpr char NotTypeableReason[] = "holds a character this locale's character set cannot hold";

// The data key under which a control notes the position it stands for.
constexpr char PositionKey[] = "formreel-position";

// A position of the form as navigation numbers it: a field (1..fieldCount),
// O.K. (fieldCount + 1) or CANCEL (fieldCount + 2), and within a row of
// buttons the button (1-based; 0 elsewhere).
struct Position {
  std::int32_t current = 0;
  std::int32_t groupEntry = 0;
};

// The position of the control that `widget` is or lies within; null for
// none.
const Position* PositionOf(GtkWidget* widget) {
  for (; widget != nullptr; widget = gtk_widget_get_parent(widget))
    if (const auto* position = static_cast<const Position*>(g_object_get_data(G_OBJECT(widget), PositionKey)))
      return position;
  return nullptr;
}

struct FieldWidgets {
  PlannedField plan;
  GtkWidget* control = nullptr;  // the entry, the combo box, or the row of buttons
  GtkWidget* entry = nullptr;    // where its text is typed; null for a list only and a row of buttons
};

class WindowForm final : public FieldControls {
 public:
  explicit WindowForm(WindowCall& call) : call_(call), state_(*call.state) {}
  WindowForm(const WindowForm&) = delete;
  WindowForm& operator=(const WindowForm&) = delete;
  ~WindowForm() override;

  Showing Run();

  // FieldControls
  std::int32_t ChosenEntry(std::int32_t field) override;
  std::int32_t ReadText(std::int32_t field, Record& scratch) override;

 private:
  void Build(const FormPlan& plan);
  GtkWidget* AddField(GtkGrid* grid, int row, PlannedField& planned);
  GtkWidget* ButtonRow(const PlannedField& planned);
  GtkWidget* Button(const char* caption, Position position);
  void Note(GtkWidget* widget, Position position);
  void Focus();
  void End(Showing showing);
  void Confirm(std::int32_t groupButton);
  void Refuse(std::int32_t field, const std::string& line);
  void ClearRefusal();
  bool OnButton() const;
  std::string TextOf(std::int32_t field) const;
  FieldWidgets& Field(std::int32_t field) { return fields_[static_cast<std::size_t>(field - 1)]; }
  const FieldWidgets& Field(std::int32_t field) const { return fields_[static_cast<std::size_t>(field - 1)]; }

  static gboolean OnKey(GtkEventControllerKey*, guint key, guint, GdkModifierType modifiers, gpointer self);
  static void OnClicked(GtkButton* button, gpointer self);
  static void OnFocusMoved(GObject*, GParamSpec*, gpointer self);
  static void OnChanged(GtkEditable* editable, gpointer self);
  static void OnInsert(GtkEditable* editable, const char* text, int length, int*, gpointer self);
  static gboolean OnCloseRequest(GtkWindow*, gpointer self);
  static gboolean OnSignal(gint, GIOCondition, gpointer self);

  WindowCall& call_;
  FormState& state_;
  std::vector<FieldWidgets> fields_;
  std::deque<Position> positions_;  // a deque: the controls hold their addresses
  GtkWidget* window_ = nullptr;
  GtkWidget* status_ = nullptr;
  GMainLoop* loop_ = nullptr;
  guint signalSource_ = 0;
  Showing result_ = Showing::Ended;
  std::int32_t refused_ = 0;  // the field whose refusal the status row says; 0 for none
};

WindowForm::~WindowForm() {
  if (signalSource_ != 0) g_source_remove(signalSource_);
  if (window_ != nullptr) gtk_window_destroy(GTK_WINDOW(window_));
  // The window goes from the screen before the entry call returns.
  while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
  if (loop_ != nullptr) g_main_loop_unref(loop_);
}

Showing WindowForm::Run() {
  Build(PlanForm(state_));
  ChooseFirstPosition(state_);
  Focus();
  loop_ = g_main_loop_new(nullptr, FALSE);
  if (call_.signalDescriptor >= 0)
    signalSource_ = g_unix_fd_add(call_.signalDescriptor, G_IO_IN, OnSignal, this);
  gtk_window_present(GTK_WINDOW(window_));
  g_main_loop_run(loop_);
  return result_;
}

void WindowForm::Build(const FormPlan& plan) {
  window_ = gtk_window_new();
  gtk_window_set_title(GTK_WINDOW(window_), plan.caption.c_str());
  g_signal_connect(window_, "close-request", G_CALLBACK(OnCloseRequest), this);
  g_signal_connect(window_, "notify::focus-widget", G_CALLBACK(OnFocusMoved), this);
  GtkEventController* keys = gtk_event_controller_key_new();
  gtk_event_controller_set_propagation_phase(keys, GTK_PHASE_CAPTURE);
  g_signal_connect(keys, "key-pressed", G_CALLBACK(OnKey), this);
  gtk_widget_add_controller(window_, keys);

  GtkWidget* page = gtk_box_new(GTK_ORIENTATION_VERTICAL, 12);
  gtk_widget_set_margin_top(page, 18);
  gtk_widget_set_margin_bottom(page, 18);
  gtk_widget_set_margin_start(page, 18);
  gtk_widget_set_margin_end(page, 18);
  GtkWidget* grid = gtk_grid_new();
  gtk_grid_set_row_spacing(GTK_GRID(grid), 6);
  gtk_grid_set_column_spacing(GTK_GRID(grid), 12);
  gtk_box_append(GTK_BOX(page), grid);

  int row = 0;
  for (const PlannedRow& planned : plan.rows) {
    if (planned.isTextLine) {
      GtkWidget* line = gtk_label_new(planned.textLine.c_str());
      gtk_label_set_justify(GTK_LABEL(line), GTK_JUSTIFY_CENTER);
      gtk_label_set_wrap(GTK_LABEL(line), TRUE);
      gtk_grid_attach(GTK_GRID(grid), line, 0, row++, 2, 1);
      continue;
    }
    fields_.push_back({planned.field, nullptr, nullptr});
    FieldWidgets& field = fields_.back();
    field.control = AddField(GTK_GRID(grid), row++, field.plan);
  }

  // Says why a value is refused; a screen reader hears of it by the alert's
  // name and the field's own state.
  status_ = GTK_WIDGET(g_object_new(GTK_TYPE_LABEL, "accessible-role", GTK_ACCESSIBLE_ROLE_ALERT, "wrap", TRUE,
                                    "xalign", 0.0F, nullptr));
  gtk_accessible_update_property(GTK_ACCESSIBLE(status_), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
  gtk_widget_add_css_class(status_, "error");
  gtk_box_append(GTK_BOX(page), status_);

  GtkWidget* buttons = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
  gtk_widget_set_halign(buttons, GTK_ALIGN_CENTER);
  const std::int32_t count = state_.fieldCount;
  GtkWidget* ok = Button(OkCaption, {count + 1, 0});
  GtkWidget* cancel = Button(CancelCaption, {count + 2, 0});
  AttachControl(state_, ControlSlot::Ok, 0, ControlHandle(ok));
  AttachControl(state_, ControlSlot::Cancel, 0, ControlHandle(cancel));
  gtk_box_append(GTK_BOX(buttons), ok);
  gtk_box_append(GTK_BOX(buttons), cancel);
  gtk_box_append(GTK_BOX(page), buttons);

  for (const char* help : {FirstKeyHelp, SecondKeyHelp}) {
    GtkWidget* line = gtk_label_new(help);
    gtk_label_set_wrap(GTK_LABEL(line), TRUE);
    gtk_label_set_justify(GTK_LABEL(line), GTK_JUSTIFY_CENTER);
    gtk_widget_add_css_class(line, "dim-label");
    gtk_box_append(GTK_BOX(page), line);
  }
  gtk_window_set_child(GTK_WINDOW(window_), page);
}

// The prompt in the first column and the field's control in the second,
// named by the prompt.
GtkWidget* WindowForm::AddField(GtkGrid* grid, int row, PlannedField& planned) {
  const Position position{planned.field, 0};
  if (planned.control == WindowControl::Buttons) {
    GtkWidget* buttons = ButtonRow(planned);
    gtk_grid_attach(grid, buttons, 1, row, 1, 1);
    AttachControl(state_, ControlSlot::Field, planned.field, nullptr);
    return buttons;
  }
  GtkWidget* prompt = gtk_label_new(planned.prompt.c_str());
  gtk_label_set_xalign(GTK_LABEL(prompt), 0.0F);
  gtk_grid_attach(grid, prompt, 0, row, 1, 1);

  GtkWidget* control = nullptr;
  GtkWidget* entry = nullptr;
  if (planned.control == WindowControl::Text) {
    control = entry = gtk_entry_new();
  } else {
    control = planned.control == WindowControl::ListOnly ? gtk_combo_box_text_new() : gtk_combo_box_text_new_with_entry();
    for (const std::string& text : planned.entries)
      gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(control), text.c_str());
    if (planned.control == WindowControl::EditableList) entry = gtk_combo_box_get_child(GTK_COMBO_BOX(control));
    // The combo box's own button: for a list only it is what takes the
    // focus, so it too is named by the prompt; beside an entry it only
    // opens the list, and a click on it leaves the focus in the entry.
    for (GtkWidget* child = gtk_widget_get_first_child(control); child != nullptr;
         child = gtk_widget_get_first_child(child)) {
      GtkWidget* button = child;
      while (button != nullptr && !GTK_IS_TOGGLE_BUTTON(button)) button = gtk_widget_get_next_sibling(button);
      if (button == nullptr) continue;
      gtk_accessible_update_relation(GTK_ACCESSIBLE(button), GTK_ACCESSIBLE_RELATION_LABELLED_BY, prompt, nullptr, -1);
      if (entry != nullptr) gtk_widget_set_focus_on_click(button, FALSE);
      break;
    }
    gtk_combo_box_set_active(GTK_COMBO_BOX(control), planned.chosen);
  }
  gtk_accessible_update_relation(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_RELATION_LABELLED_BY, prompt, nullptr, -1);
  if (entry != nullptr) {
    if (entry != control)
      gtk_accessible_update_relation(GTK_ACCESSIBLE(entry), GTK_ACCESSIBLE_RELATION_LABELLED_BY, prompt, nullptr, -1);
    if (planned.chosen < 0) gtk_editable_set_text(GTK_EDITABLE(entry), planned.text.c_str());
    gtk_editable_set_width_chars(GTK_EDITABLE(entry), PromptWidth);
    // From here on, what is typed.
    g_signal_connect(entry, "changed", G_CALLBACK(OnChanged), this);
    g_signal_connect(gtk_editable_get_delegate(GTK_EDITABLE(entry)), "insert-text", G_CALLBACK(OnInsert), this);
  }
  gtk_widget_set_hexpand(control, TRUE);
  gtk_grid_attach(grid, control, 1, row, 1, 1);
  Note(control, position);
  AttachControl(state_, ControlSlot::Field, planned.field, ControlHandle(control));
  Field(planned.field).entry = entry;
  return control;
}

// A row of buttons, one group for a screen reader, named by its prompt (the
// first button's caption).
GtkWidget* WindowForm::ButtonRow(const PlannedField& planned) {
  GtkWidget* row = GTK_WIDGET(g_object_new(GTK_TYPE_BOX, "accessible-role", GTK_ACCESSIBLE_ROLE_GROUP, "orientation",
                                           GTK_ORIENTATION_HORIZONTAL, "spacing", 6, nullptr));
  gtk_accessible_update_property(GTK_ACCESSIBLE(row), GTK_ACCESSIBLE_PROPERTY_LABEL, planned.prompt.c_str(), -1);
  for (std::size_t m = 0; m < planned.entries.size(); ++m) {
    const auto entry = static_cast<std::int32_t>(m + 1);
    GtkWidget* button = Button(planned.entries[m].c_str(), {planned.field, entry});
    AttachControl(state_, ControlSlot::GroupButton, planned.firstButton + entry - 1, ControlHandle(button));
    gtk_box_append(GTK_BOX(row), button);
  }
  return row;
}

GtkWidget* WindowForm::Button(const char* caption, Position position) {
  GtkWidget* button = gtk_button_new_with_label(caption);
  g_signal_connect(button, "clicked", G_CALLBACK(OnClicked), this);
  Note(button, position);
  return button;
}

void WindowForm::Note(GtkWidget* widget, Position position) {
  positions_.push_back(position);
  g_object_set_data(G_OBJECT(widget), PositionKey, &positions_.back());
}

// The keyboard focus to the focus target that navigation and read-back leave.
void WindowForm::Focus() {
  if (GtkWidget* target = state_.controls[FocusTargetSlot].As<GtkWidget>()) gtk_widget_grab_focus(target);
}

void WindowForm::End(Showing showing) {
  result_ = showing;
  g_main_loop_quit(loop_);
}

// O.K., CTRL-ENTER, or group button `groupButton` (0 for none).
void WindowForm::Confirm(std::int32_t groupButton) {
  if (ConfirmFields(state_, groupButton, *this)) return End(Showing::Ended);
  const std::int32_t field = state_.currentField;
  const std::string text = TextOf(field);
  Refuse(field, RefusalLine(Field(field).plan.prompt, NotConvertedReason(KindOf(state_.fieldTypes[field])),
                            VisibleUtf8(state_.codePage, TextView(text.data(), text.size()))));
  Focus();
  if (GtkWidget* entry = Field(field).entry) gtk_editable_select_region(GTK_EDITABLE(entry), 0, -1);
}

// The refusal in the status row, and on the field: its state invalid, its
// description the reason, as a screen reader reads them with its name.
void WindowForm::Refuse(std::int32_t field, const std::string& line) {
  ClearRefusal();
  refused_ = field;
  gtk_label_set_text(GTK_LABEL(status_), line.c_str());
  gtk_accessible_update_property(GTK_ACCESSIBLE(status_), GTK_ACCESSIBLE_PROPERTY_LABEL, line.c_str(), -1);
  GtkWidget* control = Field(field).entry != nullptr ? Field(field).entry : Field(field).control;
  gtk_accessible_update_state(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_STATE_INVALID, GTK_ACCESSIBLE_INVALID_TRUE, -1);
  gtk_accessible_update_property(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, line.c_str(), -1);
  gtk_widget_add_css_class(control, "error");
}

void WindowForm::ClearRefusal() {
  if (refused_ == 0) return;
  GtkWidget* control = Field(refused_).entry != nullptr ? Field(refused_).entry : Field(refused_).control;
  refused_ = 0;
  gtk_label_set_text(GTK_LABEL(status_), "");
  gtk_accessible_update_property(GTK_ACCESSIBLE(status_), GTK_ACCESSIBLE_PROPERTY_LABEL, "", -1);
  gtk_accessible_update_state(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_STATE_INVALID, GTK_ACCESSIBLE_INVALID_FALSE, -1);
  gtk_accessible_update_property(GTK_ACCESSIBLE(control), GTK_ACCESSIBLE_PROPERTY_DESCRIPTION, "", -1);
  gtk_widget_remove_css_class(control, "error");
}

// Whether the focus is on a button: O.K., CANCEL or a button of a row.
bool WindowForm::OnButton() const {
  const std::int32_t current = state_.currentField;
  return current > state_.fieldCount ||
         (current >= 1 && KindOf(state_.fieldTypes[current]).shape == ItemShape::ButtonGroup);
}

// The field's text in the form's code page.
std::string WindowForm::TextOf(std::int32_t field) const {
  const FieldWidgets& widgets = Field(field);
  if (widgets.entry == nullptr) return {};
  return FieldTextFromWindow(state_, field, widgets.plan.text, gtk_editable_get_text(GTK_EDITABLE(widgets.entry)));
}

std::int32_t WindowForm::ChosenEntry(std::int32_t field) {
  GtkWidget* control = Field(field).control;
  return GTK_IS_COMBO_BOX(control) ? gtk_combo_box_get_active(GTK_COMBO_BOX(control)) : -1;
}

std::int32_t WindowForm::ReadText(std::int32_t field, Record& scratch) {
  const std::string text = TextOf(field);
  const auto length = static_cast<std::int32_t>(std::min<std::size_t>(text.size(), Record::length - 1));
  AssignText(scratch.Range(1, std::max(length, 1)), TextView(text.data(), static_cast<std::size_t>(length)));
  scratch.Set(length + 1, Nul);
  return length;
}

gboolean WindowForm::OnKey(GtkEventControllerKey*, guint key, guint, GdkModifierType modifiers, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  // The open list of a combo box takes its own keys.
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(form.window_));
  if (focus != nullptr && gtk_widget_get_ancestor(focus, GTK_TYPE_POPOVER) != nullptr) return FALSE;
  const bool ctrl = (modifiers & GDK_CONTROL_MASK) != 0;
  const bool alt = (modifiers & GDK_ALT_MASK) != 0;
  const bool shift = (modifiers & GDK_SHIFT_MASK) != 0;
  std::uint32_t command = 0;
  switch (key) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      if (ctrl) command = CmdConfirm;
      else if (!form.OnButton()) command = CmdNextField;  // a button takes ENTER as a press
      break;
    case GDK_KEY_Tab: command = shift ? CmdPreviousField : CmdNextField; break;
    case GDK_KEY_ISO_Left_Tab: command = CmdPreviousField; break;
    case GDK_KEY_BackSpace:
      if (IsCtrlBackspaceKey(BackspaceKey, ctrl, alt)) command = CmdPreviousField;
      break;
    case GDK_KEY_Escape: command = CmdCancel; break;
    case GDK_KEY_F4: {  // as ALT-DOWN: the list of the focused field
      const std::int32_t field = form.state_.currentField;
      if (field < 1 || field > form.state_.fieldCount || !GTK_IS_COMBO_BOX(form.Field(field).control)) return FALSE;
      gtk_combo_box_popup(GTK_COMBO_BOX(form.Field(field).control));
      return TRUE;
    }
    default: break;
  }
  const CommandMeaning meaning = MeaningOf(command);
  switch (meaning.act) {
    case CommandMeaning::Act::None: return FALSE;
    case CommandMeaning::Act::Confirm: form.Confirm(0); break;
    case CommandMeaning::Act::Cancel:
      form.state_.confirmed = false;
      form.End(Showing::Ended);
      break;
    case CommandMeaning::Act::NextField:
      StepToNextField(form.state_);
      form.Focus();
      break;
    case CommandMeaning::Act::PreviousField:
      StepToPreviousField(form.state_);
      form.Focus();
      break;
  }
  return TRUE;
}

void WindowForm::OnClicked(GtkButton* button, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  const auto* position = static_cast<const Position*>(g_object_get_data(G_OBJECT(button), PositionKey));
  const std::int32_t count = form.state_.fieldCount;
  if (position->current == count + 2) {
    form.state_.confirmed = false;
    return form.End(Showing::Ended);
  }
  form.Confirm(position->current == count + 1 ? 0 : form.state_.groupStart[position->current] + position->groupEntry);
}

// Wherever the focus went (a click, a list closing), the form stands
// there: the keys move on from it.
void WindowForm::OnFocusMoved(GObject*, GParamSpec*, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  FormState& state = form.state_;
  const Position* position = PositionOf(gtk_window_get_focus(GTK_WINDOW(form.window_)));
  if (position == nullptr) return;
  state.currentField = position->current;
  state.groupPosition = position->groupEntry;
  if (position->current > state.fieldCount)
    state.controls[FocusTargetSlot] =
        state.controls[position->current == state.fieldCount + 1 ? OkButtonSlot : CancelButtonSlot];
  else if (position->groupEntry > 0)
    state.controls[FocusTargetSlot] = state.buttons[state.groupStart[position->current] + position->groupEntry];
  else
    state.controls[FocusTargetSlot] = state.controls[position->current];
  // The refusal goes once its field is left.
  if (position->current != form.refused_) form.ClearRefusal();
}

// The refusal goes once its field is changed.
void WindowForm::OnChanged(GtkEditable*, gpointer self) { static_cast<WindowForm*>(self)->ClearRefusal(); }

// A field takes what its value can hold, and says so when it cannot take
// more.
void WindowForm::OnInsert(GtkEditable* editable, const char* text, int length, int*, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  const Position* position = PositionOf(GTK_WIDGET(editable));
  if (position == nullptr) return;
  const std::int32_t field = position->current;
  const std::string typed(text, length < 0 ? std::strlen(text) : static_cast<std::size_t>(length));
  const std::size_t now = std::strlen(gtk_editable_get_text(editable));
  const FieldWidgets& widgets = form.Field(field);
  std::string reason;
  if (VisibleUtf8(form.state_.codePage, TextView(typed.data(), typed.size())) != typed)
    reason = NotTypeableReason;
  else if (now + typed.size() > widgets.plan.maxBytes)
    reason = TooLongReason(widgets.plan.maxBytes);
  if (reason.empty()) return;
  g_signal_stop_emission_by_name(editable, "insert-text");
  form.Refuse(field, RefusalLine(widgets.plan.prompt, reason, {}));
}

// Closed from its frame: cancelled.
gboolean WindowForm::OnCloseRequest(GtkWindow*, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  form.state_.confirmed = false;
  form.End(Showing::Ended);
  return TRUE;
}

gboolean WindowForm::OnSignal(gint, GIOCondition, gpointer self) {
  auto& form = *static_cast<WindowForm*>(self);
  if (!form.call_.signalEnds(form.call_.host)) return G_SOURCE_CONTINUE;
  form.signalSource_ = 0;
  form.End(Showing::Interrupted);
  return G_SOURCE_REMOVE;
}

}  // namespace

Showing RunWindowForm(WindowCall& call) {
  WindowForm form(call);
  return form.Run();
}

}  // namespace formreel
