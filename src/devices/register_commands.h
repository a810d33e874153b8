// The commands of the cash register ЗЕЛ-7Ф on the shared line. The address
// byte is 0xFF - kkmAddressLow; every wait that times out ends the command
// (T1 for the address echo, T2 for the acknowledgement, T3 for the data
// reply). A data reply is a status byte S (not tested), the data and
// C = Checksum8 over S and the data. Each command returns false on any
// failure; nothing throws and nothing is shown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link.h"

namespace zel {

/// Command codes of the addressed body.
enum RegisterCommand : uint8_t {
  kRegisterWriteRecordCode = 1,
  kRegisterReadRecordCode = 2,
  kRegisterWriteMemoryCode = 3,
  kRegisterReadMemoryCode = 4,
  kRegisterReadBarcodeCode = 6,
};

/// Data bytes of the replies (without S and C).
inline constexpr std::size_t kRegisterAccountingBytes = 4;
inline constexpr std::size_t kRegisterBarcodeChars = 12;

/// Reads record `record` into main-buffer bytes 0..31.
bool RegisterReadRecord(Link& link, uint16_t record);

/// Writes record `record` from main-buffer bytes 0..31, which stay intact
/// for a retry. The record goes one byte per write after a 5 ms pause.
bool RegisterWriteRecord(Link& link, uint16_t record);

/// Reads the accounting value of `record` into main-buffer bytes 0..3.
bool RegisterReadAccounting(Link& link, uint16_t record);

/// Writes zeros into the accounting value of `record`.
bool RegisterResetAccounting(Link& link, uint16_t record);

/// Reads the last scanned barcode: twelve characters into main-buffer
/// bytes 0..11.
bool RegisterReadLastBarcode(Link& link);

}  // namespace zel
