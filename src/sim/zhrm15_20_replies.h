// Reply pieces shared by the virtual ЖРМ 1.5 / 1.5в and ЖРМ 2.0 devices. They
// are written apart from the driver's codecs, so that a test on the line
// checks one side against the other.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/device_faults.h"

namespace zel::sim {

/// Appends 0xFFFF minus the 16-bit sum of `bytes`, low byte first (with the
/// bad-checksum fault applied).
void AppendChecksum16(std::vector<uint8_t>& bytes, const DeviceFaults& faults);

/// A status byte followed by its checksum word.
std::vector<uint8_t> StatusReply(uint8_t status, const DeviceFaults& faults);

/// The 16-byte last-barcode answer: 12 ASCII digits right-aligned with '0'
/// fill, an unused byte, the start index, the checksum word. No barcode
/// gives 12 zero bytes and index 0.
std::vector<uint8_t> BarcodeAnswer16(const std::string& barcode, const DeviceFaults& faults);

}  // namespace zel::sim
