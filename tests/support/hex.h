// Expected bytes typed as hex ("04 30 2E"), with zero padding spelled out,
// and the records several tests expect.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zel::testing {

inline std::string Hex(std::string_view text) {
  std::string out;
  int high = -1;
  for (char c : text) {
    if (c == ' ') continue;
    const int v = c >= '0' && c <= '9'   ? c - '0'
                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                         : -1;
    if (v < 0) throw std::invalid_argument("bad hex");
    if (high < 0) {
      high = v;
    } else {
      out += static_cast<char>(high * 16 + v);
      high = -1;
    }
  }
  return out;
}

inline std::string Zeros(std::size_t n) {
  return std::string(n, '\0');
}

// A new-file record: price "0.00", section "1", accounting "0.000",
// column 6 "1", column 7 "0", the rest empty.
inline std::string NewRecordBytes() {
  return Hex("00") + Zeros(34) +                // name, empty
         Hex("04 30 2E 30 30") + Zeros(6) +     // price "0.00"
         Hex("01 31") +                         // section "1"
         Hex("00") + Zeros(12) +                // barcode, empty
         Hex("05 30 2E 30 30 30") + Zeros(4) +  // accounting "0.000"
         Hex("01 31") + Zeros(2) +              // column 6 "1"
         Hex("01 30");                          // column 7 "0"
}

// A cleared record: as a new one but column 6 "0".
inline std::string ClearedRecordBytes() {
  return Hex("00") + Zeros(34) + Hex("04 30 2E 30 30") + Zeros(6) + Hex("01 31") + Hex("00") +
         Zeros(12) + Hex("05 30 2E 30 30 30") + Zeros(4) + Hex("01 30") + Zeros(2) + Hex("01 30");
}

// A 77-byte ZelBase-file record: name "Хлеб", price "12.50", section "3",
// barcode "460123456789", accounting "1.500", then the group field and two
// unused bytes.
inline std::string BreadRecord(std::string_view groupField) {
  return std::string("\x04\xD5\xEB\xE5\xE1") + Zeros(30) +
         "\x05"
         "12.50" +
         Zeros(5) +
         "\x01"
         "3" +
         "\x0C"
         "460123456789" +
         "\x05"
         "1.500" +
         Zeros(4) + std::string(groupField) + Zeros(2);
}

}  // namespace zel::testing
