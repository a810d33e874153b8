// ЖРМ 3 / 3+ product record.
//
// Product record, 32 bytes:
//   offset width
//    0     12   barcode, ASCII digits right-aligned with '0' fill; none = 0x00
//   12      1   weighed-goods flag ("Весы", column 6)
//   13      1   barcode index, 12 - length (written, not read back)
//   14      5   price P0..P4, packed BCD (seven integer digits, two decimals)
//   19     12   name, device characters, 0x00 fill
//   31      1   section
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kZhrm3RecordBytes = 32;
/// The write area cleared before a record is filled.
inline constexpr std::size_t kZhrm3WriteAreaBytes = 128;

inline constexpr std::size_t kZhrm3BarcodeOffset = 0;
inline constexpr std::size_t kZhrm3WeighedOffset = 12;
inline constexpr std::size_t kZhrm3IndexOffset = 13;
inline constexpr std::size_t kZhrm3PriceOffset = 14;
inline constexpr std::size_t kZhrm3NameOffset = 19;
inline constexpr std::size_t kZhrm3NameBytes = 12;
inline constexpr std::size_t kZhrm3SectionOffset = 31;

/// Fills one record from a table row; a section that does not parse is 0.
void EncodeZhrm3Record(const ProductRecord& record, std::span<uint8_t, kZhrm3RecordBytes> out);

/// Table cells of one record: barcode, weighed flag (column 6), price
/// "0.00", name (12 characters, capitals, blanks kept), section.
ProductRecord DecodeZhrm3Record(std::span<const uint8_t, kZhrm3RecordBytes> in);

/// Twelve barcode characters padded on the left with '0': empty when the
/// second byte is 0x00 or all are '0', otherwise from the first character
/// that is not '0' on. Used by the ЖРМ 3 family records and barcode answer.
std::string DecodeZeroFilledBarcode(std::span<const uint8_t> chars12);

}  // namespace zel
