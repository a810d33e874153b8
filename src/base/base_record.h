// One product in a base file: 77 bytes, seven length-prefixed cp1251 text
// fields laid end to end; the product number is the record's position
// (record i holds product i + 1). Files have no header.
//
//   offset size  field                      width  table column
//        0   35  name                          34  1
//       35   11  price, "0.00"                 10  2
//       46    2  section                        1  3
//       48   13  barcode                       12  4
//       61   10  accounting, "0.000"            9  5
//       71    4  column 6 (scales / group)      3  6
//       75    2  column 7 (ЖРМ 200 scales)      1  7
//
// Each field is a length byte (0..width) and `width` bytes, of which only
// the first `length` count. We write the unused bytes as 0x00.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

#include "common/product_record.h"

namespace zel {

inline constexpr std::size_t kBaseRecordBytes = 77;

struct BaseField {
  std::size_t offset;
  std::size_t width;  ///< characters; the field is width + 1 bytes
};

inline constexpr BaseField kBaseName{0, 34};
inline constexpr BaseField kBasePrice{35, 10};
inline constexpr BaseField kBaseSection{46, 1};
inline constexpr BaseField kBaseBarcode{48, 12};
inline constexpr BaseField kBaseAccounting{61, 9};
inline constexpr BaseField kBaseColumn6{71, 3};
inline constexpr BaseField kBaseColumn7{75, 1};

static_assert(kBaseColumn7.offset + kBaseColumn7.width + 1 == kBaseRecordBytes);

using BaseRecordBytes = std::array<uint8_t, kBaseRecordBytes>;

/// The record of a product; each text is cut to its field's width in cp1251
/// characters.
BaseRecordBytes EncodeBaseRecord(const ProductRecord& record);

/// The product of a record. A length byte larger than its field counts as
/// the field's width.
ProductRecord DecodeBaseRecord(std::span<const uint8_t, kBaseRecordBytes> bytes);

/// Every record of a newly created file: price "0.00", section "1",
/// accounting "0.000", column 6 "1", column 7 "0", the rest empty.
ProductRecord NewFileRecord();

/// A record cleared by "Очистка таблицы": as a new one, but column 6 "0".
ProductRecord ClearedRecord();

}  // namespace zel
