// Protocol trace: a BytePort that passes every call through to another port
// and writes what crossed the line, for diagnosing a line that fails. It is
// put in front of a port only when tracing is asked for, so the link layer
// never knows and an untraced run pays nothing.
//
// One line per byte burst or port event, time in ms since the first line:
//      12.3 TX mark  12
//      14.0 RX mark  12
//      14.0 -- set 9600 baud, 8 data bits, parity space, 1 stop bit, DTR raised, after drain
//     114.1 -- time-out: waited 100.0 ms for 1 byte
#pragma once

#include <cstdint>
#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "link/byte_port.h"

namespace zel {

/// Where trace lines go; shared by every port opened during a run.
class TraceLog {
 public:
  /// Writes to `out`, which must outlive the log.
  explicit TraceLog(std::ostream& out) : out_(&out) {}
  /// Creates or truncates `path`; null with `error` set when that fails.
  static std::shared_ptr<TraceLog> OpenFile(const std::string& path, std::string* error);

  /// Writes one line stamped nowUs, shown as ms since the first line.
  void Line(int64_t nowUs, std::string_view kind, std::string_view text);

 private:
  TraceLog() = default;

  std::ofstream file_;
  std::ostream* out_ = nullptr;
  std::optional<int64_t> originUs_;
};

class SpyPort final : public BytePort {
 public:
  /// Traces every call on `inner` into `log`; `name` is the path for the open line.
  SpyPort(std::shared_ptr<BytePort> inner, std::shared_ptr<TraceLog> log, std::string name);
  ~SpyPort() override;
  SpyPort(const SpyPort&) = delete;
  SpyPort& operator=(const SpyPort&) = delete;

  bool IsOpen() const override { return inner_->IsOpen(); }
  Clock& GetClock() override { return inner_->GetClock(); }
  bool Apply(const LineSettings& settings, bool drain) override;
  LineSettings Current() override { return inner_->Current(); }
  void SetDtr(bool raised) override;
  void Purge() override;
  std::size_t BytesWaiting() override;
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override;
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override;
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override;
  void WaitUntilSent() override { inner_->WaitUntilSent(); }
  void SetInputQueueBytes(std::size_t bytes) override { inner_->SetInputQueueBytes(bytes); }
  std::string LastProblem() const override { return inner_->LastProblem(); }
  std::string LineProblem() override { return inner_->LineProblem(); }
  int64_t DeliveryJitterUs() const override { return inner_->DeliveryJitterUs(); }

 private:
  /// A wait that ran out; it becomes a time-out line unless bytes follow.
  struct FailedWait {
    int64_t startUs = 0;
    int64_t endUs = 0;
    std::size_t count = 0;
  };

  int64_t NowUs() { return inner_->GetClock().NowUs(); }
  /// Writes the pending received burst and time-out, then this event.
  void Event(std::string_view text);
  void Bytes(int64_t atUs, std::string_view direction, Parity parity, const uint8_t* bytes,
             std::size_t n);
  void FlushReceived();
  void FlushTimeout();
  /// Traces the port going away, or a new problem it reports.
  void CheckHealth();

  std::shared_ptr<BytePort> inner_;
  std::shared_ptr<TraceLog> log_;
  std::string name_;
  Parity parity_ = Parity::None;
  std::optional<bool> dtrRaised_;
  bool opened_ = false;
  bool wasOpen_ = false;
  std::string lastProblem_;
  std::vector<uint8_t> received_;  ///< the burst being read
  int64_t receivedAtUs_ = 0;
  Parity receivedParity_ = Parity::None;
  std::optional<FailedWait> failedWait_;
};

}  // namespace zel
