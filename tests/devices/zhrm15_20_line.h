// A link on a simulated line with a virtual clock, and views of what the
// master put on the wire. Shared by the ЖРМ 1.5 / 2.0 command and device tests.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "link/clock.h"
#include "link/link.h"
#include "sim/simulated_line.h"

namespace zel::testing {

using Bytes = std::vector<uint8_t>;

class ZhrmLine {
 public:
  explicit ZhrmLine(uint32_t baud) : line(std::make_shared<SimulatedLine>(clock)) {
    link.SetPort(line);
    link.Settings().baud = baud;
    link.ApplySettings();
  }

  Bytes SentBytes() const {
    Bytes out;
    for (const auto& s : line->Sent()) out.push_back(s.value);
    return out;
  }
  std::vector<Parity> SentParity() const {
    std::vector<Parity> out;
    for (const auto& s : line->Sent()) out.push_back(s.parity);
    return out;
  }
  /// Everything the devices send within `ms` of virtual time.
  Bytes ReadFor(int ms) {
    link.LinkDelay(ms);
    std::array<uint8_t, 256> buf{};
    const std::size_t n = link.PortRead(buf);
    return Bytes(buf.begin(), buf.begin() + n);
  }
  /// Virtual milliseconds since `startUs`.
  double MsSince(int64_t startUs) { return static_cast<double>(clock.NowUs() - startUs) / 1000.0; }

  VirtualClock clock;
  std::shared_ptr<SimulatedLine> line;
  Link link;
};

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

}  // namespace zel::testing
