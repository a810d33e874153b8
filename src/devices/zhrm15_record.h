// ЖРМ 1.5 / 1.5в product record and accounting value.
//
// Product record, 32 bytes:
//   offset width
//    0     12   barcode, ASCII digits right-aligned with '0' fill; 00.. = none
//   12      1   weighed-goods flag (ЖРМ 1.5в; always 0 on ЖРМ 1.5)
//   13      1   barcode index: 12 - barcode length
//   14      5   price P0..P4, packed BCD (seven integer digits used on read)
//   19     12   name, device characters, 0x00 fill
//   31      1   section
//
// Block of four records (record k at 32k):
//   read reply  131 bytes: status, 128 record bytes, Checksum16 (low first)
//   write data  130 bytes: 128 record bytes, Checksum16 (low first)
//
// Accounting value, 4 bytes A0..A3 packed BCD, least significant byte first:
//   digits A3hi A3lo A2hi A2lo A1hi . A1lo A0hi A0lo (thousandths).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kZhrm15RecordBytes = 32;
inline constexpr std::size_t kZhrm15RecordsPerBlock = 4;
inline constexpr std::size_t kZhrm15BlockBytes = kZhrm15RecordBytes * kZhrm15RecordsPerBlock;
inline constexpr std::size_t kZhrm15BlockReplyBytes = 1 + kZhrm15BlockBytes + 2;
inline constexpr std::size_t kZhrm15BlockWriteBytes = kZhrm15BlockBytes + 2;
inline constexpr std::size_t kZhrm15AccountingBytes = 4;

inline constexpr std::size_t kZhrm15BarcodeOffset = 0;
inline constexpr std::size_t kZhrm15WeighedOffset = 12;
inline constexpr std::size_t kZhrm15IndexOffset = 13;
inline constexpr std::size_t kZhrm15PriceOffset = 14;
inline constexpr std::size_t kZhrm15NameOffset = 19;
inline constexpr std::size_t kZhrm15NameBytes = 12;
inline constexpr std::size_t kZhrm15SectionOffset = 31;

/// The two models of the family differ only in the weighed-goods byte.
enum class Zhrm15Model {
  Plain,    ///< "ЖРМ 1.5": the byte is written 0 and read as "0"
  Weighed,  ///< "ЖРМ 1.5в": the byte carries column 6
};

/// Fills one record from a table row. Fields that do not parse (see
/// CheckEncodable of the driver) are written as 0.
void EncodeZhrm15Record(const ProductRecord& record, Zhrm15Model model,
                        std::span<uint8_t, kZhrm15RecordBytes> out);

/// Table cells of one record: name (12 characters, capitals, blanks kept),
/// price "0.00", section, barcode, column 6. Accounting and column 7 stay empty.
ProductRecord DecodeZhrm15Record(std::span<const uint8_t, kZhrm15RecordBytes> in,
                                 Zhrm15Model model);

/// Accounting bytes A0..A3 as "0.000".
std::string DecodeZhrm15Accounting(std::span<const uint8_t, kZhrm15AccountingBytes> bytes);

}  // namespace zel
