#include "sim/zhrm20_device.h"

#include <algorithm>

#include "link/frames.h"
#include "sim/zhrm15_20_replies.h"

namespace zel {
namespace {

constexpr uint8_t kStatusOk = 1;

enum : uint8_t {
  kReadAccounting = 1,
  kResetAccounting = 2,
  kReadRecord = 3,
  kWriteRecord = 4,
  kLastBarcode = 5,
  kLockRegister = 6,
  kUnlockRegister = 7
};

}  // namespace

Zhrm20Device::Zhrm20Device(uint16_t zhrmAddress)
    : address_(static_cast<uint8_t>(zhrmAddress & 0xFF)),
      records_(kRecords * kRecordBytes, 0),
      counters_(kRecords, 0) {}

std::span<uint8_t> Zhrm20Device::Record(std::size_t n) {
  if (n >= kRecords) return {};
  return std::span(records_).subspan(n * kRecordBytes, kRecordBytes);
}

void Zhrm20Device::SetAccounting(std::size_t n, uint32_t thousandths) {
  if (n < kRecords) counters_[n] = thousandths;
}

uint32_t Zhrm20Device::Accounting(std::size_t n) const {
  return n < kRecords ? counters_[n] : 0;
}

// A byte without parity cannot be told apart from noise by a terminal that
// frames nine bits; it drops any request in progress.
void Zhrm20Device::Receive(uint8_t byte, Parity parity, uint32_t baud, int64_t atUs,
                           SimulatedLine& line) {
  if (requiredBaud_ != 0 && baud != requiredBaud_) return;
  if (parity == Parity::Mark) return OnAddress(byte, atUs, line);
  if (parity != Parity::Space) {
    state_ = State::Unselected;
    return;
  }
  if (state_ == State::Unselected) return;
  if (state_ == State::Length) {
    if (byte == 0) {
      state_ = State::Unselected;
      return;
    }
    body_ = {byte};
    state_ = State::Body;
    return;
  }
  body_.push_back(byte);
  if (body_.size() == static_cast<std::size_t>(body_[0]) + 2) {
    state_ = State::Unselected;
    OnBody(atUs, line);
  }
}

void Zhrm20Device::OnAddress(uint8_t byte, int64_t atUs, SimulatedLine& line) {
  state_ = byte == address_ ? State::Length : State::Unselected;
  if (state_ == State::Length && !faults_.IsSilent()) Send({faults_.Echo(byte)}, atUs, line);
}

void Zhrm20Device::OnBody(int64_t atUs, SimulatedLine& line) {
  const auto body = std::span(body_);
  const std::size_t length = body[0];
  if (Checksum8(body.first(length + 1)) != body.back() || length < 3) return;
  const uint16_t param = static_cast<uint16_t>(body[2] | body[3] << 8);
  if (!faults_.TakeRequest()) return;
  std::vector<uint8_t> reply;
  if (!Answer(body[1], param, body.subspan(4, length - 3), reply)) return;
  if (!reply.empty()) faults_.ShapeReply(reply);
  reply.insert(reply.begin(), faults_.Echo(body.back()));
  Send(std::move(reply), atUs, line);
}

// Builds the reply of one request and applies its effect; false for a
// request the terminal does not serve (unknown command, wrong length,
// record out of range), which it leaves unacknowledged.
bool Zhrm20Device::Answer(uint8_t command, uint16_t param, std::span<const uint8_t> data,
                          std::vector<uint8_t>& reply) {
  const bool inRange = param < kRecords;
  const uint8_t status = faults_.Status(kStatusOk);
  if (command == kWriteRecord) {
    if (!inRange || data.size() != kRecordBytes) return false;
    std::copy(data.begin(), data.end(), records_.begin() + param * kRecordBytes);
    reply = sim::StatusReply(status, faults_);
    return true;
  }
  if (!data.empty()) return false;
  if (command == kReadRecord && inRange) {
    reply.reserve(1 + kRecordBytes + 2);
    reply.push_back(status);
    const auto begin = records_.begin() + param * kRecordBytes;
    reply.insert(reply.end(), begin, begin + kRecordBytes);
    sim::AppendChecksum16(reply, faults_);
  } else if (command == kReadAccounting && inRange) {
    const uint32_t v = counters_[param];
    reply = {status, static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
             static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    sim::AppendChecksum16(reply, faults_);
  } else if (command == kResetAccounting && inRange) {
    counters_[param] = 0;
    reply = sim::StatusReply(status, faults_);
  } else if (command == kLastBarcode) {
    reply = sim::BarcodeAnswer16(lastBarcode_, faults_);
  } else if (command == kLockRegister || command == kUnlockRegister) {
    registerLocked_ = command == kLockRegister;
  } else {
    return false;
  }
  return true;
}

void Zhrm20Device::Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line) {
  faults_.AddNoise(bytes);
  line.SendToMaster(bytes, atUs + faults_.Turnaround());
}

}  // namespace zel
