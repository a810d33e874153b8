#include "sim/zhrm3_device.h"

#include <algorithm>
#include <array>

namespace zel {
namespace {

enum : uint8_t {
  kReadAccounting = 1,
  kResetAccounting = 2,
  kReadRecord = 3,
  kWriteRecord = 4,
  kTapeBlockInfo = 5,
  kTapeRecord = 6,
  kClearTapes = 7,
  kLastBarcode = 8
};

constexpr std::size_t kBarcodeChars = 12;
constexpr uint32_t kCounterLimit = 100'000'000;  // eight BCD digits

std::size_t CapacityOf(Zhrm3FamilyModel model) {
  switch (model) {
    case Zhrm3FamilyModel::Zhrm3:
      return 4096;
    case Zhrm3FamilyModel::Zhrm3Plus:
      return 12288;
    case Zhrm3FamilyModel::Zhrm200:
      return 11234;
  }
  return 0;
}

// The last barcode as twelve ASCII characters padded on the left with '0'.
std::vector<uint8_t> ZeroFilled(const std::string& digits) {
  const std::size_t n = std::min(digits.size(), kBarcodeChars);
  std::vector<uint8_t> out(kBarcodeChars - n, '0');
  out.insert(out.end(), digits.begin(), digits.begin() + static_cast<std::ptrdiff_t>(n));
  return out;
}

}  // namespace

Zhrm3Device::Zhrm3Device(Zhrm3FamilyModel model, uint16_t zhrmAddress)
    : capacity_(CapacityOf(model)),
      recordBytes_(model == Zhrm3FamilyModel::Zhrm200 ? 35 : 32),
      request_(static_cast<uint8_t>(zhrmAddress & 0xFF)),
      records_(capacity_ * recordBytes_, 0),
      counters_(capacity_, 0),
      tapes_(model == Zhrm3FamilyModel::Zhrm3 ? 18 : 8) {}

std::span<uint8_t> Zhrm3Device::Record(std::size_t n) {
  if (n >= capacity_) return {};
  return std::span(records_).subspan(n * recordBytes_, recordBytes_);
}

void Zhrm3Device::SetAccounting(std::size_t n, uint32_t thousandths) {
  if (n < capacity_) counters_[n] = thousandths % kCounterLimit;
}

uint32_t Zhrm3Device::Accounting(std::size_t n) const {
  return n < capacity_ ? counters_[n] : 0;
}

void Zhrm3Device::Receive(uint8_t byte, Parity parity, uint32_t /*baud*/, int64_t atUs,
                          SimulatedLine& line) {
  switch (request_.Feed(byte, parity)) {
    case sim::AddressedRequest::Step::AddressMine:
      return OnAddress(atUs, line);
    case sim::AddressedRequest::Step::Complete:
      return OnBody(atUs, line);
    default:
      return;
  }
}

void Zhrm3Device::OnAddress(int64_t atUs, SimulatedLine& line) {
  ++addressBytesSeen_;
  if (faults_.IsSilent()) return;
  if (zeroEchoes_ < 0 || zerosSent_ < zeroEchoes_) {
    zerosSent_ = std::min(zerosSent_ + 1, 1'000'000);
    return Send({0x00}, atUs, line);
  }
  zerosSent_ = 0;
  request_.Select();
  Send({faults_.Echo(request_.Address())}, atUs, line);
}

// A body with a wrong checksum, or a request the terminal does not serve
// (unknown command, wrong length, record out of range), goes unanswered.
void Zhrm3Device::OnBody(int64_t atUs, SimulatedLine& line) {
  if (!request_.ChecksumMatches()) return;
  if (!faults_.TakeRequest()) return;
  std::vector<uint8_t> reply;
  if (!Answer(reply)) return;
  faults_.ShapeReply(reply);
  reply.insert(reply.begin(), faults_.Echo(request_.Body().back()));
  Send(std::move(reply), atUs, line);
}

bool Zhrm3Device::Answer(std::vector<uint8_t>& reply) {
  switch (request_.Command()) {
    case kReadRecord:
    case kWriteRecord:
      return AnswerRecord(reply);
    case kReadAccounting:
    case kResetAccounting:
      return AnswerAccounting(reply);
    case kTapeBlockInfo:
    case kTapeRecord:
    case kClearTapes:
      return AnswerTape(reply);
    case kLastBarcode:
      if (!request_.Args().empty()) return false;
      reply = ZeroFilled(lastBarcode_);
      AppendChecksum(reply);
      return true;
    default:
      return false;
  }
}

bool Zhrm3Device::AnswerRecord(std::vector<uint8_t>& reply) {
  const auto args = request_.Args();
  const uint16_t n = request_.RecordNumber();
  if (n >= capacity_) return false;
  const auto record = Record(n);
  if (request_.Command() == kReadRecord) {
    if (args.size() != 2) return false;
    reply.assign(record.begin(), record.end());
    AppendChecksum(reply);
    return true;
  }
  if (args.size() != 2 + recordBytes_) return false;
  std::copy(args.begin() + 2, args.end(), record.begin());
  return true;
}

bool Zhrm3Device::AnswerAccounting(std::vector<uint8_t>& reply) {
  const auto args = request_.Args();
  const uint16_t n = request_.RecordNumber();
  if (args.size() != 3 || n >= capacity_) return false;
  if (request_.Command() == kResetAccounting) {
    counters_[n] = 0;
    return true;
  }
  reply.assign(4, 0);
  sim::PackBcd(counters_[n], reply);
  AppendChecksum(reply);
  return true;
}

bool Zhrm3Device::AnswerTape(std::vector<uint8_t>& reply) {
  const auto args = request_.Args();
  if (request_.Command() == kClearTapes) {
    if (!args.empty()) return false;
    tapes_.Clear();
    return true;
  }
  if (request_.Command() == kTapeBlockInfo) {
    if (args.size() != 1 || args[0] == 0) return false;
    const auto info = tapes_.BlockInfo(args[0]);
    reply.assign(info.begin(), info.end());
  } else {
    std::array<uint8_t, 5> entry{};
    if (args.size() != 4) return false;
    if (!tapes_.Purchase(args[0], static_cast<std::size_t>(args[1] | args[2] << 8), entry)) {
      return false;
    }
    reply.assign(entry.begin(), entry.end());
  }
  AppendChecksum(reply);
  return true;
}

void Zhrm3Device::AppendChecksum(std::vector<uint8_t>& reply) const {
  const uint8_t check = sim::DeviceChecksum8(reply);
  reply.push_back(static_cast<uint8_t>(faults_.Check(check)));
}

void Zhrm3Device::Send(std::vector<uint8_t> bytes, int64_t atUs, SimulatedLine& line) {
  faults_.AddNoise(bytes);
  line.SendToMaster(bytes, atUs + faults_.Turnaround());
}

}  // namespace zel
