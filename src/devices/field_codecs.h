// Field encodings shared by the device records: packed-BCD prices, the
// devices' 7-bit name characters, and the barcode forms.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace zel {

/// Price text ("1234.50", "12,30", "15") as five packed-BCD bytes P0..P4:
/// eight integer digits in P0..P3, two decimals in P4. 1234.50 is 00 00 12 34 50.
std::array<uint8_t, 5> EncodePriceBcd(std::string_view price);

/// Name characters for the device (W): cp1251 bytes translated in place.
void TranslateNameToDevice(std::span<uint8_t> cp1251);
/// Name characters from the device (R): capitals in cp1251, 0x00 as a space.
void TranslateNameFromDevice(std::span<uint8_t> bytes);

/// Indexed ASCII barcode: 12 ASCII characters right-aligned with '0' padding, and
/// the index 12 - length. Longer barcodes keep their first 12 characters; no
/// barcode gives 12 zero bytes and index 0.
struct IndexedBarcode {
  std::array<uint8_t, 12> digits{};
  uint8_t index = 0;
};
IndexedBarcode EncodeIndexedBarcode(std::string_view barcode);
/// Text of an indexed barcode: empty unless byte 0 != 0 and index <= 11.
std::string DecodeIndexedBarcode(std::span<const uint8_t> digits12, uint8_t index);

/// Packed BCD barcode (6 bytes); empty or "нет товара" gives six zero bytes.
std::array<uint8_t, 6> EncodePackedBarcode(std::string_view barcode);
/// The 12 nibbles as a decimal number without leading zeros; 0 gives "".
std::string DecodePackedBarcode(std::span<const uint8_t> bytes6);

/// Two BCD digits of a byte, e.g. 0x12 -> "12" (a nibble above 9 shows as A..F).
std::string BcdDigits(uint8_t byte);

// Helpers shared by the record codecs of every family.

/// The barcode cell means "no barcode": empty or "нет товара".
bool IsNoBarcode(std::string_view barcode);

/// Price P0..P4 as "0.00": seven integer digits (low nibble of P0, P1..P3)
/// and two decimals (P4). Leading zeros vanish.
std::string DecodePriceBcd(std::span<const uint8_t> p5);

/// UTF-8 name into a device name field: its first field.size() cp1251
/// characters, the rest 0x00, then translated by W.
void EncodeDeviceName(std::string_view utf8, std::span<uint8_t> field);
/// Device name field as UTF-8: translated by R, every byte one character,
/// trailing blanks kept.
std::string DecodeDeviceName(std::span<const uint8_t> field);

/// Thousandths as "0.000" (1500 -> "1.500").
std::string FormatThousandths(uint64_t thousandths);
/// Hundredths as "0.00" (123450 -> "1234.50").
std::string FormatCents(uint64_t cents);

/// True when the price text encodes exactly: digits with at most one "." or
/// "," followed by at most two digits, and at most maxIntegerDigits
/// significant integer digits. Empty counts as 0.00.
bool IsEncodablePrice(std::string_view price, int maxIntegerDigits);
/// True for no barcode (see IsNoBarcode) or a text of ASCII digits only:
/// what the packed BCD form can hold.
bool IsEncodableBarcode(std::string_view barcode);
/// True for no barcode or a text of printable ASCII (0x20..0x7E) only: what
/// the character forms (indexed ASCII, ЖРМ 200 plain ASCII) can hold.
bool IsAsciiBarcode(std::string_view barcode);
/// Decimal digits into a byte; empty counts as 0. False for non-digits or
/// a value above 255 (value is then 0).
bool ParseByteValue(std::string_view text, uint8_t& value);

}  // namespace zel
