#include "link/link.h"

#include <algorithm>
#include <utility>

#include "link/frames.h"

namespace zel {
namespace {

constexpr int kPrefixedAttempts = 5;
constexpr int kPrefixedEchoMs = 100;
constexpr int kGenericEchoMs = 500;
constexpr int kRepeatEchoMs = 20;
// A device that keeps answering 0x00 must not hold the line for ever.
constexpr int kRepeatLimit = 64;
// Longest slice of a wait without looking at window events.
constexpr int64_t kEventSliceUs = 5'000;
// Requests up to this long (an address byte, a frame) are on the wire by the
// time their echo can come; longer ones (a data block) are drained first.
constexpr std::size_t kUndrainedRequestBytes = 16;

int64_t MsToUs(int ms) {
  return static_cast<int64_t>(ms) * 1000;
}

}  // namespace

Link::Link() = default;

void Link::SetPort(std::shared_ptr<BytePort> port) {
  port_ = std::move(port);
}

Clock& Link::GetClock() {
  return port_ ? port_->GetClock() : fallbackClock_;
}

void Link::ApplySettings() {
  if (port_) port_->Apply(settings_, false);
}

void Link::LinkDelay(int ms) {
  Clock& clock = GetClock();
  clock.WaitUntilUs(clock.NowUs() + MsToUs(ms + 1) + 1);
}

std::size_t Link::BytesInQueue() {
  return PortValid() ? port_->BytesWaiting() : 0;
}

// The original's writes return at the wire rate, so its budgets count from
// the last byte; ours return once the kernel has queued the bytes.
void Link::DrainBeforeReply() {
  if (std::exchange(bytesSinceReplyWait_, 0) > kUndrainedRequestBytes) port_->WaitUntilSent();
}

bool Link::WaitForBytes(std::size_t count, int timeoutMs) {
  if (!PortValid()) return false;
  DrainBeforeReply();
  if (port_->BytesWaiting() >= count) return true;
  Clock& clock = GetClock();
  const int64_t deadline = clock.NowUs() + MsToUs(timeoutMs) + 1;
  while (true) {
    // Events run while the device is still answering, not once its answer
    // is in: a repaint then delays nothing.
    Pump(clock.NowUs());
    const int64_t now = clock.NowUs();
    if (now >= deadline) return port_->BytesWaiting() >= count;
    if (port_->WaitForBytes(count, std::min(deadline, now + kEventSliceUs))) return true;
    if (port_->BytesWaiting() >= count) return true;
    if (!PortValid()) return false;
  }
}

// An event batch costs tens of microseconds even when nothing is pending; at
// 115200 baud a wait for an echo lasts about as long, so not every wait runs one.
void Link::Pump(int64_t nowUs) {
  if (!pump_ || (lastPumpUs_ != kNeverPumped && nowUs - lastPumpUs_ < kEventSliceUs)) return;
  lastPumpUs_ = nowUs;
  pump_();
}

bool Link::ReadWithTimeout(std::span<uint8_t> dst, std::size_t count, int idleMs,
                           std::size_t* got) {
  count = std::min(count, dst.size());
  if (PortValid()) DrainBeforeReply();
  std::size_t have = 0;
  Clock& clock = GetClock();
  int64_t lastUs = clock.NowUs();
  while (have < count && PortValid()) {
    if (port_->BytesWaiting() > 0) {
      have += port_->Read(dst.data() + have, count - have);
      lastUs = clock.NowUs();
      continue;
    }
    const int64_t deadline = lastUs + MsToUs(idleMs) + 1;
    if (clock.NowUs() >= deadline) break;
    port_->WaitForBytes(1, deadline);
  }
  if (got) *got = have;
  return have == count;
}

void Link::PortWrite(std::span<const uint8_t> bytes) {
  if (!PortValid() || bytes.empty()) return;
  const int timeoutMs = timeouts_.writeTotalPerByteMs * static_cast<int>(bytes.size()) +
                        timeouts_.writeTotalConstantMs;
  bytesSinceReplyWait_ += port_->Write(bytes.data(), bytes.size(), timeoutMs);
}

// A byte counts as the end of a burst once the line has been silent for the
// read interval after it; at 9600 baud a byte itself lasts more than 1 ms, so
// the interval is measured from the end of the next byte's slot, plus what
// the port's delivery may add.
int64_t Link::InterByteGapUs() const {
  return MsToUs(timeouts_.readIntervalMs) + settings_.ByteTimeUs() + port_->DeliveryJitterUs();
}

std::size_t Link::PortRead(std::span<uint8_t> dst) {
  if (!PortValid() || dst.empty()) return 0;
  DrainBeforeReply();
  Clock& clock = GetClock();
  const int64_t totalDeadline =
      clock.NowUs() + MsToUs(timeouts_.readTotalPerByteMs * static_cast<int>(dst.size()) +
                             timeouts_.readTotalConstantMs);
  std::size_t have = 0;
  while (have < dst.size() && PortValid()) {
    if (port_->BytesWaiting() > 0) {
      have += port_->Read(dst.data() + have, dst.size() - have);
      continue;
    }
    const int64_t deadline =
        have == 0 ? totalDeadline : std::min(totalDeadline, clock.NowUs() + InterByteGapUs());
    if (clock.NowUs() >= deadline || !port_->WaitForBytes(1, deadline)) break;
  }
  return have;
}

void Link::Purge() {
  if (PortValid()) port_->Purge();
}

void Link::SetParity(Parity parity, bool reRead) {
  if (!port_) return;
  if (reRead && port_->IsOpen()) settings_ = port_->Current();
  settings_.parity = parity;
  port_->Apply(settings_, true);
}

bool Link::EchoMatches(uint8_t address, int echoTimeoutMs, bool timeoutFails) {
  if (!WaitForBytes(1, echoTimeoutMs) && timeoutFails) return false;
  uint8_t echo = 0;
  return PortRead(std::span(&echo, 1)) == 1 && echo == address;
}

bool Link::RepeatUntilEcho(uint8_t address) {
  for (int i = 0; i < kRepeatLimit; ++i) {
    PortWrite(std::span(&address, 1));
    if (!WaitForBytes(1, kRepeatEchoMs)) return false;
    uint8_t echo = 0;
    if (PortRead(std::span(&echo, 1)) != 1) return false;
    if (echo != 0x00) return echo == address;
  }
  return false;
}

bool Link::SelectDevice(uint8_t address, int echoTimeoutMs, EchoRule rule, bool reRead) {
  if (!PortValid()) return false;
  Purge();
  SetParity(Parity::Mark, reRead);
  bool ok = true;
  switch (rule) {
    case EchoRule::Compare:
    case EchoRule::CompareStrict:
      PortWrite(std::span(&address, 1));
      ok = EchoMatches(address, echoTimeoutMs, rule == EchoRule::CompareStrict);
      break;
    case EchoRule::Accept: {
      PortWrite(std::span(&address, 1));
      WaitForBytes(1, echoTimeoutMs);
      uint8_t echo = 0;
      PortRead(std::span(&echo, 1));
      break;
    }
    case EchoRule::Repeat:
      ok = RepeatUntilEcho(address);
      break;
    case EchoRule::AnyByte: {
      PortWrite(std::span(&address, 1));
      uint8_t echo = 0;
      ok = ReadWithTimeout(std::span(&echo, 1), 1, kGenericEchoMs);
      break;
    }
  }
  SetParity(Parity::Space, reRead);
  return ok;
}

bool Link::TryPrefixedOnce(uint8_t command, uint16_t param1, uint16_t param2) {
  Purge();
  const auto frame = PrefixedFrame(addresses_.zhrmAddress, command, param1, param2);
  PortWrite(frame);
  if (!WaitForBytes(1, kPrefixedEchoMs)) return false;
  uint8_t echo = 0;
  return PortRead(std::span(&echo, 1)) == 1 && echo == frame[9];
}

bool Link::SendPrefixedCommand(uint8_t command, uint16_t param1, uint16_t param2) {
  if (!PortValid()) return false;
  for (int attempt = 0; attempt < kPrefixedAttempts; ++attempt) {
    if (TryPrefixedOnce(command, param1, param2)) return true;
    if (!PortValid()) return false;
  }
  return false;
}

bool Link::SendAddressedCommand(uint8_t command, uint16_t param, std::span<const uint8_t> data) {
  if (!PortValid()) return false;
  Purge();
  const std::vector<uint8_t> body = RecordBody(command, param, data);
  Purge();
  const uint8_t address = addresses_.ZhrmAddressByte();
  SetParity(Parity::Mark);
  PortWrite(std::span(&address, 1));
  uint8_t echo = 0;
  const bool selected = ReadWithTimeout(std::span(&echo, 1), 1, kGenericEchoMs);
  SetParity(Parity::Space);
  if (!selected) return false;
  PortWrite(body);
  uint8_t ack = 0;
  return ReadWithTimeout(std::span(&ack, 1), 1, kGenericEchoMs) && ack == body.back();
}

bool Link::SendRegisterLockFrame(uint8_t arg) {
  if (!PortValid()) return false;
  Purge();
  LinkDelay(1);
  const std::array<uint8_t, kRegisterLockPreambleBytes> preamble = {
      kRegisterLockPreambleByte, kRegisterLockPreambleByte, kRegisterLockPreambleByte,
      kRegisterLockPreambleByte, kRegisterLockPreambleByte, kRegisterLockPreambleByte};
  PortWrite(preamble);
  LinkDelay(6);
  const auto frame = RegisterLockFrame(arg, addresses_.kkmAddress);
  PortWrite(frame);
  LinkDelay(8);
  uint8_t echo = 0;
  return PortRead(std::span(&echo, 1)) == 1 && echo == frame[6];
}

}  // namespace zel
