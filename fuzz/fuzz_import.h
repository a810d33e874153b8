// What the two whole-file import targets share: the input's first four bytes
// choose the device type and the range, the rest is the file; the base file
// is compared before and after, so a byte changed outside the range is found.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/base_file.h"
#include "base/base_record.h"
#include "base/device_types.h"
#include "exchange/import_run.h"
#include "fuzz_workspace.h"

namespace zel::fuzz {

inline constexpr std::size_t kImportHeaderBytes = 4;
/// Products of the base file: a whole one (12288) makes every store copy a
/// megabyte, and the range check at the capacities is another target's.
inline constexpr int kBenchProducts = 1024;

/// A report window that keeps its lines; Esc is never pressed.
class ReportHost final : public ImportHost {
 public:
  void ShowReport(const std::string&) override { lines.clear(); }
  void AddReportLine(const std::string& text, bool) override { lines.push_back(text); }
  void CloseReport() override {}
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void ProcessEvents() override {}
  bool StopRequested() const override { return false; }
  void ClearStopRequest() override {}

  std::vector<std::string> lines;
  bool mainWindowEnabled = true;
};

/// One program folder with one base file of kBenchProducts new products.
struct ImportBench {
  ImportBench() : fw(folder.path()) {
    std::string error;
    if (!fw.ws.folder.CreateBase(fw.ws.device.baseFileName, error)) Broken(error);
    std::filesystem::resize_file(BasePath(), kBenchProducts * kBaseRecordBytes);
  }
  std::filesystem::path BasePath() const { return fw.ws.folder.PathOf(fw.ws.device.baseFileName); }
  std::filesystem::path FilePath() const { return folder.path() / "import.dat"; }

  ProgramFolder folder;
  FuzzWorkspace fw;
  ReportHost host;
};

/// Puts the type and the range fields the header asks for: byte 0 the type
/// (bit 7: fields typed with leading zeros), bytes 1-2 the first product,
/// byte 3 the length of the range less one (up to 64: longer than the 53
/// records of a 4 KiB input); the range stays in the file.
/// Writes the file from the rest.
inline void PrepareImport(ImportBench& b, const uint8_t* data, std::size_t size) {
  const auto types = DeviceTypeTable::All();
  Workspace& ws = b.fw.ws;
  ws.device.typeText = std::string(types[(data[0] & 0x7F) % types.size()].name);
  const int first = 1 + (data[1] | data[2] << 8) % (kBenchProducts - 64);
  const int last = first + data[3] % 64;
  const bool padded = data[0] & 0x80;
  auto field = [padded](int n) {
    std::string text = std::to_string(n);
    return padded ? std::string(5 - std::min<std::size_t>(5, text.size()), '0') + text : text;
  };
  ws.range.SetStartText(field(first));
  ws.range.SetEndText(field(last));
  b.fw.prompts.shown.clear();
  b.fw.prompts.errors = 0;
  WriteBytes(b.FilePath(),
             std::string_view(reinterpret_cast<const char*>(data) + kImportHeaderBytes,
                              size - kImportHeaderBytes));
}

/// The base file before the import and the range the import got.
struct ImportStart {
  std::string before;
  int first;
  int last;
};

/// Prepares the input and runs the steps before the dialog; nullopt when the
/// range was refused (the base file then unchanged, or the run aborts).
inline std::optional<ImportStart> StartImport(ImportBench& b, const uint8_t* data,
                                              std::size_t size) {
  if (size < kImportHeaderBytes) return std::nullopt;
  PrepareImport(b, data, size);
  std::string before = ReadBytes(b.BasePath());
  if (!BeginImport(b.fw.ws, b.host)) {
    if (ReadBytes(b.BasePath()) != before) Broken("a refused range changed the base file");
    return std::nullopt;
  }
  return ImportStart{std::move(before), b.fw.ws.range.CurrentRecord, b.fw.ws.range.LastRecord};
}

/// Aborts unless `after` equals `before` outside products first..last.
inline void SameOutside(const std::string& before, const std::string& after, int first, int last) {
  const std::size_t from = static_cast<std::size_t>(first - 1) * kBaseRecordBytes;
  const std::size_t to = static_cast<std::size_t>(last) * kBaseRecordBytes;
  if (after.size() != before.size()) Broken("the base file changed its size");
  if (after.compare(0, from, before, 0, from) != 0 ||
      after.compare(to, std::string::npos, before, to, std::string::npos) != 0) {
    Broken("a record outside " + std::to_string(first) + ".." + std::to_string(last) + " changed");
  }
}

/// A table row as a record holds it: each text cut to its field.
inline ProductRecord AsStored(const ProductRecord& shown) {
  const BaseRecordBytes bytes = EncodeBaseRecord(shown);
  return DecodeBaseRecord(bytes);
}

/// Aborts unless products first..last are stored as table rows 1.. show them
/// (texts longer than their fields cut).
inline void StoredAsShown(const Workspace& ws, int first, int last) {
  std::vector<ProductRecord> stored;
  std::string error;
  if (!ws.folder.ReadRecords(ws.device.baseFileName, first - 1, last - first + 1, stored, error)) {
    Broken(error);
  }
  for (int n = first; n <= last; ++n) {
    if (stored.at(static_cast<std::size_t>(n - first)) !=
        AsStored(ws.table.RecordAt(n - first + 1))) {
      Broken("product " + std::to_string(n) + " is stored unlike the table shows it");
    }
  }
}

}  // namespace zel::fuzz
