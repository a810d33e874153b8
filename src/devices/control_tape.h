// Control-tape replies of the ЖРМ 3 family.
//
// Block information, 7 bytes D0..D6 (+ Checksum8 on the wire):
//   D0..D1  tape number, low byte first; FF FF = no such block (end of the
//           list), FF 00 = the block being filled now ("Текущая")
//   D2..D4  date the tape was closed, packed BCD: day, month, year
//   D5..D6  number of purchases in the block, low byte first
// Purchase record, 5 bytes E0..E4 (+ Checksum8 on the wire):
//   E0..E1  high byte first: bit 15 return, bits 0..14 product record number
//   E2..E4  quantity, packed BCD: three integer digits, three decimals
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "devices/device_driver.h"

namespace zel {

inline constexpr std::size_t kTapeBlockInfoBytes = 7;
inline constexpr std::size_t kTapePurchaseBytes = 5;
/// Blocks of the control tape by model.
inline constexpr uint8_t kZhrm3TapeBlocks = 18;
inline constexpr uint8_t kZhrm3PlusTapeBlocks = 8;
inline constexpr uint8_t kZhrm200TapeBlocks = 8;

inline constexpr std::string_view kCurrentTapeCaption = "Текущая";

/// One row of the block list; the date is "dd.mm.yy" and empty for the
/// current block and the end mark.
TapeBlockInfo DecodeTapeBlockInfo(std::span<const uint8_t, kTapeBlockInfoBytes> d);

/// One purchase: return flag, product number (record + 1), quantity text.
TapePurchase DecodeTapePurchase(std::span<const uint8_t, kTapePurchaseBytes> e);

/// The quantity digits "III.DDD" with up to two leading '0' removed
/// (001.500 -> "1.500", 000.250 -> "0.250").
std::string TapeQuantityText(std::span<const uint8_t, 3> bcd);

}  // namespace zel
