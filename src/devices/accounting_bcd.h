// Accounting value of one product on the ЖРМ 3 family and the cash register.
//
// 4 bytes B0..B3 of packed BCD, most significant digit first:
//   B0hi B0lo B1hi B1lo B2hi . B2lo B3hi B3lo
// five integer digits, then three decimals; shown as "0.000".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace zel {

inline constexpr std::size_t kAccountingBcdBytes = 4;

/// The four BCD bytes as "0.000" (00 00 15 00 -> "1.500").
std::string DecodeAccountingBcd(std::span<const uint8_t, kAccountingBcdBytes> bytes);

}  // namespace zel
