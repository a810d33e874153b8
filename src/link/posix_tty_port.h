// A serial device through termios: a built-in port, a USB adapter or a
// pseudo-terminal. Our own backend because the link is a synchronous master
// that needs the kernel's input count, 10416 baud and mark/space parity.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/byte_port.h"
#include "link/clock.h"

struct termios2;

namespace zel {

class PosixTtyPort final : public BytePort {
 public:
  /// Opens `path` exclusively; IsOpen() tells whether it worked: not when
  /// another program holds it locked or exclusive.
  explicit PosixTtyPort(const std::string& path);
  ~PosixTtyPort() override;
  PosixTtyPort(const PosixTtyPort&) = delete;
  PosixTtyPort& operator=(const PosixTtyPort&) = delete;

  bool IsOpen() const override { return fd_ >= 0 && !gone_; }
  Clock& GetClock() override { return clock_; }
  bool Apply(const LineSettings& settings, bool drain) override;
  LineSettings Current() override;
  void SetDtr(bool raised) override;
  void Purge() override;
  std::size_t BytesWaiting() override;
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override;
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override;
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override;
  void WaitUntilSent() override;
  void SetInputQueueBytes(std::size_t bytes) override { queueLimit_ = bytes; }
  std::string LastProblem() const override { return problem_; }
  std::string LineProblem() override { return lineProblem_; }

 private:
  /// Moves everything the kernel holds into rx_; returns the bytes read.
  std::size_t Drain();
  /// Closes the descriptor of an open that cannot be used.
  void Refuse(const std::string& problem);
  void MarkGone(const char* what, int err);
  void SetModemLine(int line, bool raised);
  void RequestLowLatency();

  SteadyClock clock_;
  std::string path_;
  int fd_ = -1;
  bool gone_ = false;
  std::size_t queueLimit_ = 30000;
  std::vector<uint8_t> rx_;
  std::size_t rxHead_ = 0;
  LineSettings settings_;
  std::unique_ptr<termios2> termios_;  ///< as last set; read once, on the first Apply
  uint32_t checkedBaud_ = 0;           ///< the speed last read back from the adapter
  std::optional<bool> rts_;            ///< RTS as last asked
  int64_t emptiedUs_ = -1;  ///< when a read last found the kernel's queue empty, or a request left
  std::string problem_;
  std::string lineProblem_;
  int64_t txFreeUs_ = 0;  ///< when the bytes written so far leave at the line's pace
};

}  // namespace zel
