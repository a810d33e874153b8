// Raw exchanges with a virtual device: an address byte with mark parity,
// body bytes with space parity, and everything the device sent back
// within the following 300 ms of virtual time.
#pragma once

#include <initializer_list>

#include "support/addressed_line.h"

namespace zel::testing {

struct RawPart {
  Parity parity;
  Bytes bytes;
};

inline RawPart Mark(Bytes b) {
  return {Parity::Mark, std::move(b)};
}
inline RawPart Space(Bytes b) {
  return {Parity::Space, std::move(b)};
}

inline Bytes Exchange(AddressedLine& wire, std::initializer_list<RawPart> parts) {
  wire.link.Purge();
  for (const RawPart& p : parts) {
    wire.link.SetParity(p.parity);
    wire.link.PortWrite(p.bytes);
  }
  wire.clock.AdvanceUs(300'000);
  Bytes answer(wire.link.BytesInQueue());
  wire.link.PortRead(answer);
  return answer;
}

}  // namespace zel::testing
