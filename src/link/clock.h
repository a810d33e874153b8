// Time for the link layer: the real steady clock, or the virtual clock of the
// simulated line, on which a 5 x 100 ms retry costs no real time.
#pragma once

#include <cstdint>

namespace zel {

class Clock {
 public:
  virtual ~Clock() = default;
  /// Monotonic time in microseconds.
  virtual int64_t NowUs() = 0;
  /// Returns once NowUs() >= deadlineUs, as exactly as the clock can.
  virtual void WaitUntilUs(int64_t deadlineUs) = 0;
  /// Returns once NowUs() >= deadlineUs, or a little later: for waits that
  /// need no precision, such as bytes on their way, and cost no CPU.
  virtual void SleepUntilUs(int64_t deadlineUs) { WaitUntilUs(deadlineUs); }
};

/// CLOCK_MONOTONIC. Sleeps for most of a wait and spins only for the last
/// fraction of a millisecond, so short device delays are neither rounded up
/// to a coarse timer nor paid for with a busy core.
class SteadyClock final : public Clock {
 public:
  int64_t NowUs() override;
  void WaitUntilUs(int64_t deadlineUs) override;
  void SleepUntilUs(int64_t deadlineUs) override;
};

/// Time that moves only when somebody waits: waiting jumps to the deadline.
class VirtualClock final : public Clock {
 public:
  int64_t NowUs() override { return nowUs_; }
  void WaitUntilUs(int64_t deadlineUs) override {
    if (deadlineUs > nowUs_) nowUs_ = deadlineUs;
  }
  void AdvanceUs(int64_t us) { nowUs_ += us; }

 private:
  int64_t nowUs_ = 1'000'000;
};

}  // namespace zel
