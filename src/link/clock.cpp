#include "link/clock.h"

#include <sys/prctl.h>

#include <ctime>

namespace zel {
namespace {

// A sleep wakes up late by the kernel's timer slack (50 us by default); the
// rest of the wait is spun so that the deadline is met to a few microseconds.
constexpr int64_t kSpinUs = 200;

// The kernel may delay a sleeping thread's wake-up by its timer slack to
// batch wake-ups; 50 us on every wait for an echo adds up at 115200 baud.
bool TightenTimerSlack() {
  return prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL) == 0;
}

}  // namespace

int64_t SteadyClock::NowUs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

void SteadyClock::SleepUntilUs(int64_t deadlineUs) {
  [[maybe_unused]] static thread_local const bool tight = TightenTimerSlack();
  if (deadlineUs <= NowUs()) return;
  timespec ts{};
  ts.tv_sec = deadlineUs / 1'000'000;
  ts.tv_nsec = (deadlineUs % 1'000'000) * 1000;
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) != 0) {
  }
}

void SteadyClock::WaitUntilUs(int64_t deadlineUs) {
  SleepUntilUs(deadlineUs - kSpinUs);
  while (NowUs() < deadlineUs) {
  }
}

}  // namespace zel
