// The built-in device network of `zelbase --demo`: one virtual device of
// every type on the simulated line, each holding a few hundred products,
// sales counters, control tapes and a last barcode that keeps changing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/simulated_line.h"

namespace zel {

/// One channel of the demo network as the settings file describes it.
struct DemoChannel {
  int channel;
  std::string type;
  std::string zhrmNumber;
  std::string kkmNumber;
};

/// The seven channels: 1 "ЖРМ 200", then the other six types.
const std::vector<DemoChannel>& DemoChannels();

/// Speed of the ЖРМ 3 family in the demo, so that a full read takes seconds.
inline constexpr const char* kDemoZhrm3Speed = "115200";

/// Attaches the seeded devices to `line`; the same seed gives the same bases.
void SeedDemoNetwork(SimulatedLine& line, unsigned seed = 2026);

}  // namespace zel
