// Frame layouts and checksums of the wire protocol, as pure functions.
//
// Prefixed frame (ЖРМ 1.5 family), 10 bytes:
//   F1 addr-hi F2 addr-lo cmd p1-lo p1-hi p2-lo p2-hi Checksum8(bytes 4..8)
// Addressed body (after the mark-parity address byte), L + 2 bytes:
//   L cmd args... Checksum8(bytes 0..L)      L = 1 + number of args
// Register-lock frame (after six F0 bytes), 7 bytes:
//   0A 06 arg 00 kkm-lo kkm-hi Checksum8(bytes 0..5)
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace zel {

inline constexpr std::size_t kPrefixedFrameBytes = 10;
inline constexpr std::size_t kRegisterLockFrameBytes = 7;
inline constexpr std::size_t kRegisterLockPreambleBytes = 6;
inline constexpr uint8_t kRegisterLockPreambleByte = 0xF0;

/// 0xFF minus the 8-bit sum of the bytes.
uint8_t Checksum8(std::span<const uint8_t> bytes);
/// 0xFFFF minus the 16-bit sum of the bytes; sent low byte first.
uint16_t Checksum16(std::span<const uint8_t> bytes);

std::array<uint8_t, kPrefixedFrameBytes> PrefixedFrame(uint16_t zhrmAddress, uint8_t command,
                                                       uint16_t param1, uint16_t param2);

/// Addressed body: length, command, args, checksum.
std::vector<uint8_t> AddressedBody(uint8_t command, std::span<const uint8_t> args);

/// Body of a record command: command, record number low byte first, data.
std::vector<uint8_t> RecordBody(uint8_t command, uint16_t record,
                                std::span<const uint8_t> data = {});

std::array<uint8_t, kRegisterLockFrameBytes> RegisterLockFrame(uint8_t arg, uint16_t kkmAddress);

}  // namespace zel
