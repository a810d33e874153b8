// The 16-byte last-barcode answer of ЖРМ 1.5, 1.5в and 2.0.
//
//   offset width
//    0     12   barcode, ASCII digits right-aligned
//   12      1   unused
//   13      1   start index s: the barcode is at s..11; above 11 = none
//   14      2   Checksum16 of bytes 0..13, low byte first
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/device_driver.h"

namespace zel {

inline constexpr std::size_t kBarcodeAnswer16Bytes = 16;
inline constexpr std::size_t kBarcodeAnswer16IndexOffset = 13;
inline constexpr std::size_t kBarcodeAnswer16CheckOffset = 14;

/// Checks one answer and takes its barcode. False when the check word is
/// wrong or the barcode characters are neither all digits nor all 0x00 (no
/// barcode yet); `out` is then unchanged.
bool DecodeBarcodeAnswer16(std::span<const uint8_t, kBarcodeAnswer16Bytes> answer,
                           LastBarcode& out);

}  // namespace zel
