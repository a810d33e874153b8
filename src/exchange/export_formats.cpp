#include "exchange/export_formats.h"

#include "exchange/text_layout.h"

namespace zel {
namespace {

constexpr std::string_view kCsvHeading = "номер;наименование;цена;отдел;штрих-код;учет;";

// Heading texts with their widths; the last one is not padded.
constexpr std::string_view kTextHeading[] = {"номер", "наименование", "цена",
                                             "отдел", "штрих-код",    "учет"};
constexpr std::size_t kTextHeadingWidth[] = {kTextNumberWidth,  kTextNameWidth + kTextGapWidth,
                                             kTextPriceWidth,   kTextSectionWidth,
                                             kTextBarcodeWidth, 4};

void AppendCsvRow(std::string& out, const ProductTable& table, int row) {
  AppendText(out, table.Cell(row, kColNumber));
  out += ';';
  AppendQuoted(out, table.Cell(row, kColName));
  out += ';';
  AppendWithComma(out, table.Cell(row, kColPrice));
  out += ';';
  AppendText(out, table.Cell(row, kColSection));
  out += ';';
  AppendQuoted(out, table.Cell(row, kColBarcode));
  out += ';';
  AppendWithComma(out, table.Cell(row, kColAccounting));
  out += ';';
  out += kCrLf;
}

void AppendTextRow(std::string& out, const ProductTable& table, int row) {
  AppendColumn(out, table.Cell(row, kColNumber), kTextNumberWidth);
  AppendColumn(out, table.Cell(row, kColName), kTextNameWidth);
  out.append(kTextGapWidth, ' ');
  AppendColumn(out, table.Cell(row, kColPrice), kTextPriceWidth);
  AppendColumn(out, table.Cell(row, kColSection), kTextSectionWidth);
  AppendColumn(out, table.Cell(row, kColBarcode), kTextBarcodeWidth);
  AppendColumn(out, table.Cell(row, kColAccounting), kTextAccountingWidth);
  out += kCrLf;
}

}  // namespace

std::string ExportCsv(const ProductTable& table, int rowCount) {
  std::string out;
  out.reserve(static_cast<std::size_t>(rowCount > 0 ? rowCount : 0) * 64);
  AppendText(out, kCsvHeading);
  out += kCrLf;
  for (int row = 1; row <= rowCount; ++row) AppendCsvRow(out, table, row);
  return out;
}

std::string ExportText(const ProductTable& table, int rowCount) {
  std::string out;
  out.reserve(static_cast<std::size_t>(rowCount > 0 ? rowCount : 0) * (kTextRowChars + 2));
  for (std::size_t i = 0; i < std::size(kTextHeading); ++i) {
    AppendColumn(out, kTextHeading[i], kTextHeadingWidth[i]);
  }
  out += kCrLf;
  out += ' ';
  out += kCrLf;
  for (int row = 1; row <= rowCount; ++row) AppendTextRow(out, table, row);
  return out;
}

}  // namespace zel
