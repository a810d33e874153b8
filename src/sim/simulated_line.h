// An in-process RS-232 line: the master's port on one side, virtual devices
// on the other. Bytes take their modelled time on the wire (10 or 11 bits at
// the configured speed), so the same code runs on a virtual clock in tests
// and on the steady clock in the demo and the benchmarks.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <span>
#include <vector>

#include "link/byte_port.h"

namespace zel {

class SimulatedLine;

/// A device on the simulated line.
class LineDevice {
 public:
  virtual ~LineDevice() = default;
  /// One byte has arrived at the device at atUs, sent with `parity` at `baud`.
  /// The device answers through line.SendToMaster.
  virtual void Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
                       SimulatedLine& line) = 0;
};

class SimulatedLine final : public BytePort {
 public:
  /// A byte the master put on the line.
  struct SentByte {
    uint8_t value;
    Parity parity;
    int64_t endUs;  ///< when its stop bit ended
  };

  explicit SimulatedLine(Clock& clock);

  void Attach(std::shared_ptr<LineDevice> device);
  void DetachAll();

  /// Queues device bytes for the master; the first starts no earlier than
  /// startUs and none overlaps bytes already on their way.
  void SendToMaster(std::span<const uint8_t> bytes, int64_t startUs);

  /// Everything the master sent, in order, with parity and time.
  const std::vector<SentByte>& Sent() const { return sent_; }
  void ClearSent() { sent_.clear(); }
  /// Bytes the devices have put on the line for the master, all told.
  std::size_t ReceivedCount() const { return received_; }
  bool Dtr() const { return dtr_; }
  /// Makes the line look unplugged: IsOpen() false, every wait fails.
  void SetUnplugged(bool unplugged) { unplugged_ = unplugged; }

  // BytePort
  bool IsOpen() const override { return !unplugged_; }
  Clock& GetClock() override { return clock_; }
  bool Apply(const LineSettings& settings, bool drain) override;
  LineSettings Current() override { return settings_; }
  void SetDtr(bool raised) override { dtr_ = raised; }
  void Purge() override;
  std::size_t BytesWaiting() override;
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override;
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override;
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override;
  void WaitUntilSent() override { clock_.SleepUntilUs(txFreeUs_); }
  void SetInputQueueBytes(std::size_t bytes) override { queueLimit_ = bytes; }

 private:
  struct Arrival {
    uint8_t value;
    int64_t atUs;
  };

  Clock& clock_;
  LineSettings settings_;
  bool dtr_ = false;
  bool unplugged_ = false;
  std::size_t queueLimit_ = 30000;
  std::size_t received_ = 0;
  int64_t txFreeUs_ = 0;
  int64_t rxFreeUs_ = 0;
  std::deque<Arrival> rx_;
  std::vector<SentByte> sent_;
  std::vector<std::shared_ptr<LineDevice>> devices_;
};

}  // namespace zel
