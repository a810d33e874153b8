// The commands of ЖРМ 3 and ЖРМ 3+, and the last-barcode and control-tape
// commands that the ЖРМ 200 shares with them. All use the addressed frame
// with the low byte of zhrmAddress as address byte. Each is one transaction
// returning false on any failure; nothing throws and nothing is shown.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link.h"

namespace zel {

/// Command codes of the addressed body.
enum Zhrm3Command : uint8_t {
  kZhrm3ReadAccountingCode = 1,
  kZhrm3ResetAccountingCode = 2,
  kZhrm3ReadRecordCode = 3,
  kZhrm3WriteRecordCode = 4,
  kTapeBlockInfoCode = 5,
  kTapeRecordCode = 6,
  kClearTapeBlocksCode = 7,
  kZhrm3LastBarcodeCode = 8,
};

/// Record reply: 32 record bytes and their Checksum8.
inline constexpr std::size_t kZhrm3RecordReplyBytes = 33;
/// Write frame in the main buffer: L, command, number, record at 4..35, checksum.
inline constexpr std::size_t kZhrm3WriteFrameBytes = 37;
inline constexpr std::size_t kZhrm3WriteRecordOffset = 4;
/// Accounting reply: B0..B3 and their Checksum8.
inline constexpr std::size_t kZhrm3AccountingReplyBytes = 5;
inline constexpr std::size_t kTapeBlockInfoReplyBytes = 8;
inline constexpr std::size_t kTapeRecordReplyBytes = 6;

/// Reads record `record`: on success main-buffer bytes 0..31 hold it and
/// byte 32 its checksum. False on a wrong echo or acknowledgement, a short
/// reply or a checksum mismatch.
bool Zhrm3ReadRecord(Link& link, uint16_t record);

/// Writes record `record` from main-buffer bytes 4..35; bytes 0..3 and 36
/// are filled here, so a retry sends the same frame. False unless the
/// device echoes the address and the frame's checksum.
bool Zhrm3WriteRecord(Link& link, uint16_t record);

/// Reads the accounting value of `record` into accounting-buffer bytes
/// 0..3 (checksum at 4). False when the acknowledgement does not arrive
/// within 200 ms or anything does not match.
bool Zhrm3ReadAccounting(Link& link, uint16_t record);

/// Clears the accounting value of `record`; false unless acknowledged.
bool Zhrm3ResetAccounting(Link& link, uint16_t record);

/// Asks ЖРМ 3, 3+ or 200 for the last scanned barcode. The acknowledgement
/// is read but not compared: true whenever the port is usable. The 13-byte
/// answer follows and is read by the caller.
bool Zhrm3RequestLastBarcode(Link& link);

/// Reads the information of tape block `block` (from 1) into tape-buffer
/// bytes 0..6 (checksum at 7). The acknowledgement must arrive within
/// 500 ms and the 8 reply bytes within 150 ms.
bool ReadTapeBlockInfo(Link& link, uint8_t block);

/// Reads purchase `purchase` (from 1) of tape block `block` into
/// tape-buffer bytes 0..4 (checksum at 5); time-outs as ReadTapeBlockInfo.
bool ReadTapeRecord(Link& link, uint16_t purchase, uint8_t block);

/// Erases all tape blocks; true when the acknowledgement 0xF7 arrives
/// within 500 ms. The device then needs about a second to erase.
bool ClearTapeBlocks(Link& link);

}  // namespace zel
