#include "sim/zhrm15_device.h"

#include <algorithm>

#include "link/frames.h"
#include "sim/zhrm15_20_replies.h"

namespace zel {
namespace {

// A pause this long ends a half-received frame; the terminal waits afresh.
constexpr int64_t kFrameGapUs = 50'000;
constexpr std::size_t kFrameBytes = 8;  // address hi/lo, command, p1, p2, checksum
constexpr std::size_t kBlockRecords = 4;
constexpr std::size_t kBlockDataBytes = kBlockRecords * Zhrm15Device::kRecordBytes + 2;
constexpr std::size_t kLockFrameBytes = 7;
constexpr int kPreambleBytes = 6;
constexpr uint16_t kMaxAccountingCount = 64;
constexpr uint8_t kStatusOk = 1;
constexpr uint8_t kStatusBadData = 0;
constexpr uint32_t kAccountingModulo = 100'000'000;

enum : uint8_t {
  kReadAccounting = 1,
  kResetAccounting = 2,
  kReadBlock = 3,
  kWriteBlock = 4,
  kLastBarcode = 5
};

// Eight decimal digits, least significant pair first.
void AppendBcdAccounting(std::vector<uint8_t>& out, uint32_t thousandths) {
  uint32_t v = thousandths % kAccountingModulo;
  for (int i = 0; i < 4; ++i, v /= 100) {
    out.push_back(static_cast<uint8_t>(((v / 10) % 10) << 4 | (v % 10)));
  }
}

uint16_t Word(uint8_t low, uint8_t high) {
  return static_cast<uint16_t>(low | high << 8);
}

}  // namespace

Zhrm15Device::Zhrm15Device(uint16_t zhrmAddress, uint16_t kkmAddress)
    : zhrmAddress_(zhrmAddress),
      kkmAddress_(kkmAddress),
      records_(kRecords * kRecordBytes, 0),
      counters_(kRecords, 0) {}

std::span<uint8_t> Zhrm15Device::Record(std::size_t n) {
  if (n >= kRecords) return {};
  return std::span(records_).subspan(n * kRecordBytes, kRecordBytes);
}

void Zhrm15Device::SetAccounting(std::size_t n, uint32_t thousandths) {
  if (n < kRecords) counters_[n] = thousandths % kAccountingModulo;
}

uint32_t Zhrm15Device::Accounting(std::size_t n) const {
  return n < kRecords ? counters_[n] : 0;
}

void Zhrm15Device::Receive(uint8_t byte, Parity /*parity*/, uint32_t baud, int64_t atUs,
                           SimulatedLine& line) {
  if (requiredBaud_ != 0 && baud != requiredBaud_) return;
  if (state_ != State::Idle && atUs - lastByteUs_ > kFrameGapUs) state_ = State::Idle;
  lastByteUs_ = atUs;
  switch (state_) {
    case State::Idle:
      Restart(byte);
      break;
    case State::AddressHigh:
      frame_ = {byte};
      state_ = State::Marker;
      break;
    case State::Marker:
      if (byte == 0xF2) {
        state_ = State::AddressLow;
      } else {
        Restart(byte);
      }
      break;
    case State::AddressLow:
      frame_.push_back(byte);
      state_ = State::Command;
      break;
    case State::Command:
      Collect(byte, kFrameBytes, atUs, line);
      break;
    case State::BlockData:
      Collect(byte, kBlockDataBytes, atUs, line);
      break;
    case State::Preamble:
      if (byte == kRegisterLockPreambleByte) {
        ++preambleBytes_;
      } else if (preambleBytes_ >= kPreambleBytes) {
        frame_ = {byte};
        state_ = State::LockFrame;
      } else {
        Restart(byte);
      }
      break;
    case State::LockFrame:
      Collect(byte, kLockFrameBytes, atUs, line);
      break;
  }
}

void Zhrm15Device::Restart(uint8_t byte) {
  state_ = State::Idle;
  if (byte == 0xF1) state_ = State::AddressHigh;
  if (byte == kRegisterLockPreambleByte) {
    state_ = State::Preamble;
    preambleBytes_ = 1;
  }
}

void Zhrm15Device::Collect(uint8_t byte, std::size_t size, int64_t atUs, SimulatedLine& line) {
  frame_.push_back(byte);
  if (frame_.size() < size) return;
  const State done = state_;
  state_ = State::Idle;
  if (done == State::Command) OnFrame(atUs, line);
  if (done == State::BlockData) OnBlockData(atUs, line);
  if (done == State::LockFrame) OnLockFrame(atUs, line);
}

void Zhrm15Device::OnFrame(int64_t atUs, SimulatedLine& line) {
  const auto f = std::span(frame_);
  if (Word(f[1], f[0]) != zhrmAddress_ || Checksum8(f.subspan(2, 5)) != f[7]) return;
  if (!faults_.TakeRequest()) return;
  const uint8_t command = f[2];
  const uint16_t first = Word(f[3], f[4]);
  const uint16_t count = Word(f[5], f[6]);
  const std::vector<uint8_t> ack = {faults_.Echo(f[7])};
  const bool blockOk = first % kBlockRecords == 0 && first + kBlockRecords <= kRecords;
  const bool rangeOk = count >= 1 && count <= kMaxAccountingCount && first + count <= kRecords;
  if (command == kReadBlock && blockOk) {
    Send(ack, ReadBlockReply(first), atUs, line);
  } else if (command == kWriteBlock && blockOk) {
    blockFirst_ = first;
    frame_.clear();
    state_ = State::BlockData;
    Send(ack, {}, atUs, line);
  } else if (command == kReadAccounting && rangeOk) {
    Send(ack, AccountingReply(first, count), atUs, line);
  } else if (command == kResetAccounting && rangeOk) {
    std::fill_n(counters_.begin() + first, count, 0);
    Send(ack, sim::StatusReply(faults_.Status(kStatusOk), faults_), atUs, line);
  } else if (command == kLastBarcode) {
    Send(ack, sim::BarcodeAnswer16(lastBarcode_, faults_), atUs, line);
  }
}

// A block whose checksum does not match is refused and leaves the base as it was.
void Zhrm15Device::OnBlockData(int64_t atUs, SimulatedLine& line) {
  const std::size_t dataBytes = kBlockDataBytes - 2;
  uint16_t sum = 0;
  for (std::size_t i = 0; i < dataBytes; ++i) sum = static_cast<uint16_t>(sum + frame_[i]);
  const bool good = Word(frame_[dataBytes], frame_[dataBytes + 1]) == 0xFFFF - sum;
  if (good) {
    std::copy_n(frame_.begin(), dataBytes, records_.begin() + blockFirst_ * kRecordBytes);
  }
  const uint8_t status = good ? faults_.Status(kStatusOk) : kStatusBadData;
  Send({}, sim::StatusReply(status, faults_), atUs + faults_.StoreDelay(), line);
}

void Zhrm15Device::OnLockFrame(int64_t atUs, SimulatedLine& line) {
  const auto f = std::span(frame_);
  const bool wellFormed =
      f[0] == 0x0A && f[1] == 0x06 && f[2] <= 1 && f[3] == 0x00 && Checksum8(f.first(6)) == f[6];
  if (!wellFormed || Word(f[4], f[5]) != kkmAddress_) return;
  if (!faults_.TakeRequest()) return;
  registerLocked_ = f[2] == 0;
  Send({faults_.Echo(f[6])}, {}, atUs, line);
}

std::vector<uint8_t> Zhrm15Device::ReadBlockReply(uint16_t first) const {
  std::vector<uint8_t> reply;
  reply.reserve(1 + kBlockRecords * kRecordBytes + 2);
  reply.push_back(faults_.Status(kStatusOk));
  const auto begin = records_.begin() + first * kRecordBytes;
  reply.insert(reply.end(), begin, begin + kBlockRecords * kRecordBytes);
  sim::AppendChecksum16(reply, faults_);
  return reply;
}

std::vector<uint8_t> Zhrm15Device::AccountingReply(uint16_t first, uint16_t count) const {
  std::vector<uint8_t> reply = {faults_.Status(kStatusOk)};
  for (uint16_t i = 0; i < count; ++i) AppendBcdAccounting(reply, counters_[first + i]);
  sim::AppendChecksum16(reply, faults_);
  return reply;
}

void Zhrm15Device::Send(std::vector<uint8_t> ack, std::vector<uint8_t> reply, int64_t atUs,
                        SimulatedLine& line) {
  if (!reply.empty()) faults_.ShapeReply(reply);
  ack.insert(ack.end(), reply.begin(), reply.end());
  faults_.AddNoise(ack);
  if (!ack.empty()) line.SendToMaster(ack, atUs + faults_.Turnaround());
}

}  // namespace zel
