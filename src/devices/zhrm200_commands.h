// The record and accounting commands of the ЖРМ 200: a 35-byte record and
// a patient address phase (the terminal may answer the address byte with
// 0x00 while busy; the byte is sent again until it is echoed). The
// last-barcode and control-tape commands are those of ЖРМ 3 (zhrm3_commands.h).
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link.h"

namespace zel {

/// Record reply: 35 record bytes and their Checksum8.
inline constexpr std::size_t kZhrm200RecordReplyBytes = 36;
/// Write frame in the main buffer: L, command, number, record at 4..38, checksum.
inline constexpr std::size_t kZhrm200WriteFrameBytes = 40;
inline constexpr std::size_t kZhrm200WriteRecordOffset = 4;

/// Reads record `record`: on success main-buffer bytes 0..34 hold it and
/// byte 35 its checksum. False when the terminal is not selected, on a
/// wrong acknowledgement, a short reply or a checksum mismatch.
bool Zhrm200ReadRecord(Link& link, uint16_t record);

/// Writes record `record` from main-buffer bytes 4..38; bytes 0..3 and 39
/// are filled here. False unless the frame's checksum is echoed.
bool Zhrm200WriteRecord(Link& link, uint16_t record);

/// Reads the accounting value of `record` into accounting-buffer bytes
/// 0..3 (checksum at 4); the acknowledgement must arrive within 200 ms.
bool Zhrm200ReadAccounting(Link& link, uint16_t record);

/// Clears the accounting value of `record`; false unless acknowledged.
bool Zhrm200ResetAccounting(Link& link, uint16_t record);

}  // namespace zel
