#include "base/cell_rules.h"

#include "base/device_types.h"

namespace zel {
namespace {

constexpr int kMaxIntegerDigits = 12;  // far above any price limit

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    if (!IsDigit(c)) return false;
  }
  return true;
}

// Digits as a number, saturated at 10^9.
int64_t DigitsValue(std::string_view digits) {
  int64_t v = 0;
  for (char c : digits) v = v >= 100'000'000 ? 1'000'000'000 : v * 10 + (c - '0');
  return v;
}

CellOutcome CheckPrice(ProductTable& table, int row, std::string_view typeName, Prompts& prompts) {
  const DeviceType& type = DeviceTypeTable::RulesFor(typeName);
  const PriceValue price = ParsePrice(table.Cell(row, kColPrice), type.maxPriceCents);
  if (price.status == PriceValue::NotANumber) {
    // The text cannot be read as a number: keep it for the operator to fix.
    prompts.Error("Неверный формат цены");
    return CellOutcome::NotSaved;
  }
  if (price.status == PriceValue::BadCharacters || price.tooLarge) {
    table.SetCell(row, kColPrice, "0.00");
    prompts.Message("Неверный формат цены");
    return CellOutcome::NotSaved;
  }
  table.SetCell(row, kColPrice, FormatPriceCents(price.cents));
  return CellOutcome::SaveRow;
}

CellOutcome CheckSection(ProductTable& table, int row, std::string_view typeName,
                         Prompts& prompts) {
  const DeviceType& type = DeviceTypeTable::RulesFor(typeName);
  const std::string& text = table.Cell(row, kColSection);
  if (text.size() == 1 && IsDigit(text[0]) && text[0] - '0' >= type.sectionMin &&
      text[0] - '0' <= type.sectionMax) {
    return CellOutcome::SaveRow;
  }
  table.SetCell(row, kColSection, "1");
  prompts.Information("Неверный номер отдела");
  return CellOutcome::NotSaved;
}

CellOutcome CheckBarcode(const ProductTable& table, int row, Prompts& prompts) {
  const std::string& text = table.Cell(row, kColBarcode);
  if (text.empty() || text == kNoProductText) return CellOutcome::SaveRow;
  if (table.FindOtherBarcode(text, row) == 0) return CellOutcome::SaveRow;
  prompts.Information("Товар с данным ШК уже существует.");
  return CellOutcome::NotSaved;
}

CellOutcome CheckColumn6(ProductTable& table, int row, std::string_view typeName,
                         Prompts& prompts) {
  const std::string& text = table.Cell(row, kCol6);
  const Column6Rule rule = DeviceTypeTable::RulesFor(typeName).column6;
  if (!AllDigits(text) || (rule == Column6Rule::ProductGroup && DigitsValue(text) > 100)) {
    table.SetCell(row, kCol6, "0");
    prompts.Information("Неверный номер товарной группы");
  } else if (rule == Column6Rule::ScalesFlag && DigitsValue(text) > 1) {
    table.SetCell(row, kCol6, "0");
    prompts.Information("Неверный признак работы с весами");
  }
  return CellOutcome::SaveRow;
}

CellOutcome CheckColumn7(ProductTable& table, int row) {
  if (table.Cell(row, kCol7).substr(0, 1) != "1") table.SetCell(row, kCol7, "0");
  return CellOutcome::SaveRow;
}

}  // namespace

PriceValue ParsePrice(std::string_view text, int64_t maxCents) {
  PriceValue out;
  std::size_t separators = 0, sepPos = text.size();
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '.' || text[i] == ',') {
      ++separators;
      sepPos = i;
    } else if (!IsDigit(text[i])) {
      return out;
    }
  }
  if (text.empty()) return out;
  out.status = PriceValue::NotANumber;
  std::string_view whole = text.substr(0, sepPos);
  const std::string_view frac = sepPos < text.size() ? text.substr(sepPos + 1) : "";
  if (separators > 1 || (whole.empty() && frac.empty())) return out;
  out.status = PriceValue::Ok;
  while (whole.size() > 1 && whole[0] == '0') whole.remove_prefix(1);
  if (whole.size() > kMaxIntegerDigits) {
    out.tooLarge = true;
    return out;
  }
  int64_t cents = 0;
  for (char c : whole) cents = cents * 10 + (c - '0');
  const int tenths = frac.size() > 0 ? frac[0] - '0' : 0;
  const int hundredths = frac.size() > 1 ? frac[1] - '0' : 0;
  cents = cents * 100 + tenths * 10 + hundredths;
  const std::string_view rest = frac.size() > 2 ? frac.substr(2) : "";
  const bool restNonZero = rest.find_first_not_of('0') != std::string_view::npos;
  out.tooLarge = cents > maxCents || (cents == maxCents && restNonZero);
  if (!rest.empty() && rest[0] >= '5') ++cents;
  out.cents = cents;
  return out;
}

std::string FormatPriceCents(int64_t cents) {
  const int64_t hundredths = cents % 100;
  std::string text = std::to_string(cents / 100);
  text += hundredths < 10 ? ".0" : ".";
  text += std::to_string(hundredths);
  return text;
}

CellOutcome ValidateCell(ProductTable& table, int row, int col, std::string_view typeName,
                         Prompts& prompts) {
  switch (col) {
    case kColPrice:
      return CheckPrice(table, row, typeName, prompts);
    case kColSection:
      return CheckSection(table, row, typeName, prompts);
    case kColBarcode:
      return CheckBarcode(table, row, prompts);
    case kColAccounting:
      return CellOutcome::NotSaved;
    case kCol6:
      return CheckColumn6(table, row, typeName, prompts);
    case kCol7:
      return CheckColumn7(table, row);
    default:
      return CellOutcome::SaveRow;
  }
}

}  // namespace zel
