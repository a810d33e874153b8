// ZEL_Base exchange files: headerless sequences of 77-byte records with the
// field layout of the base-file record (base_record.h):
//
//   offset size  field       capacity  from / to table column
//        0   35  name              34  1
//       35   11  price             10  2 (decimal point as in the table)
//       46    2  section            1  3
//       48   13  barcode           12  4
//       61   10  accounting         9  5
//       71    4  group              3  6 for "ККМ ЗЕЛ-7Ф", otherwise "0"
//       75    2  unused: written as 00 00, ignored when read
//
// A field is a length byte and `capacity` character bytes (cp1251); a text
// longer than the capacity is cut. A length byte above the capacity (a
// damaged file) reads as the capacity. A partial record at the end of a file
// is ignored.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/base_record.h"
#include "base/product_table.h"
#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kZelBaseRecordBytes = kBaseRecordBytes;
/// Group written for every device type but the cash register.
inline constexpr std::string_view kZelBaseDefaultGroup = "0";

/// Whether column 6 of `typeName` is the product group that ZEL_Base carries.
bool ZelBaseCarriesGroup(std::string_view typeName);

/// The records of table rows 1..rowCount, back to back.
std::string ExportZelBase(const ProductTable& table, int rowCount, std::string_view typeName);

/// The fields of one record; column 7 is always empty.
ProductRecord DecodeZelBaseRecord(std::span<const uint8_t, kZelBaseRecordBytes> bytes);

/// Reads at most `maxRecords` whole records from the start of `path`. False
/// with `error` set when the file cannot be opened or read.
bool ReadZelBaseFile(const std::filesystem::path& path, int maxRecords,
                     std::vector<ProductRecord>& out, std::string& error);

}  // namespace zel
