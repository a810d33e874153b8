// Product record of the cash register ЗЕЛ-7Ф.
//
// Product record, 32 bytes:
//   offset width
//    0      6   barcode, packed BCD, 12 digits; none = six 0x00
//    6      1   constant 1
//    7     16   name, cp1251 unchanged, padded with spaces
//   23      1   reserved, 0x00
//   24      3   price, integer part: six packed-BCD digits
//   27      1   price, two decimals, packed BCD
//   28      1   section
//   29      1   product group ("Тов. группа", column 6)
//   30      2   reserved, 0x00
// A record with 0xFF in any of bytes 0..5 or 24..29 is invalid and reads as
// the product "Некорректная запись".
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kRegisterRecordBytes = 32;
/// The write area cleared before a record is filled.
inline constexpr std::size_t kRegisterWriteAreaBytes = 37;

inline constexpr std::size_t kRegisterBarcodeOffset = 0;
inline constexpr std::size_t kRegisterBarcodeBytes = 6;
inline constexpr std::size_t kRegisterConstantOffset = 6;
inline constexpr uint8_t kRegisterConstantValue = 1;
inline constexpr std::size_t kRegisterNameOffset = 7;
inline constexpr std::size_t kRegisterNameBytes = 16;
inline constexpr std::size_t kRegisterReservedOffset = 23;
inline constexpr std::size_t kRegisterPriceOffset = 24;
inline constexpr std::size_t kRegisterPriceBytes = 4;
inline constexpr std::size_t kRegisterSectionOffset = 28;
inline constexpr std::size_t kRegisterGroupOffset = 29;

inline constexpr std::string_view kInvalidRecordName = "Некорректная запись";

/// Fills one record from a table row; section and group that do not parse are 0.
void EncodeRegisterRecord(const ProductRecord& record,
                          std::span<uint8_t, kRegisterRecordBytes> out);

/// True when any of bytes 0..5 or 24..29 is 0xFF.
bool IsInvalidRegisterRecord(std::span<const uint8_t, kRegisterRecordBytes> in);

/// Table cells of one record: barcode, price "0.00", name (16 characters
/// as received), section, product group (column 6). An invalid record gives
/// an empty barcode, "0.00", "Некорректная запись", section "1", group "0".
ProductRecord DecodeRegisterRecord(std::span<const uint8_t, kRegisterRecordBytes> in);

}  // namespace zel
