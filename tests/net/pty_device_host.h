// Virtual devices behind a pseudo-terminal, for serial servers that open a
// tty: the server opens the slave, and a thread here reads the master, takes
// the speed and parity the server last gave the slave, feeds the bytes to a
// HostedLine and writes the devices' replies back to the master.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "hosted_line.h"
#include "link/line_settings.h"

namespace zel::testing {

/// The slave's speed and parity, read through the master. A pty clears
/// PARENB on every change of its termios but keeps CMSPAR and PARODD, so
/// mark and space are told by those two alone. A server that asks for no
/// parity may leave CMSPAR set (ser2net does); such bytes read as space.
LineSettings SlaveSettings(int masterFd);

class PtyDeviceHost {
 public:
  /// One byte as the devices got it.
  struct Arrival {
    uint8_t value = 0;
    uint32_t baud = 0;
    Parity parity = Parity::None;
    bool operator==(const Arrival&) const = default;
  };

  /// `batchUs` > 0 holds the devices' bytes and writes them at most that
  /// often, as a USB adapter's latency timer does; 0 writes each byte when due.
  explicit PtyDeviceHost(int64_t batchUs = 0);
  ~PtyDeviceHost();
  PtyDeviceHost(const PtyDeviceHost&) = delete;
  PtyDeviceHost& operator=(const PtyDeviceHost&) = delete;

  /// "/dev/pts/N"; empty when no pty could be had (Problem() says why).
  std::string SlavePath() const { return slavePath_; }
  std::string Problem() const { return problem_; }
  void Attach(std::shared_ptr<LineDevice> device);
  /// Runs `use` on the line while the host's thread keeps off it.
  void WithLine(const std::function<void(SimulatedLine&)>& use);
  /// Runs `look` while the host's thread keeps off the devices.
  void Inspect(const std::function<void()>& look);
  std::vector<Arrival> Arrivals();
  /// False when fewer than `count` bytes arrived within timeoutMs.
  bool AwaitArrivals(std::size_t count, int timeoutMs);
  /// What the far side's timing owes to this host and to the conversation.
  struct Tally {
    int64_t lateUs = 0;    ///< how much later than due it wrote the ends of replies
    int64_t turns = 0;     ///< how often bytes came from the master after an answer
    int64_t answerUs = 0;  ///< from the end of each answer to the master's next bytes
  };
  Tally Counts();
  /// The adapter pulled out: the devices stop and the pty goes away, so
  /// whoever holds the slave sees a hang-up.
  void Unplug();

 private:
  bool Open();
  void Run();
  void TakeFromMaster();
  void SendDue();

  int master_ = -1;
  int slave_ = -1;  // held open so the master never sees a hang-up
  int wakePipe_[2] = {-1, -1};
  std::string slavePath_;
  std::string problem_;
  std::atomic<bool> stop_{false};
  const int64_t batchUs_;
  int64_t lastSendUs_ = 0;
  int64_t dueUs_ = 0;  ///< when the thread means to write next
  Tally tally_;
  bool answered_ = false;  ///< the devices wrote since the master last did

  std::mutex mu_;  // the line and the arrivals; the thread holds it except in poll()
  std::condition_variable changed_;
  HostedLine line_;
  std::vector<Arrival> arrivals_;
  std::thread thread_;
};

}  // namespace zel::testing
