// A whole ZEL_Base file through the import command (range check, record
// import, base-file store). Holds: the import succeeds, only the records of
// the range change, row i holds file record i for as many records as both
// have, and the base file holds what the table shows.
#include "exchange/zel_base_file.h"
#include "fuzz_import.h"

using namespace zel;
using namespace zel::fuzz;

namespace {

// Columns 1..5 (and 6 when the type carries the group) of `table` row `row`
// against record `index` of the file.
void RowIsFileRecord(const Workspace& ws, int row, const uint8_t* file, std::size_t index) {
  std::span<const uint8_t, kZelBaseRecordBytes> bytes(file + index * kZelBaseRecordBytes,
                                                      kZelBaseRecordBytes);
  const ProductRecord want = DecodeZelBaseRecord(bytes);
  const ProductRecord got = ws.table.RecordAt(row);
  const bool group = ZelBaseCarriesGroup(ws.device.typeText);
  if (got.name != want.name || got.price != want.price || got.section != want.section ||
      got.barcode != want.barcode || got.accounting != want.accounting ||
      (group && got.column6 != want.column6)) {
    Broken("row " + std::to_string(row) + " is not file record " + std::to_string(index));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  static ImportBench bench;
  const std::optional<ImportStart> start = StartImport(bench, data, size);
  if (!start) return 0;
  Workspace& ws = bench.fw.ws;
  const auto& [before, first, last] = *start;
  if (!RunZelBaseImport(ws, bench.FilePath().string())) Broken("the import failed");
  if (bench.fw.prompts.errors != 0) Broken("the import showed " + bench.fw.prompts.shown.back());
  SameOutside(before, ReadBytes(bench.BasePath()), first, last);
  const std::size_t records = (size - kImportHeaderBytes) / kZelBaseRecordBytes;
  const std::size_t taken = std::min<std::size_t>(records, last - first + 1);
  for (std::size_t i = 0; i < taken; ++i) {
    RowIsFileRecord(ws, static_cast<int>(i) + 1, data + kImportHeaderBytes, i);
  }
  StoredAsShown(ws, first, last);
  return 0;
}
