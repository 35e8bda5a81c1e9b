// The form entry call: one descriptor string in, the user's answers out.
#pragma once

#include <cstdint>
#include <span>

#include "forms/state.h"

// Shows the form that `descriptor` describes (its first `length`
// characters, which may count its closing NUL) as a window owned by `owner`,
// runs the modal loop until the form ends and returns true when it was
// confirmed. Only then are the first fieldCount entries of `selections` and
// `values` rewritten with the answers; otherwise the caller's arrays and text
// buffers keep what they held. A descriptor that cannot be shown (malformed,
// beyond the limits, or with more fields than the arrays hold) and a form
// window that cannot be created give false at once. While a form is open
// anywhere in the process (a call from a timer or window procedure that the
// form's loop dispatches, or from another thread), a further call returns
// false at once: it shows nothing and touches neither the open form nor its
// own arrays and buffers.
bool FormEntry(InstanceHandle& instance, WindowHandle& owner, const char* descriptor,
               std::int32_t length, std::span<std::int8_t> selections,
               std::span<ValueSlot> values);

// Registers "FORM_ENTRY" on the first call of the process (a failed
// registration is not retried) and creates the form window, storing it in
// `formWindow`. Returns 1, or 0 when this call's registration failed.
std::int32_t CreateFormWindow(InstanceHandle& instance, WindowHandle& owner,
                              WindowHandle& formWindow);

// The modal loop: dispatches every message of the thread, turning the five
// form keys into commands sent to `formWindow`, until the quit message.
void RunFormLoop(InstanceHandle& instance, WindowHandle& formWindow);
