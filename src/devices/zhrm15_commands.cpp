#include "devices/zhrm15_commands.h"

#include <algorithm>
#include <array>

#include "devices/zhrm15_record.h"
#include "link/frames.h"

namespace zel {
namespace {

constexpr int kBlockReplyWaitMs = 300;
constexpr int kWriteReplyWaitMs = 300;
constexpr int kAccountingWaitMs = 200;
constexpr int kBeforeBlockDataMs = 10;
constexpr int kBeforeResetReplyMs = 1;
// The block read takes whatever is waiting, up to this, before it checks the count.
constexpr std::size_t kBlockReadLimit = 200;
constexpr std::size_t kStatusReplyBytes = 3;
constexpr uint8_t kStatusOk = 1;

uint16_t BlockFirstRecord(uint16_t block) {
  return static_cast<uint16_t>(block * kZhrm15RecordsPerBlock);
}

bool ChecksumAt(std::span<const uint8_t> bytes, std::size_t at) {
  const uint16_t check = Checksum16(bytes.first(at));
  return bytes[at] == (check & 0xFF) && bytes[at + 1] == (check >> 8);
}

// Reads a 3-byte status reply; a reply that never arrived is a failure, not
// the status left in the buffer by an earlier exchange.
bool StatusReplyOk(Link& link, std::span<uint8_t> dst) {
  std::fill(dst.begin(), dst.end(), 0);
  const std::size_t got = link.PortRead(dst.first(kStatusReplyBytes));
  return got >= 1 && dst[0] == kStatusOk;
}

}  // namespace

bool Zhrm15ReadBlock(Link& link, uint16_t block) {
  link.Purge();
  if (!link.SendPrefixedCommand(kZhrm15ReadBlockCode, BlockFirstRecord(block), 0)) return false;
  if (!link.WaitForBytes(kZhrm15BlockReplyBytes, kBlockReplyWaitMs)) return false;
  auto& main = link.Buffers().main;
  const std::size_t got = link.PortRead(std::span(main).first(kBlockReadLimit));
  return got == kZhrm15BlockReplyBytes && ChecksumAt(main, kZhrm15BlockReplyBytes - 2);
}

// The block is sent from a copy and the status is read apart from it, so a
// caller that retries sends the same records again.
bool Zhrm15WriteBlock(Link& link, uint16_t block) {
  auto& main = link.Buffers().main;
  const uint16_t check = Checksum16(std::span(main).first(kZhrm15BlockBytes));
  main[kZhrm15BlockBytes] = static_cast<uint8_t>(check & 0xFF);
  main[kZhrm15BlockBytes + 1] = static_cast<uint8_t>(check >> 8);
  std::array<uint8_t, kZhrm15BlockWriteBytes> data;
  std::copy_n(main.begin(), data.size(), data.begin());

  link.Purge();
  if (!link.SendPrefixedCommand(kZhrm15WriteBlockCode, BlockFirstRecord(block), 0)) return false;
  link.LinkDelay(kBeforeBlockDataMs);
  link.Purge();
  for (const uint8_t& b : data) link.PortWrite(std::span(&b, 1));
  if (!link.WaitForBytes(kStatusReplyBytes, kWriteReplyWaitMs)) return false;
  std::array<uint8_t, kStatusReplyBytes> reply{};
  return link.PortRead(reply) == kStatusReplyBytes && reply[0] == kStatusOk;
}

bool Zhrm15ReadAccounting(Link& link, uint16_t record, uint16_t count) {
  auto& reply = link.Buffers().accounting;
  const std::size_t size = 4 * static_cast<std::size_t>(count) + 3;
  if (count == 0 || size > reply.size()) return false;
  link.Purge();
  if (!link.SendPrefixedCommand(kZhrm15ReadAccountingCode, record, count)) return false;
  if (!link.WaitForBytes(size, kAccountingWaitMs)) return false;
  const std::size_t got = link.PortRead(std::span(reply).first(size));
  return got == size && ChecksumAt(reply, size - 2);
}

bool Zhrm15ResetAccounting(Link& link, uint16_t record, uint16_t count) {
  link.Purge();
  if (!link.SendPrefixedCommand(kZhrm15ResetAccountingCode, record, count)) return false;
  link.LinkDelay(kBeforeResetReplyMs);
  return StatusReplyOk(link, link.Buffers().accounting);
}

bool Zhrm15RequestLastBarcode(Link& link) {
  link.Purge();
  return link.SendPrefixedCommand(kZhrm15LastBarcodeCode, 0, 0);
}

bool LockRegister(Link& link) {
  return link.SendRegisterLockFrame(0);
}

bool UnlockRegister(Link& link) {
  return link.SendRegisterLockFrame(1);
}

}  // namespace zel
