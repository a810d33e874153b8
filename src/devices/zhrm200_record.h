// ЖРМ 200 product record.
//
// Product record, 35 bytes:
//   offset width
//    0     12   barcode, ASCII, padded on the left with '0'; none = twelve '0'
//   12      1   bits 0..6 section, bit 7 weighed-goods flag ("Весы", column 7)
//   13      1   product group ("Тов. группа", column 6)
//   14      4   price P1..P4, packed BCD (six integer digits, two decimals)
//   18     17   name, device characters; 12 characters written, 0x00 fill
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kZhrm200RecordBytes = 35;
/// The write area cleared before a record is filled.
inline constexpr std::size_t kZhrm200WriteAreaBytes = 128;

inline constexpr std::size_t kZhrm200BarcodeOffset = 0;
inline constexpr std::size_t kZhrm200SectionOffset = 12;
inline constexpr std::size_t kZhrm200GroupOffset = 13;
inline constexpr std::size_t kZhrm200PriceOffset = 14;
inline constexpr std::size_t kZhrm200PriceBytes = 4;
inline constexpr std::size_t kZhrm200NameOffset = 18;
inline constexpr std::size_t kZhrm200NameBytes = 17;
/// Name characters the terminal keeps of a written name.
inline constexpr std::size_t kZhrm200NameCharsWritten = 12;
/// Highest section: the top bit of its byte is the weighed-goods flag.
inline constexpr uint8_t kZhrm200MaxSection = 0x7F;

/// Fills one record from a table row; fields that do not parse are 0.
void EncodeZhrm200Record(const ProductRecord& record, std::span<uint8_t, kZhrm200RecordBytes> out);

/// Table cells of one record: barcode, section, weighed flag (column 7),
/// product group (column 6), price "0.00", name (17 characters).
ProductRecord DecodeZhrm200Record(std::span<const uint8_t, kZhrm200RecordBytes> in);

}  // namespace zel
