#include "faulty_port.h"

#include <algorithm>
#include <vector>

namespace zel::testing {

const char* FaultName(FaultKind kind) {
  switch (kind) {
    case FaultKind::None:
      return "none";
    case FaultKind::Flip:
      return "flip";
    case FaultKind::Drop:
      return "drop";
    case FaultKind::Duplicate:
      return "duplicate";
    case FaultKind::Truncate:
      return "truncate";
    case FaultKind::Delay:
      return "delay";
    case FaultKind::Silence:
      return "silence";
  }
  return "?";
}

void FaultyPort::Arm(const FaultPlan& plan) {
  Pull();
  held_.bytes.clear();
  plan_ = plan;
  replies_ = requests_ = 0;
  fired_ = replyTail_ = false;
}

void FaultyPort::SetBitErrorRate(double rate, uint32_t seed) {
  noise_.seed(seed);
  bitError_ = std::bernoulli_distribution(rate);
}

uint8_t FaultyPort::Noise(uint8_t byte) {
  if (bitError_.p() <= 0.0) return byte;
  for (int bit = 0; bit < 8; ++bit) {
    if (!bitError_(noise_)) continue;
    byte ^= static_cast<uint8_t>(1u << bit);
    ++bitsFlipped_;
  }
  return byte;
}

void FaultyPort::Queue(uint8_t byte, int64_t atUs) {
  auto at = std::upper_bound(in_.begin(), in_.end(), atUs,
                             [](int64_t t, const Arrival& a) { return t < a.atUs; });
  in_.insert(at, {byte, atUs});
}

// Bytes are counted as they leave the line, which is when they arrived.
void FaultyPort::Take(uint8_t byte, int64_t atUs) {
  byte = Noise(byte);
  const bool hit = plan_.side == FaultSide::Reply && plan_.kind != FaultKind::None && !fired_ &&
                   replies_ == plan_.position;
  ++replies_;
  if (hit) {
    fired_ = true;
    replyTail_ = plan_.kind == FaultKind::Truncate || plan_.kind == FaultKind::Delay;
    if (plan_.kind == FaultKind::Flip) byte ^= 0x10;
    if (plan_.kind == FaultKind::Duplicate) Queue(byte, atUs);
    if (plan_.kind == FaultKind::Drop) return;
  }
  if (fired_ && plan_.kind == FaultKind::Silence) return;
  if (replyTail_ && plan_.kind == FaultKind::Truncate) return;
  if (replyTail_ && plan_.kind == FaultKind::Delay) atUs += kDelayUs;
  Queue(byte, atUs);
}

void FaultyPort::Pull() {
  const int64_t now = line_->GetClock().NowUs();
  uint8_t buf[256];
  while (std::size_t n = line_->Read(buf, sizeof buf)) {
    for (std::size_t i = 0; i < n; ++i) Take(buf[i], now);
  }
}

std::size_t FaultyPort::ReadyBy(int64_t us) const {
  std::size_t n = 0;
  while (n < in_.size() && in_[n].atUs <= us) ++n;
  return n;
}

void FaultyPort::Purge() {
  Pull();
  const int64_t now = line_->GetClock().NowUs();
  while (!in_.empty() && in_.front().atUs <= now) in_.pop_front();
  line_->Purge();
}

std::size_t FaultyPort::BytesWaiting() {
  Pull();
  return ReadyBy(line_->GetClock().NowUs());
}

// A held write reaches the line late, and always before the master's next
// write: a stale request the device meets at the start of the next attempt.
void FaultyPort::SendHeld() {
  if (held_.bytes.empty()) return;
  const LineSettings now = line_->Current();
  line_->Apply(held_.settings, false);
  line_->Write(held_.bytes.data(), held_.bytes.size(), 0);
  line_->Apply(now, false);
  held_.bytes.clear();
}

bool FaultyPort::WaitForBytes(std::size_t count, int64_t deadlineUs) {
  Clock& clock = line_->GetClock();
  for (;;) {
    Pull();
    if (ReadyBy(deadlineUs) >= count) {
      if (count > 0) clock.WaitUntilUs(in_[count - 1].atUs);
      return true;
    }
    const bool holding = !held_.bytes.empty() && held_.dueUs <= deadlineUs;
    // A byte still on its way may come within the deadline.
    if (!line_->WaitForBytes(1, holding ? held_.dueUs : deadlineUs)) {
      if (holding) {
        SendHeld();
        continue;
      }
      Pull();
      return ReadyBy(clock.NowUs()) >= count;
    }
  }
}

std::size_t FaultyPort::Read(uint8_t* dst, std::size_t maxBytes) {
  Pull();
  const int64_t now = line_->GetClock().NowUs();
  std::size_t n = 0;
  while (n < maxBytes && !in_.empty() && in_.front().atUs <= now) {
    dst[n++] = in_.front().value;
    in_.pop_front();
  }
  return n;
}

std::size_t FaultyPort::Write(const uint8_t* src, std::size_t n, int timeoutMs) {
  Pull();
  SendHeld();
  replyTail_ = false;
  std::vector<uint8_t> out;
  for (std::size_t i = 0; i < n; ++i) {
    const bool hit = plan_.side == FaultSide::Request && plan_.kind != FaultKind::None && !fired_ &&
                     requests_ == plan_.position;
    ++requests_;
    if (!hit) {
      out.push_back(Noise(src[i]));
      continue;
    }
    fired_ = true;
    if (plan_.kind == FaultKind::Flip) out.push_back(static_cast<uint8_t>(src[i] ^ 0x10));
    if (plan_.kind == FaultKind::Duplicate) out.insert(out.end(), 2, src[i]);
    if (plan_.kind == FaultKind::Truncate) break;
    if (plan_.kind == FaultKind::Delay) {
      held_ = {std::vector<uint8_t>(src + i, src + n), line_->Current(),
               line_->GetClock().NowUs() + kDelayUs};
      break;
    }
  }
  if (!out.empty()) line_->Write(out.data(), out.size(), timeoutMs);
  return n;
}

}  // namespace zel::testing
