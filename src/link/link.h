// The link layer: a half-duplex, addressed, master-slave exchange over one
// port. Every command of the device families is built from these primitives.
// Nothing here retries except SendPrefixedCommand and the repeat echo rule;
// every failure is a false result, never an exception or a message.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "link/addresses.h"
#include "link/byte_port.h"
#include "link/clock.h"
#include "link/line_settings.h"

namespace zel {

/// Port time-outs in milliseconds, as the port dialog sets them.
struct PortTimeouts {
  int readIntervalMs = 1;
  int readTotalPerByteMs = 3;
  int readTotalConstantMs = 20;
  int writeTotalPerByteMs = 3;
  int writeTotalConstantMs = 20;
};

/// How SelectDevice treats the device's echo of the address byte.
enum class EchoRule {
  Compare,        ///< wait, read one byte, it must equal the address
  CompareStrict,  ///< as Compare, but a wait that times out fails at once
  Accept,         ///< wait, read one byte, go on whatever arrived
  Repeat,         ///< resend while the device answers 0x00, then compare
  AnyByte,        ///< one byte within 500 ms idle, value not compared
};

/// The process-wide exchange buffers, lent to one exchange at a time.
struct ExchangeBuffers {
  std::array<uint8_t, 256> main{};       ///< request frames and data replies
  std::array<uint8_t, 16> accounting{};  ///< accounting replies
  std::array<uint8_t, 8> tape{};         ///< control-tape replies
};

class Link {
 public:
  Link();

  /// Uses `port` for every exchange; null means no valid port (all fail).
  void SetPort(std::shared_ptr<BytePort> port);
  BytePort* Port() const { return port_.get(); }
  bool PortValid() const { return port_ && port_->IsOpen(); }
  Clock& GetClock();

  /// Called while WaitForBytes waits, so the window stays responsive; at
  /// most once per event slice of the clock.
  void SetEventPump(std::function<void()> pump) {
    pump_ = std::move(pump);
    lastPumpUs_ = kNeverPumped;
  }
  const std::function<void()>& EventPump() const { return pump_; }
  /// Events have just run outside a wait (a step runner between steps):
  /// waits within the next event slice need not run them again.
  void EventsRan() { lastPumpUs_ = GetClock().NowUs(); }

  DeviceAddresses& Addresses() { return addresses_; }
  LineSettings& Settings() { return settings_; }
  PortTimeouts& Timeouts() { return timeouts_; }
  ExchangeBuffers& Buffers() { return buffers_; }

  /// Applies the held settings record to the port (no drain).
  void ApplySettings();

  // Timing and port primitives.

  /// Waits until more than ms + 1 milliseconds have passed. Processes no events.
  void LinkDelay(int ms);
  std::size_t BytesInQueue();
  /// True once `count` bytes are queued; false after more than timeoutMs.
  bool WaitForBytes(std::size_t count, int timeoutMs);
  /// Reads `count` bytes, failing after more than idleMs without a byte.
  bool ReadWithTimeout(std::span<uint8_t> dst, std::size_t count, int idleMs,
                       std::size_t* got = nullptr);
  void PortWrite(std::span<const uint8_t> bytes);
  /// One read of up to dst.size() bytes under the port's read time-outs.
  std::size_t PortRead(std::span<uint8_t> dst);
  void Purge();
  /// Sets the parity in the held record and applies it after the bytes
  /// already written have left; with reRead the port's settings are read
  /// back into the record first.
  void SetParity(Parity parity, bool reRead = false);

  // Addressing and frames.

  /// Address phase: purge, mark parity, the address byte, its echo, space.
  bool SelectDevice(uint8_t address, int echoTimeoutMs, EchoRule rule, bool reRead = false);
  /// Prefixed frame with up to five attempts; true at the first echo.
  bool SendPrefixedCommand(uint8_t command, uint16_t param1, uint16_t param2);
  /// Complete addressed request to the ЖРМ address with its acknowledgement.
  bool SendAddressedCommand(uint8_t command, uint16_t param, std::span<const uint8_t> data = {});
  /// Register-lock frame: arg 0 locks the cash register, 1 releases it.
  bool SendRegisterLockFrame(uint8_t arg);

 private:
  bool TryPrefixedOnce(uint8_t command, uint16_t param1, uint16_t param2);
  bool EchoMatches(uint8_t address, int echoTimeoutMs, bool timeoutFails);
  bool RepeatUntilEcho(uint8_t address);
  int64_t InterByteGapUs() const;
  /// Lets a long request leave the port before its reply budget starts.
  void DrainBeforeReply();
  void Pump(int64_t nowUs);

  static constexpr int64_t kNeverPumped = INT64_MIN;

  std::shared_ptr<BytePort> port_;
  SteadyClock fallbackClock_;
  std::function<void()> pump_;
  DeviceAddresses addresses_;
  LineSettings settings_;
  PortTimeouts timeouts_;
  ExchangeBuffers buffers_;
  std::size_t bytesSinceReplyWait_ = 0;
  int64_t lastPumpUs_ = kNeverPumped;
};

}  // namespace zel
