// The form entry call (FormEntry, declared in the public header) and its two
// steps: the form window and the modal loop.
#pragma once

#include <cstdint>
#include <span>

#include "formreel/forms.h"
#include "forms/state.h"

// Registers "FORM_ENTRY" on the first call of the process (a failed
// registration is not retried) and creates the form window, storing it in
// `formWindow`. Returns 1, or 0 when this call's registration failed.
std::int32_t CreateFormWindow(InstanceHandle& instance, WindowHandle& owner,
                              WindowHandle& formWindow);

// The modal loop: dispatches every message of the thread, turning the five
// form keys into commands sent to `formWindow`, until the quit message.
// Returns the quit message's exit code.
int RunFormLoop(InstanceHandle& instance, WindowHandle& formWindow);
