#include "devices/zhrm3_exchange.h"

#include "link/frames.h"

namespace zel {

bool SendZhrm3Body(Link& link, std::span<const uint8_t> body, AddressPhase phase, AckWait ack) {
  if (body.empty()) return false;
  if (!link.SelectDevice(link.Addresses().ZhrmAddressByte(), phase.echoTimeoutMs, phase.rule,
                         phase.reRead)) {
    return false;
  }
  link.PortWrite(body);
  if (!link.WaitForBytes(1, ack.timeoutMs) && ack.timeoutFails) return false;
  uint8_t echo = 0;
  const bool got = link.PortRead(std::span(&echo, 1)) == 1;
  if (!ack.compared) return true;
  return got && echo == body.back();
}

// A short read fails here rather than checking a checksum over bytes that
// are left in the buffer from an earlier exchange.
bool ReadZhrm3Reply(Link& link, std::span<uint8_t> dst, int waitMs, bool timeoutFails) {
  if (dst.empty()) return false;
  if (!link.WaitForBytes(dst.size(), waitMs) && timeoutFails) return false;
  if (link.PortRead(dst) != dst.size()) return false;
  return dst.back() == Checksum8(dst.first(dst.size() - 1));
}

}  // namespace zel
