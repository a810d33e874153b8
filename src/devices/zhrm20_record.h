// ЖРМ 2.0 product record and accounting value.
//
// Product record, 24 bytes:
//   offset width
//    0      6   barcode, packed BCD, 12 digits; all zero = none
//    6      5   price P0..P4, packed BCD (seven integer digits used on read)
//   11      1   section
//   12     12   name, device characters, 0x00 fill
//
// Record reply, 27 bytes: status (1 = good, 2 = corrupt base), 24 record
// bytes, Checksum16 of bytes 0..24 (low first).
// Accounting value, 4 bytes: unsigned thousandths, most significant first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kZhrm20RecordBytes = 24;
/// The write area cleared before a record is filled.
inline constexpr std::size_t kZhrm20WriteAreaBytes = 28;
inline constexpr std::size_t kZhrm20RecordReplyBytes = 1 + kZhrm20RecordBytes + 2;
inline constexpr std::size_t kZhrm20AccountingBytes = 4;

inline constexpr std::size_t kZhrm20BarcodeOffset = 0;
inline constexpr std::size_t kZhrm20PriceOffset = 6;
inline constexpr std::size_t kZhrm20SectionOffset = 11;
inline constexpr std::size_t kZhrm20NameOffset = 12;
inline constexpr std::size_t kZhrm20NameBytes = 12;

/// Status byte of a record reply: the device's base holds corrupt data.
inline constexpr uint8_t kZhrm20StatusCorrupt = 2;

/// Fills one record from a table row; a section that does not parse is 0.
void EncodeZhrm20Record(const ProductRecord& record, std::span<uint8_t, kZhrm20RecordBytes> out);

/// Table cells of one record: name (12 characters, capitals, blanks kept),
/// price "0.00", section, barcode. Other cells stay empty.
ProductRecord DecodeZhrm20Record(std::span<const uint8_t, kZhrm20RecordBytes> in);

/// Accounting bytes (big-endian thousandths) as "0.000".
std::string DecodeZhrm20Accounting(std::span<const uint8_t, kZhrm20AccountingBytes> bytes);

}  // namespace zel
