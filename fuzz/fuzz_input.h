// Fixed-size views of fuzz input: a record decoder takes exactly N bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace zel::fuzz {

/// The first N bytes of the input, or false when it is shorter.
template <std::size_t N>
bool Take(const uint8_t* data, std::size_t size, std::span<const uint8_t, N>& out) {
  if (size < N) return false;
  out = std::span<const uint8_t, N>(data, N);
  return true;
}

}  // namespace zel::fuzz
