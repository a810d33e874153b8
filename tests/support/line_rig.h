// A link on a simulated line with a virtual clock, and views of what the
// master put on the wire.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

#include "link/clock.h"
#include "link/link.h"
#include "sim/simulated_line.h"

namespace zel::testing {

using Bytes = std::vector<uint8_t>;

inline Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

class LineRig {
 public:
  explicit LineRig(uint32_t baud = 9600) {
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
  /// The bytes sent with the given parity, in order.
  Bytes SentWith(Parity parity) const {
    Bytes out;
    for (const auto& s : line->Sent())
      if (s.parity == parity) out.push_back(s.value);
    return out;
  }
  /// Microseconds between the ends of sent bytes i and j.
  int64_t GapUs(std::size_t i, std::size_t j) const {
    return line->Sent().at(j).endUs - line->Sent().at(i).endUs;
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
  std::shared_ptr<SimulatedLine> line = std::make_shared<SimulatedLine>(clock);
  Link link;
};

/// Commands of the ЖРМ 2.0 bodies on the line (the byte after each length).
inline std::vector<uint8_t> Zhrm20Commands(const SimulatedLine& line) {
  std::vector<uint8_t> out;
  const auto& s = line.Sent();
  for (std::size_t i = 0; i + 2 < s.size(); ++i) {
    if (s[i].parity == Parity::Mark && s[i + 1].parity == Parity::Space)
      out.push_back(s[i + 2].value);
  }
  return out;
}

}  // namespace zel::testing
