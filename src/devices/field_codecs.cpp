#include "devices/field_codecs.h"

#include <algorithm>

#include "common/cp1251.h"

namespace zel {
namespace {

// W: device code of the Cyrillic letter А..Я (index = cp1251 code AND 0x1F).
constexpr std::array<uint8_t, 32> kNameToDevice = {
    0x61, 0x62, 0x77, 0x67, 0x64, 0x65, 0x76, 0x7A, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70,
    0x72, 0x73, 0x74, 0x75, 0x66, 0x68, 0x63, 0x7E, 0x7B, 0x7D, 0x7F, 0x79, 0x78, 0x7C, 0x60, 0x71};

// R: cp1251 capital for the device codes 0x60..0x7F
// (Ю А Б Ц Д Е Ф Г Х И Й К Л М Н О П Я Р С Т У Ж В Ь Ы З Ш Э Щ Ч Ъ).
constexpr std::array<uint8_t, 32> kNameFromDevice = {
    0xDE, 0xC0, 0xC1, 0xD6, 0xC4, 0xC5, 0xD4, 0xC3, 0xD5, 0xC8, 0xC9, 0xCA, 0xCB, 0xCC, 0xCD, 0xCE,
    0xCF, 0xDF, 0xD0, 0xD1, 0xD2, 0xD3, 0xC6, 0xC2, 0xDC, 0xDB, 0xC7, 0xD8, 0xDD, 0xD9, 0xD7, 0xDA};

constexpr std::size_t kBarcodeDigits = 12;
constexpr std::size_t kPriceTextLimit = 20;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
bool AllDigits(std::string_view s) {
  return std::all_of(s.begin(), s.end(), IsDigit);
}

// Two characters as one BCD byte: left in the high nibble.
uint8_t PackPair(char left, char right) {
  return static_cast<uint8_t>(((left & 0x0F) << 4) | (right & 0x0F));
}

// The barcode cell as at most 12 cp1251 characters.
std::string BarcodeChars(std::string_view barcode) {
  std::string cp = Utf8ToCp1251(barcode);
  if (cp.size() > kBarcodeDigits) cp.resize(kBarcodeDigits);
  return cp;
}

}  // namespace

// The decimals are the (up to) two characters after the last separator, so a
// one-decimal text such as "12.5" still means 12.50.
std::array<uint8_t, 5> EncodePriceBcd(std::string_view price) {
  std::array<uint8_t, 5> p{};
  price = price.substr(0, kPriceTextLimit);
  std::string_view integer = price;
  if (const std::size_t sep = price.find_last_of(".,"); sep != std::string_view::npos) {
    const std::string_view decimals = price.substr(sep + 1);
    p[4] =
        PackPair(decimals.size() > 0 ? decimals[0] : '0', decimals.size() > 1 ? decimals[1] : '0');
    integer = price.substr(0, sep);
  }
  std::size_t end = integer.size();
  for (int byte = 3; byte >= 0 && end > 0; --byte) {
    const char right = integer[end - 1];
    const char left = end >= 2 ? integer[end - 2] : '0';
    p[byte] = PackPair(left, right);
    end = end >= 2 ? end - 2 : 0;
  }
  return p;
}

void TranslateNameToDevice(std::span<uint8_t> cp1251) {
  for (uint8_t& c : cp1251) {
    if (c >= 0xC0) {
      c = kNameToDevice[c & 0x1F];
    } else if (c >= 0x60 && c <= 0x7F) {
      c = static_cast<uint8_t>(c & ~0x20);
    }
  }
}

// Control bytes become blanks too: a CR or LF inside a name would break the
// line-based export and base files.
void TranslateNameFromDevice(std::span<uint8_t> bytes) {
  for (uint8_t& b : bytes) {
    if (b >= 0x60 && b <= 0x7F) {
      b = kNameFromDevice[b - 0x60];
    } else if (b < 0x20) {
      b = ' ';
    }
  }
}

IndexedBarcode EncodeIndexedBarcode(std::string_view barcode) {
  IndexedBarcode out;
  if (IsNoBarcode(barcode)) return out;
  const std::string chars = BarcodeChars(barcode);
  out.index = static_cast<uint8_t>(kBarcodeDigits - chars.size());
  std::fill(out.digits.begin(), out.digits.begin() + out.index, '0');
  std::copy(chars.begin(), chars.end(), out.digits.begin() + out.index);
  return out;
}

// Control bytes show as '?', so a damaged record cannot put line breaks into
// a cell.
std::string DecodeIndexedBarcode(std::span<const uint8_t> digits12, uint8_t index) {
  if (digits12.size() < kBarcodeDigits || digits12[0] == 0 || index >= kBarcodeDigits) return {};
  std::string cp(digits12.begin() + index, digits12.begin() + kBarcodeDigits);
  for (char& c : cp) {
    if (static_cast<uint8_t>(c) < 0x20) c = '?';
  }
  return Cp1251ToUtf8(cp);
}

std::array<uint8_t, 6> EncodePackedBarcode(std::string_view barcode) {
  std::array<uint8_t, 6> out{};
  if (IsNoBarcode(barcode)) return out;
  std::string chars = BarcodeChars(barcode);
  chars.insert(0, kBarcodeDigits - chars.size(), '0');
  for (std::size_t i = 0; i < out.size(); ++i) out[i] = PackPair(chars[2 * i], chars[2 * i + 1]);
  return out;
}

std::string DecodePackedBarcode(std::span<const uint8_t> bytes6) {
  uint64_t value = 0;
  for (std::size_t i = 0; i < 6 && i < bytes6.size(); ++i) {
    value = value * 10 + (bytes6[i] >> 4);
    value = value * 10 + (bytes6[i] & 0x0F);
  }
  return value == 0 ? std::string() : std::to_string(value);
}

std::string BcdDigits(uint8_t byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  return {kHex[byte >> 4], kHex[byte & 0x0F]};
}

bool IsNoBarcode(std::string_view barcode) {
  return barcode.empty() || barcode == "нет товара";
}

std::string DecodePriceBcd(std::span<const uint8_t> p5) {
  if (p5.size() < 5) return FormatCents(0);
  uint64_t integer = p5[0] & 0x0F;
  for (std::size_t i = 1; i <= 3; ++i) {
    integer = integer * 10 + (p5[i] >> 4);
    integer = integer * 10 + (p5[i] & 0x0F);
  }
  const uint64_t decimals = (p5[4] >> 4) * 10 + (p5[4] & 0x0F);
  return FormatCents(integer * 100 + decimals);
}

void EncodeDeviceName(std::string_view utf8, std::span<uint8_t> field) {
  const std::string cp = Utf8ToCp1251(utf8);
  const std::size_t n = std::min(cp.size(), field.size());
  std::fill(field.begin(), field.end(), 0);
  std::copy_n(cp.begin(), n, field.begin());
  TranslateNameToDevice(field);
}

std::string DecodeDeviceName(std::span<const uint8_t> field) {
  std::string cp(field.begin(), field.end());
  TranslateNameFromDevice(std::span(reinterpret_cast<uint8_t*>(cp.data()), cp.size()));
  return Cp1251ToUtf8(cp);
}

std::string FormatThousandths(uint64_t thousandths) {
  std::string frac = std::to_string(thousandths % 1000);
  frac.insert(0, 3 - frac.size(), '0');
  return std::to_string(thousandths / 1000) + "." + frac;
}

std::string FormatCents(uint64_t cents) {
  std::string frac = std::to_string(cents % 100);
  frac.insert(0, 2 - frac.size(), '0');
  return std::to_string(cents / 100) + "." + frac;
}

bool IsEncodablePrice(std::string_view price, int maxIntegerDigits) {
  if (price.size() > kPriceTextLimit) return false;
  std::string_view integer = price;
  if (const std::size_t sep = price.find_first_of(".,"); sep != std::string_view::npos) {
    const std::string_view decimals = price.substr(sep + 1);
    if (decimals.size() > 2 || !AllDigits(decimals)) return false;
    integer = price.substr(0, sep);
  }
  if (!AllDigits(integer)) return false;
  const std::size_t first = integer.find_first_not_of('0');
  const std::size_t significant = first == std::string_view::npos ? 0 : integer.size() - first;
  return significant <= static_cast<std::size_t>(std::max(maxIntegerDigits, 0));
}

bool IsEncodableBarcode(std::string_view barcode) {
  return IsNoBarcode(barcode) || AllDigits(barcode);
}

bool IsAsciiBarcode(std::string_view barcode) {
  return IsNoBarcode(barcode) ||
         std::all_of(barcode.begin(), barcode.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
}

bool ParseByteValue(std::string_view text, uint8_t& value) {
  value = 0;
  if (!AllDigits(text)) return false;
  unsigned v = 0;
  for (char c : text) {
    v = v * 10 + static_cast<unsigned>(c - '0');
    if (v > 255) return false;
  }
  value = static_cast<uint8_t>(v);
  return true;
}

}  // namespace zel
