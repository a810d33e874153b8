// The seam between the link layer and a serial line: a POSIX tty, the
// simulated line, or a network serial server.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "link/clock.h"
#include "link/line_settings.h"

namespace zel {

class BytePort {
 public:
  virtual ~BytePort() = default;

  /// False when the port never opened or the device has gone (cable pulled).
  virtual bool IsOpen() const = 0;
  /// The clock that deadlines of this port are measured on.
  virtual Clock& GetClock() = 0;
  /// Applies the settings. With drain, bytes already written leave the wire
  /// under the old settings first (the address byte keeps its mark parity).
  virtual bool Apply(const LineSettings& settings, bool drain) = 0;
  /// Reads the settings back from the port.
  virtual LineSettings Current() = 0;
  /// Raises or drops DTR; a port without modem lines ignores it.
  virtual void SetDtr(bool raised) = 0;
  /// Discards both queues.
  virtual void Purge() = 0;
  /// Bytes received and not yet read.
  virtual std::size_t BytesWaiting() = 0;
  /// Blocks until `count` bytes are waiting or the clock reaches deadlineUs;
  /// true when they are. Never spins: a gone device returns false at once.
  virtual bool WaitForBytes(std::size_t count, int64_t deadlineUs) = 0;
  /// Takes up to maxBytes of the waiting bytes without blocking.
  virtual std::size_t Read(uint8_t* dst, std::size_t maxBytes) = 0;
  /// Queues n bytes for sending, waiting at most timeoutMs for room.
  virtual std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) = 0;
  /// Returns once the bytes written so far have left the wire, as far as the
  /// port can tell; a stuck line does not hold it for ever.
  virtual void WaitUntilSent() {}
  /// Limits the input queue; bytes beyond it are dropped, as a driver would.
  virtual void SetInputQueueBytes(std::size_t bytes) = 0;
  /// Text of the last problem worth telling the user (empty when none).
  virtual std::string LastProblem() const { return {}; }
  /// What the port could not set as asked under the present settings (a
  /// speed the adapter cannot hold, a parity the server refuses), once the
  /// answers still due have come; empty when all is as asked.
  virtual std::string LineProblem() { return {}; }
  /// How much later than the line's own pace a byte may come after the one
  /// before it: none on a local port, the network's jitter on a remote one.
  virtual int64_t DeliveryJitterUs() const { return 0; }
};

}  // namespace zel
