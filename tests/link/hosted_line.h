// A SimulatedLine run in real time by a host's thread, for test peers that
// put virtual devices behind a socket or a pseudo-terminal: bytes from the
// master reach the devices under the settings in force, and the devices'
// replies come out once their modelled time on the wire has passed.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "link/clock.h"
#include "sim/simulated_line.h"

namespace zel::testing {

/// Real time whose waits only note the time asked for: asking the line to
/// wait for a byte tells when its next byte arrives, without blocking.
class PeekClock final : public Clock {
 public:
  int64_t NowUs() override { return steady_.NowUs(); }
  void WaitUntilUs(int64_t deadlineUs) override { askedUs = deadlineUs; }
  int64_t askedUs = 0;

 private:
  SteadyClock steady_;
};

/// Not thread-safe: the host serialises its own thread and the test's calls.
class HostedLine {
 public:
  void Attach(std::shared_ptr<LineDevice> device) { line_.Attach(std::move(device)); }
  /// Takes effect at once, without draining, as a serial server does.
  void Apply(const LineSettings& settings) { line_.Apply(settings, false); }
  LineSettings Settings() { return line_.Current(); }
  /// Puts the master's bytes on the line, one after another, from now.
  void Write(const uint8_t* bytes, std::size_t n);
  void Purge() { line_.Purge(); }
  /// Device bytes whose time has come, in order.
  std::vector<uint8_t> TakeDue();
  /// Steady time of the next device byte, or of nowUs + idleUs if that is sooner.
  int64_t NextWakeUs(int64_t idleUs);
  int64_t NowUs() { return clock_.NowUs(); }
  const std::vector<SimulatedLine::SentByte>& Sent() const { return line_.Sent(); }
  SimulatedLine& Line() { return line_; }

 private:
  PeekClock clock_;
  SimulatedLine line_{clock_};
};

}  // namespace zel::testing
