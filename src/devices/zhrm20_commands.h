// The ЖРМ 2.0 command set over the addressed frame: the address byte with
// mark parity, the body with space parity, the checksum echoed as the
// acknowledgement, then the command's reply. Each command is one transaction
// returning false on any failure; nothing throws and nothing is shown.
#pragma once

#include <cstdint>

#include "link/link.h"

namespace zel {

/// Command codes of the addressed body.
enum Zhrm20Command : uint8_t {
  kZhrm20ReadAccountingCode = 1,
  kZhrm20ResetAccountingCode = 2,
  kZhrm20ReadRecordCode = 3,
  kZhrm20WriteRecordCode = 4,
  kZhrm20LastBarcodeCode = 5,
  kZhrm20LockRegisterCode = 6,
  kZhrm20UnlockRegisterCode = 7,
};

/// Reads record `record`: on success the 27-byte reply is in main-buffer
/// bytes 0..26, the record at 1..24. False unless 27 bytes arrived (150 ms
/// idle limit), status 1 and checksum good. `status`, when given, receives
/// the first reply byte (2: the device's base holds corrupt data), or 0 when
/// no reply byte arrived.
bool Zhrm20ReadRecord(Link& link, uint16_t record, uint8_t* status = nullptr);

/// Writes record `record` from main-buffer bytes 0..23, which stay intact
/// for a retry. False unless the device answers 3 bytes with status 1.
bool Zhrm20WriteRecord(Link& link, uint16_t record);

/// Reads the accounting value of `record`: on success the 7-byte reply is in
/// the accounting buffer, the value (big-endian thousandths) at bytes 1..4.
bool Zhrm20ReadAccounting(Link& link, uint16_t record);

/// Clears the accounting value of `record`; false unless status 1 arrives
/// within 100 ms.
bool Zhrm20ResetAccounting(Link& link, uint16_t record);

/// Tells the terminal to lock its cash register; true on the acknowledgement.
bool Zhrm20LockRegister(Link& link);
/// Tells the terminal to release its cash register.
bool Zhrm20UnlockRegister(Link& link);

/// Asks for the last scanned barcode; true on the acknowledgement. The
/// 16-byte answer follows and is read by the caller.
bool Zhrm20RequestLastBarcode(Link& link);

}  // namespace zel
