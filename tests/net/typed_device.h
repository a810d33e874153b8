// A virtual device of any type at ЖРМ 0001 / ККМ 01, seen without its family.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "sim/simulated_line.h"

namespace zel::testing {

struct TypedDevice {
  std::shared_ptr<LineDevice> device;
  std::function<std::string(std::size_t)> record;  ///< record n in hex
};

/// The ЖРМ 1.5 and 2.0 devices answer only at their family's speed, so a
/// peer that does not pass the speed on fails their exchanges.
TypedDevice MakeTypedDevice(const std::string& type);

}  // namespace zel::testing
