// A write and a read of a long range over a line with random bit errors:
// what arrived, what was reported, and what an 8-bit checksum let through.
#pragma once

#include <cstdint>
#include <string>

namespace zel::testing {

struct NoiseFigures {
  int records = 0;
  std::size_t bitsFlipped = 0;
  bool writeReported = false;  ///< the write ended with its message
  bool readReported = false;
  int writeWrong = 0;          ///< device records neither old nor new, no message
  int readWrong = 0;           ///< table rows neither old nor as written, no message
  int writeWrongReported = 0;  ///< the same, in a run that ended with its message
  int readWrongReported = 0;
  bool settled = false;  ///< idle with the controls enabled after both
};

/// Writes `records` products to a `type` device and reads them back, each
/// over a line flipping bits with probability `bitErrorRate`.
NoiseFigures RunNoisyRoundTrip(const std::string& type, int records, double bitErrorRate,
                               uint32_t seed);

/// One line of figures for a table.
std::string FormatNoiseFigures(const std::string& type, double rate, const NoiseFigures& f);

}  // namespace zel::testing
