#include "forms/core/front_end.h"

#include <atomic>
#include <string_view>

#include "forms/core/descriptor.h"
#include "forms/core/descriptor_check.h"

namespace formreel {

namespace {

// Held from the start of an entry call to its end, by whichever thread got
// it: formState has room for one form at a time.
std::atomic<bool> formOpen{false};

class OpenFormGuard {
 public:
  OpenFormGuard() : held_(!formOpen.exchange(true, std::memory_order_acquire)) {}
  ~OpenFormGuard() {
    if (held_) formOpen.store(false, std::memory_order_release);
  }
  OpenFormGuard(const OpenFormGuard&) = delete;
  OpenFormGuard& operator=(const OpenFormGuard&) = delete;
  bool held() const { return held_; }

 private:
  bool held_;
};

// How this thread's last entry call ended, and why one showed nothing.
thread_local FormEntryEnd lastEnd = FormEntryEnd::NotShown;
thread_local std::string lastProblem;

FormEntryEnd Ended(FormEntryEnd end, std::string problem = {}) {
  lastEnd = end;
  lastProblem = std::move(problem);
  return end;
}

}  // namespace

FormEntryEnd LastFormEntryEnd() { return lastEnd; }
std::string LastFormEntryProblem() { return lastProblem; }

FormEntryEnd EnterForm(const char* descriptor, std::int32_t length, std::span<std::int8_t> selections,
                       std::span<ValueSlot> values, const CodePage& page, FormFrontEnd& frontEnd) {
  const OpenFormGuard guard;
  if (!guard.held()) return Ended(FormEntryEnd::Busy);
  formState.codePage = page;
  const DescriptorCounts counts = NormaliseDescriptor(descriptor, length, formState.descriptor);
  if (!DescriptorProblem(formState.descriptor, counts, formState.codePage).empty())
    return Ended(FormEntryEnd::Refused);
  const auto fields = static_cast<std::size_t>(counts.fieldCount);
  if (selections.size() < fields || values.size() < fields) return Ended(FormEntryEnd::Refused);

  formState.fieldCount = counts.fieldCount;
  formState.textLineCount = counts.textLineCount;
  formState.descriptorLength = counts.descriptorLength;
  for (int k = 1; k <= counts.fieldCount; ++k) {
    formState.selections[k] = selections[static_cast<std::size_t>(k - 1)];
    formState.values[k] = values[static_cast<std::size_t>(k - 1)];
  }
  AssignText(formState.scratch.All(), std::string_view("\0", 1));
  // A form that ends without a confirmation or a cancel (closed from its
  // frame) must not report an earlier form's answer.
  formState.confirmed = false;

  switch (frontEnd.Show(formState)) {
    case Showing::NotShown: return Ended(FormEntryEnd::NotShown, frontEnd.WhyNotShown());
    case Showing::Interrupted: return Ended(FormEntryEnd::Interrupted);
    case Showing::Ended: break;
  }
  // Confirmed, and every field read back: a form ended from outside after a
  // confirmation that stopped at a bad value is no answer.
  if (!formState.confirmed || formState.readBackIncomplete) return Ended(FormEntryEnd::Cancelled);
  for (int k = 1; k <= counts.fieldCount; ++k) {
    selections[static_cast<std::size_t>(k - 1)] = formState.selections[k];
    values[static_cast<std::size_t>(k - 1)] = formState.values[k];
  }
  return Ended(FormEntryEnd::Confirmed);
}

}  // namespace formreel
