// The members that walk and fill the product table.
#include <string_view>

#include "base/cell_rules.h"
#include "base/device_types.h"
#include "common/cp1251.h"
#include "server/server_codes.h"
#include "server/tserver.h"

namespace zel {
namespace {

constexpr std::size_t kBarcodeChars = 12;

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

// Digits only, not 0, at most `max`; leading zeros allowed ("07").
bool ValidSection(std::string_view text, int max) {
  if (text.empty()) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value > 1000 ? 1001 : value * 10 + (c - '0');
  }
  return value != 0 && value <= max;
}

// The price in hundredths; nullopt when it is above the type's limit or
// negative. A text that is no number at all is a failure of the call.
std::optional<int64_t> PriceCents(std::string_view text, int64_t maxCents) {
  std::string_view digits = Trimmed(text);
  const bool negative = !digits.empty() && digits.front() == '-';
  if (negative) digits.remove_prefix(1);
  const PriceValue price = ParsePrice(digits, maxCents);
  if (price.status != PriceValue::Ok) {
    throw ServerFailure("Price: the value is not a number");
  }
  if (negative || price.tooLarge) return std::nullopt;
  return price.cents;
}

// Whether an accounting cell is above zero; "." and "," both separate.
bool AccountingAboveZero(std::string_view cell, int row) {
  std::string_view text = Trimmed(cell);
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  bool nonZero = false, digit = false;
  int separators = 0;
  for (char c : text) {
    if (c == '.' || c == ',') {
      ++separators;
    } else if (c >= '0' && c <= '9') {
      digit = true;
      nonZero = nonZero || c != '0';
    } else {
      separators = 2;
    }
  }
  // An empty cell counts as no sale; other text that is not a number fails.
  if (cell.empty()) return false;
  if (!digit || separators > 1) {
    throw ServerFailure("Uchet of row " + std::to_string(row) + ": \"" + std::string(cell) +
                        "\" is not a number");
  }
  return nonZero && !negative;
}

// The base file keeps one character of section; "07" is stored as "7".
std::string StoredSection(const std::string& text) {
  const std::size_t first = text.find_first_not_of('0');
  return first == std::string::npos ? text : text.substr(first);
}

void StoreRow(Workspace& ws, int row) {
  const std::optional<int> product = ParseRecordNumber(ws.table.Cell(row, kColNumber));
  if (!product || *product < 1 || *product > kBaseFileRecords) {
    throw ServerFailure("table row " + std::to_string(row) + " holds no product number");
  }
  std::string error;
  if (!ws.folder.Exists(ws.device.baseFileName) &&
      !ws.folder.CreateBase(ws.device.baseFileName, error)) {
    throw ServerFailure("base file: " + error);
  }
  ProductRecord record = ws.table.RecordAt(row);
  record.section = StoredSection(record.section);
  if (!ws.folder.StoreRecord(ws.device.baseFileName, *product - 1, record, error)) {
    throw ServerFailure("base file: " + error);
  }
}

}  // namespace

int TServer::AddTovar(const ServerValue& name, const ServerValue& price, const ServerValue& section,
                      const ServerValue& shCode) {
  if (RefusedBusy()) return 0;
  const std::string sectionText = section.Text();
  const std::optional<FieldRange> range = ShownRange();
  if (!range) return 0;
  if (range->Rows() < ctx_.vars.TableCursor) return Refuse(kCodeEndOfTable);
  const DeviceType& type = DeviceTypeTable::RulesFor(Type());
  if (!ValidSection(sectionText, type.serverSectionMax)) return Refuse(kCodeBadSection);
  const std::string priceText = price.Text();
  if (priceText.empty()) return Refuse(kCodeBadPrice);
  const std::optional<int64_t> cents = PriceCents(priceText, type.maxPriceCents);
  if (!cents) return Refuse(kCodeBadPrice);

  ProductTable& table = ctx_.ws.table;
  const int row = ctx_.vars.TableCursor;
  table.SetCell(row, kColName, name.Text());
  table.SetCell(row, kColPrice, FormatPriceCents(*cents));
  table.SetCell(row, kColSection, sectionText);
  table.SetCell(row, kColBarcode, LeftChars(shCode.Text(), kBarcodeChars));
  table.CurrentProductRow = row;
  StoreRow(ctx_.ws, row);
  ++ctx_.vars.TableCursor;
  return Succeed();
}

int TServer::SetTop(int /*par*/) {
  if (RefusedBusy()) return 0;
  ctx_.vars.TableCursor = 1;
  return Succeed();
}

void TServer::LoadRow(int row) {
  const ProductTable& t = ctx_.ws.table;
  ServerVariables& v = ctx_.vars;
  v.Number = t.Cell(row, kColNumber);
  v.Name = t.Cell(row, kColName);
  v.Price = t.Cell(row, kColPrice);
  v.Section = t.Cell(row, kColSection);
  v.Sh_Code = t.Cell(row, kColBarcode);
  v.Uchet = t.Cell(row, kColAccounting);
}

int TServer::GetNextTovar() {
  if (RefusedBusy()) return 0;
  const std::optional<FieldRange> range = ShownRange();
  if (!range) return 0;
  ServerVariables& v = ctx_.vars;
  if (range->Rows() < v.TableCursor) return Refuse(kCodeEndOfTable);
  const int row = v.TableCursor;
  LoadRow(row);
  v.TovGr = "0";
  v.PrVes = "0";
  const Column6Rule rule = DeviceTypeTable::RulesFor(Type()).column6;
  if (rule == Column6Rule::ProductGroup) v.TovGr = ctx_.ws.table.Cell(row, kCol6);
  if (rule == Column6Rule::ScalesFlag) v.PrVes = ctx_.ws.table.Cell(row, kCol6);
  ++v.TableCursor;
  return Succeed();
}

int TServer::GetNext() {
  if (RefusedBusy()) return 0;
  const std::optional<FieldRange> range = ShownRange();
  if (!range) return 0;
  ServerVariables& v = ctx_.vars;
  if (range->Rows() < v.TableCursor) return Refuse(kCodeEndOfTable);
  for (int row = v.TableCursor; row <= range->Rows(); ++row) {
    if (!AccountingAboveZero(ctx_.ws.table.Cell(row, kColAccounting), row)) continue;
    LoadRow(row);
    v.TableCursor = row + 1;
    return Succeed();
  }
  return Refuse(kCodeEndOfTable);
}

}  // namespace zel
