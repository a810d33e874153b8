// One driver per device family behind one interface. The operations choose a
// driver through the device-type table and never look at bytes themselves.
// Every call is one complete transaction; false means the exchange failed
// (no echo, wrong echo, time-out, checksum) and the caller decides on retries.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/product_record.h"

namespace zel {

/// One row of the control-tape block list.
struct TapeBlockInfo {
  bool endOfList = false;   ///< D0 = D1 = 0xFF: no such block
  bool current = false;     ///< D0 = 0xFF, D1 = 0x00: the block being filled ("Текущая")
  uint16_t tapeNumber = 0;  ///< D0..D1, low byte first
  std::string date;         ///< "dd.mm.yy", empty for the current block
  uint16_t purchases = 0;   ///< D5..D6, low byte first
};

/// One purchase of a control tape.
struct TapePurchase {
  bool isReturn = false;       ///< bit 15 of E0..E1 ("Возврат"), else "Продажа"
  uint16_t productNumber = 0;  ///< record number + 1
  std::string quantity;        ///< "001.500" with up to two leading zeros removed
};

/// A barcode answer that passed its check.
struct LastBarcode {
  std::string code;         ///< the barcode text as the window shows it
  bool fullTwelve = false;  ///< all twelve digits present (16-byte answer: s = 0)
};

/// Why the last read of products failed, beyond a plain link failure.
enum class ReadFault { None, CorruptBase };

class DeviceDriver {
 public:
  virtual ~DeviceDriver() = default;

  /// Records moved by one read or write: 4 for the ЖРМ 1.5 family, else 1.
  virtual int RecordsPerStep() const = 0;

  /// Reads RecordsPerStep() records starting at device record `first`
  /// (product number - 1) into `out` (size RecordsPerStep()).
  virtual bool ReadProducts(uint16_t first, std::span<ProductRecord> out) = 0;
  /// Set by a failed ReadProducts when the device reported corrupt data.
  virtual ReadFault LastReadFault() const { return ReadFault::None; }

  /// Writes RecordsPerStep() records starting at device record `first`.
  /// The records must encode (see CheckEncodable); false is a link failure.
  virtual bool WriteProducts(uint16_t first, std::span<const ProductRecord> in) = 0;

  /// Empty when the record can be encoded for this device; otherwise the
  /// name of the first field that cannot ("Стоимость", "Штрих-код", ...).
  virtual std::string CheckEncodable(const ProductRecord& record) const = 0;

  /// Reads the sold quantity of one record as "0.000".
  virtual bool ReadAccounting(uint16_t record, std::string& quantity) = 0;
  virtual bool ResetAccounting(uint16_t record) = 0;

  /// Asks for the last scanned barcode and checks the answer.
  virtual bool ReadLastBarcode(LastBarcode& out) = 0;

  /// The cash-register lock around writes ("Блокировка ККМ"); families
  /// without it return true and send nothing.
  virtual bool LockRegister() { return true; }
  virtual bool UnlockRegister() { return true; }

  /// Control-tape blocks of the model (18 or 8); 0 for families without tapes.
  virtual int TapeBlocks() const { return 0; }
  /// Control tapes (ЖРМ 3 family); others return false and send nothing.
  virtual bool ReadTapeBlockInfo(uint8_t block, TapeBlockInfo& out) {
    (void)block, (void)out;
    return false;
  }
  virtual bool ReadTapeRecord(uint16_t purchase, uint8_t block, TapePurchase& out) {
    (void)purchase, (void)block, (void)out;
    return false;
  }
  virtual bool ClearTapeBlocks() { return false; }
};

}  // namespace zel
