// The 13-byte last-barcode answer of ЖРМ 3, 3+ and 200.
//
//   offset width
//    0     12   barcode, ASCII digits padded on the left with '0'
//   12      1   Checksum8 of bytes 0..11
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "devices/device_driver.h"

namespace zel {

inline constexpr std::size_t kBarcodeAnswer13Bytes = 13;
inline constexpr std::size_t kBarcodeAnswer13CheckOffset = 12;

/// Checks one answer and takes its barcode without the leading '0'
/// characters (twelve '0' or twelve 0x00: no barcode). False when the check
/// byte is wrong or a character is no digit; `out` is then unchanged.
bool DecodeBarcodeAnswer13(std::span<const uint8_t, kBarcodeAnswer13Bytes> answer,
                           LastBarcode& out);

}  // namespace zel
