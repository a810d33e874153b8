// A BytePort decorator around the simulated line that spoils one byte of the
// traffic once: the Nth byte the devices send (a reply fault) or the Nth byte
// the master sends (a request fault), counted from Arm().
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "sim/simulated_line.h"

namespace zel::testing {

enum class FaultKind { None, Flip, Drop, Duplicate, Truncate, Delay, Silence };
enum class FaultSide { Reply, Request };

/// One fault: what happens to which byte. Truncate and Delay also take every
/// later byte of the same reply (up to the master's next write) or of the
/// same write; Silence drops that byte and every one after it.
struct FaultPlan {
  FaultSide side = FaultSide::Reply;
  FaultKind kind = FaultKind::None;
  std::size_t position = 0;  ///< 0-based, counted from Arm()
};

const char* FaultName(FaultKind kind);

class FaultyPort final : public BytePort {
 public:
  /// How late a delayed byte arrives: past every time-out of the link.
  static constexpr int64_t kDelayUs = 700'000;

  explicit FaultyPort(std::shared_ptr<SimulatedLine> line) : line_(std::move(line)) {}

  /// Starts counting bytes from zero and applies `plan` once.
  void Arm(const FaultPlan& plan);
  /// Flips each bit on the line, both ways, with probability `rate`
  /// (0 = off), from a generator seeded with `seed`.
  void SetBitErrorRate(double rate, uint32_t seed);
  /// Bits flipped by the noise so far.
  std::size_t BitsFlipped() const { return bitsFlipped_; }
  /// Bytes counted since Arm() in each direction.
  std::size_t RepliesCounted() const { return replies_; }
  std::size_t RequestsCounted() const { return requests_; }
  /// True once the planned byte was reached.
  bool Fired() const { return fired_; }

  bool IsOpen() const override { return line_->IsOpen(); }
  Clock& GetClock() override { return line_->GetClock(); }
  bool Apply(const LineSettings& s, bool drain) override { return line_->Apply(s, drain); }
  LineSettings Current() override { return line_->Current(); }
  void SetDtr(bool raised) override { line_->SetDtr(raised); }
  void Purge() override;
  std::size_t BytesWaiting() override;
  bool WaitForBytes(std::size_t count, int64_t deadlineUs) override;
  std::size_t Read(uint8_t* dst, std::size_t maxBytes) override;
  std::size_t Write(const uint8_t* src, std::size_t n, int timeoutMs) override;
  void WaitUntilSent() override { line_->WaitUntilSent(); }
  void SetInputQueueBytes(std::size_t bytes) override { line_->SetInputQueueBytes(bytes); }

 private:
  struct Arrival {
    uint8_t value;
    int64_t atUs;
  };
  /// Request bytes held back, sent with the settings of their write.
  struct Held {
    std::vector<uint8_t> bytes;
    LineSettings settings;
    int64_t dueUs = 0;
  };

  void Pull();
  void Take(uint8_t byte, int64_t atUs);
  void Queue(uint8_t byte, int64_t atUs);
  std::size_t ReadyBy(int64_t us) const;
  uint8_t Noise(uint8_t byte);
  void SendHeld();

  std::shared_ptr<SimulatedLine> line_;
  FaultPlan plan_;
  std::deque<Arrival> in_;  // ordered by arrival time
  std::size_t replies_ = 0;
  std::size_t requests_ = 0;
  bool fired_ = false;
  bool replyTail_ = false;  // truncating or delaying the rest of this reply
  Held held_;
  std::mt19937 noise_;
  std::bernoulli_distribution bitError_{0.0};
  std::size_t bitsFlipped_ = 0;
};

}  // namespace zel::testing
