#include "sim/simulated_line.h"

#include <algorithm>

namespace zel {

SimulatedLine::SimulatedLine(Clock& clock) : clock_(clock) {}

void SimulatedLine::Attach(std::shared_ptr<LineDevice> device) {
  devices_.push_back(std::move(device));
}

void SimulatedLine::DetachAll() {
  devices_.clear();
}

void SimulatedLine::SendToMaster(std::span<const uint8_t> bytes, int64_t startUs) {
  if (unplugged_) return;
  const int64_t byteUs = settings_.ByteTimeUs();
  int64_t t = std::max(startUs, rxFreeUs_);
  received_ += bytes.size();
  for (uint8_t b : bytes) {
    t += byteUs;
    if (rx_.size() < queueLimit_) rx_.push_back({b, t});
  }
  rxFreeUs_ = t;
}

bool SimulatedLine::Apply(const LineSettings& settings, bool drain) {
  if (drain) clock_.SleepUntilUs(txFreeUs_);
  settings_ = settings;
  return true;
}

void SimulatedLine::Purge() {
  const int64_t now = clock_.NowUs();
  while (!rx_.empty() && rx_.front().atUs <= now) rx_.pop_front();
}

std::size_t SimulatedLine::BytesWaiting() {
  if (unplugged_) return 0;
  const int64_t now = clock_.NowUs();
  std::size_t n = 0;
  while (n < rx_.size() && rx_[n].atUs <= now) ++n;
  return n;
}

bool SimulatedLine::WaitForBytes(std::size_t count, int64_t deadlineUs) {
  if (unplugged_) return false;
  if (count == 0) return true;
  if (rx_.size() >= count && rx_[count - 1].atUs <= deadlineUs) {
    clock_.SleepUntilUs(rx_[count - 1].atUs);
    return true;
  }
  clock_.SleepUntilUs(deadlineUs);
  return false;
}

std::size_t SimulatedLine::Read(uint8_t* dst, std::size_t maxBytes) {
  if (unplugged_) return 0;
  const int64_t now = clock_.NowUs();
  std::size_t n = 0;
  while (n < maxBytes && !rx_.empty() && rx_.front().atUs <= now) {
    dst[n++] = rx_.front().value;
    rx_.pop_front();
  }
  return n;
}

// Bytes leave one after another; each reaches every device when its stop bit
// ends. Devices answer at once, so their replies are already scheduled when
// the master starts waiting for them.
std::size_t SimulatedLine::Write(const uint8_t* src, std::size_t n, int /*timeoutMs*/) {
  if (unplugged_) return 0;
  const int64_t byteUs = settings_.ByteTimeUs();
  int64_t t = std::max(clock_.NowUs(), txFreeUs_);
  for (std::size_t i = 0; i < n; ++i) {
    t += byteUs;
    sent_.push_back({src[i], settings_.parity, t});
    for (const auto& device : devices_)
      device->Receive(src[i], settings_.parity, settings_.baud, t, *this);
  }
  txFreeUs_ = t;
  return n;
}

}  // namespace zel
