// The steps every ЖРМ 3 family command is made of: the address phase, the
// body in one write with its acknowledgement, and a reply closed by
// Checksum8. The commands differ only in their time-outs and in which
// waits may time out without ending the command ("ignored" waits).
#pragma once

#include <cstdint>
#include <span>

#include "link/link.h"

namespace zel {

struct AddressPhase {
  int echoTimeoutMs;  ///< unused by the repeat rule, which waits 20 ms per byte
  EchoRule rule;
  bool reRead;  ///< read the port's settings back before each parity change
};

struct AckWait {
  int timeoutMs;
  bool timeoutFails;  ///< false: after the wait, take whatever has arrived
  bool compared = true;
};

/// Address phase, then the body in one write and its echoed checksum.
/// False when the device was not selected or the acknowledgement is wrong.
bool SendZhrm3Body(Link& link, std::span<const uint8_t> body, AddressPhase phase, AckWait ack);

/// Waits up to waitMs for dst.size() bytes, reads them into dst; true when
/// all arrived and the last is Checksum8 of the others.
bool ReadZhrm3Reply(Link& link, std::span<uint8_t> dst, int waitMs, bool timeoutFails);

}  // namespace zel
