#include "exchange/import_line.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "base/cell_rules.h"
#include "common/cp1251.h"

namespace zel {
namespace {

constexpr std::string_view kBadPrice = "Неверный формат цены";
constexpr std::string_view kBadSection = "Неверный отдел";
constexpr std::string_view kBadBarcode = "Неверный штрих-код";

std::array<std::string_view, kImportFields> SplitFields(std::string_view line) {
  std::array<std::string_view, kImportFields> fields{};
  for (auto& field : fields) {
    const std::size_t end = line.find(';');
    field = line.substr(0, end);
    line = end == std::string_view::npos ? std::string_view{} : line.substr(end + 1);
  }
  return fields;
}

std::string CommaToPoint(std::string_view text) {
  std::string out(text);
  std::replace(out.begin(), out.end(), ',', '.');
  return out;
}

bool IsImportSection(std::string_view section) {
  return section.size() == 1 && section[0] >= kImportMinSection && section[0] <= kImportMaxSection;
}

bool IsImportBarcode(std::string_view barcode) {
  return !barcode.empty() && barcode.size() <= kImportMaxBarcodeChars;
}

// Length of the UTF-8 sequence a lead byte starts; 0 for a byte that
// cannot start one.
std::size_t Utf8SequenceLength(uint8_t lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

}  // namespace

bool IsImportPrice(std::string_view price) {
  if (price.empty() || price.size() > kImportMaxPriceChars) return false;
  const std::string text = CommaToPoint(price);
  const std::size_t point = text.find('.');
  if (point == std::string::npos || point == 0) return false;
  if (text.size() - point - 1 != kImportPriceDecimals) return false;
  // Digits and a single separator: the number rule of the price cells.
  return ParsePrice(text, std::numeric_limits<int64_t>::max()).status == PriceValue::Ok;
}

ImportLine ParseImportLine(std::string_view cp1251Line) {
  const auto fields = SplitFields(cp1251Line);
  ImportLine line;
  if (!IsImportPrice(fields[1])) {
    line.error = kBadPrice;
  } else if (!IsImportSection(fields[2])) {
    line.error = kBadSection;
  } else if (!IsImportBarcode(fields[3])) {
    line.error = kBadBarcode;
  }
  line.name = Cp1251ToUtf8(fields[0]);
  line.price = Cp1251ToUtf8(CommaToPoint(fields[1]));
  line.section = Cp1251ToUtf8(fields[2]);
  line.barcode = Cp1251ToUtf8(fields[3]);
  return line;
}

bool LooksLikeUtf8(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return true;
  bool multiByte = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = Utf8SequenceLength(lead);
    if (length == 0) return false;
    const std::size_t end = std::min(i + length, bytes.size());
    for (std::size_t k = i + 1; k < end; ++k) {
      if ((static_cast<uint8_t>(bytes[k]) & 0xC0) != 0x80) return false;
    }
    multiByte = true;
    i += length;
  }
  return multiByte;
}

}  // namespace zel
