#include "interrupts.h"

#include <chrono>

namespace vorlin_py {

bool signal_raised() {
  using Clock = std::chrono::steady_clock;
  // Pages take milliseconds; checking each one would cost a GIL round trip per page.
  constexpr auto kInterval = std::chrono::milliseconds(50);
  thread_local Clock::time_point last_check{};
  const Clock::time_point now = Clock::now();
  if (now - last_check < kInterval) return false;
  last_check = now;
  // Reentrant: a no-op when this thread already holds the GIL.
  const PyGILState_STATE state = PyGILState_Ensure();
  const bool raised = PyErr_CheckSignals() != 0;
  PyGILState_Release(state);
  return raised;
}

}  // namespace vorlin_py
