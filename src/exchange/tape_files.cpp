#include "exchange/tape_files.h"

#include <string_view>

#include "exchange/text_layout.h"

namespace zel {
namespace {

constexpr std::string_view kBlockCsvHeading = "№ КЛ;Дата вывода;Кол-во покупок;";
constexpr std::string_view kSaleCsvHeading = "№ в базе;Наименование;Стоимость;Количество;";

// Ends a line of the CSV forms: the field, then ";".
void AppendCsvField(std::string& out, std::string_view utf8) {
  AppendText(out, utf8);
  out += ';';
}

void AppendLine(std::string& out, std::string_view utf8) {
  AppendText(out, utf8);
  out += kCrLf;
}

void AppendBlockTextHeading(std::string& out) {
  AppendColumn(out, "№ КЛ", kBlockNumberWidth);
  AppendColumn(out, "Дата вывода", kBlockDateWidth);
  AppendLine(out, "Кол-во покупок");
}

void AppendSaleTextHeading(std::string& out) {
  AppendColumn(out, "№ в базе", kTapeSlotWidth);
  AppendColumn(out, "Наименование", kTapeNameWidth);
  AppendColumn(out, "Стоимость", kTapePriceWidth);
  AppendLine(out, "Количество");
}

}  // namespace

std::string BlockListCsv(std::span<const TapeBlockRow> blocks) {
  std::string out;
  AppendLine(out, kBlockCsvHeading);
  for (const TapeBlockRow& b : blocks) {
    AppendQuoted(out, b.tapeNumber);
    out += ';';
    AppendCsvField(out, b.outputDate);
    AppendWithComma(out, b.purchases);
    out += ';';
    out += kCrLf;
  }
  return out;
}

std::string BlockListText(std::span<const TapeBlockRow> blocks) {
  std::string out;
  AppendBlockTextHeading(out);
  for (const TapeBlockRow& b : blocks) {
    AppendColumn(out, b.tapeNumber, kBlockNumberWidth);
    AppendColumn(out, b.outputDate, kBlockDateWidth);
    AppendColumn(out, b.purchases, kBlockPurchasesWidth);
    out += kCrLf;
  }
  return out;
}

std::string TapeContentsCsv(const TapeBlockRow& selected, std::span<const TapeSaleRow> sales) {
  std::string out;
  AppendLine(out, kBlockCsvHeading);
  AppendCsvField(out, selected.tapeNumber);
  AppendCsvField(out, selected.outputDate);
  AppendCsvField(out, selected.purchases);
  out += kCrLf;
  AppendLine(out, ";");
  AppendLine(out, kSaleCsvHeading);
  for (const TapeSaleRow& s : sales) {
    AppendQuoted(out, s.slot);
    out += ';';
    AppendQuoted(out, s.name);
    out += ';';
    AppendWithComma(out, s.price);
    out += ';';
    AppendWithComma(out, s.quantity);
    out += ';';
    out += kCrLf;
  }
  return out;
}

std::string TapeContentsText(const TapeBlockRow& selected, std::span<const TapeSaleRow> sales) {
  std::string out;
  AppendLine(out, "№ КЛ .......... " + selected.tapeNumber);
  AppendLine(out, "Дата вывода ... " + selected.outputDate);
  AppendLine(out, "Количество .... " + selected.purchases);
  out += kCrLf;
  out += kCrLf;
  AppendSaleTextHeading(out);
  for (const TapeSaleRow& s : sales) {
    AppendColumn(out, s.slot, kTapeSlotWidth);
    AppendColumn(out, s.name, kTapeNameWidth);
    AppendColumn(out, s.price, kTapePriceWidth);
    AppendColumn(out, s.quantity, kTapeQuantityWidth);
    out += kCrLf;
  }
  return out;
}

}  // namespace zel
