// A whole "Запись активной базы" and "Чтение активной базы" of a few records
// through a workspace whose first COM choice is the given path.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "link/port_setup.h"

namespace zel::testing {

/// Records of the range: one block of a ЖРМ 1.5, a few exchanges elsewhere.
inline constexpr int kRoundTripRecords = 4;

struct RoundTrip {
  bool portOpened = false;
  std::string portProblem;           ///< after both operations
  std::vector<std::string> records;  ///< the device's in hex, after the write
  std::vector<std::string> rows;     ///< table rows after the read
  std::vector<std::string> shown;    ///< every box of both operations
  std::string baseFile;              ///< after the read
};

/// Fills rows 1..kRoundTripRecords, writes them to a `type` device, blanks
/// their names and reads them back. `records` returns the device's records
/// 0..kRoundTripRecords-1 in hex.
RoundTrip WriteThenRead(const std::string& type, PortOpener opener, const std::string& path,
                        const std::function<std::vector<std::string>()>& records);

}  // namespace zel::testing
