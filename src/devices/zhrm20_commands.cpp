#include "devices/zhrm20_commands.h"

#include <algorithm>
#include <array>

#include "devices/zhrm20_record.h"
#include "link/frames.h"

namespace zel {
namespace {

constexpr int kRecordIdleMs = 150;
constexpr int kWriteIdleMs = 500;
constexpr int kAccountingIdleMs = 200;
constexpr int kResetIdleMs = 100;
constexpr std::size_t kStatusReplyBytes = 3;
constexpr std::size_t kAccountingReplyBytes = 7;
constexpr uint8_t kStatusOk = 1;

bool ChecksumAt(std::span<const uint8_t> bytes, std::size_t at) {
  const uint16_t check = Checksum16(bytes.first(at));
  return bytes[at] == (check & 0xFF) && bytes[at + 1] == (check >> 8);
}

}  // namespace

bool Zhrm20ReadRecord(Link& link, uint16_t record, uint8_t* status) {
  if (status) *status = 0;
  if (!link.SendAddressedCommand(kZhrm20ReadRecordCode, record)) return false;
  auto& reply = link.Buffers().main;
  std::size_t got = 0;
  const bool complete = link.ReadWithTimeout(reply, kZhrm20RecordReplyBytes, kRecordIdleMs, &got);
  if (status && got > 0) *status = reply[0];
  return complete && reply[0] == kStatusOk && ChecksumAt(reply, kZhrm20RecordReplyBytes - 2);
}

// The record goes out from a copy and the status comes back apart from it,
// so a caller that retries sends the same record again.
bool Zhrm20WriteRecord(Link& link, uint16_t record) {
  std::array<uint8_t, kZhrm20RecordBytes> data;
  std::copy_n(link.Buffers().main.begin(), data.size(), data.begin());
  if (!link.SendAddressedCommand(kZhrm20WriteRecordCode, record, data)) return false;
  std::array<uint8_t, kStatusReplyBytes> reply{};
  return link.ReadWithTimeout(reply, reply.size(), kWriteIdleMs) && reply[0] == kStatusOk;
}

// A reply that does not arrive in full is a failure, so a value left in the
// buffer by an earlier read is never taken for this record's.
bool Zhrm20ReadAccounting(Link& link, uint16_t record) {
  if (!link.SendAddressedCommand(kZhrm20ReadAccountingCode, record)) return false;
  auto& reply = link.Buffers().accounting;
  std::fill(reply.begin(), reply.end(), 0);
  const bool complete = link.ReadWithTimeout(reply, kAccountingReplyBytes, kAccountingIdleMs);
  return complete && ChecksumAt(reply, kAccountingReplyBytes - 2);
}

bool Zhrm20ResetAccounting(Link& link, uint16_t record) {
  if (!link.SendAddressedCommand(kZhrm20ResetAccountingCode, record)) return false;
  auto& reply = link.Buffers().accounting;
  std::fill(reply.begin(), reply.end(), 0);
  std::size_t got = 0;
  link.ReadWithTimeout(reply, kStatusReplyBytes, kResetIdleMs, &got);
  return got >= 1 && reply[0] == kStatusOk;
}

bool Zhrm20LockRegister(Link& link) {
  return link.SendAddressedCommand(kZhrm20LockRegisterCode, 0);
}

bool Zhrm20UnlockRegister(Link& link) {
  return link.SendAddressedCommand(kZhrm20UnlockRegisterCode, 0);
}

bool Zhrm20RequestLastBarcode(Link& link) {
  return link.SendAddressedCommand(kZhrm20LastBarcodeCode, 0);
}

}  // namespace zel
