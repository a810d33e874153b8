// The ЖРМ 1.5 / 1.5в command set over the prefixed frame, and the lock of the
// cash register behind such a terminal. Each command is one transaction: it
// starts by purging the port, sends the frame with up to five attempts, and
// returns false on any failure (no acknowledgement, time-out, short read,
// wrong status or checksum). Nothing throws and nothing is shown.
#pragma once

#include <cstdint>

#include "link/link.h"

namespace zel {

/// Command codes of the prefixed frame.
enum Zhrm15Command : uint8_t {
  kZhrm15ReadAccountingCode = 1,
  kZhrm15ResetAccountingCode = 2,
  kZhrm15ReadBlockCode = 3,
  kZhrm15WriteBlockCode = 4,
  kZhrm15LastBarcodeCode = 5,
};

/// Reads block `block` (records 4b..4b+3): on success the 131-byte reply is in
/// main-buffer bytes 0..130, record k at 1 + 32k. False unless exactly 131
/// bytes arrived within 300 ms and their checksum matches.
bool Zhrm15ReadBlock(Link& link, uint16_t block);

/// Writes block `block` from main-buffer bytes 0..127 (record k at 32k); the
/// checksum is stored at bytes 128..129. The records stay in the buffer for a
/// retry. False unless the device answers status 1 within 300 ms.
bool Zhrm15WriteBlock(Link& link, uint16_t block);

/// Reads `count` (1..3) accounting values from record `record`: on success
/// the reply is in the accounting buffer, the first value at bytes 1..4.
bool Zhrm15ReadAccounting(Link& link, uint16_t record, uint16_t count = 1);

/// Clears `count` accounting values from record `record`; false unless the
/// device answers status 1.
bool Zhrm15ResetAccounting(Link& link, uint16_t record, uint16_t count = 1);

/// Asks for the last scanned barcode; true on the acknowledgement. The
/// 16-byte answer follows and is read by the caller.
bool Zhrm15RequestLastBarcode(Link& link);

/// Locks the cash register behind the terminal (register-lock frame, arg 0);
/// false when the register does not echo the frame's checksum.
bool LockRegister(Link& link);
/// Releases the cash register (register-lock frame, arg 1).
bool UnlockRegister(Link& link);

}  // namespace zel
