// Export and import of a whole ЖРМ 3+ base (12288 products). Prints
// figures; targets: each export and the ZEL_Base import under 100 ms, the
// text import with its report under 2 s.
#include <stdlib.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "base/base_ops.h"
#include "base/history_ops.h"
#include "base/workspace.h"
#include "exchange/export_run.h"
#include "exchange/import_run.h"
#include "exchange/text_import.h"

namespace {

constexpr int kProducts = 12288;

class SilentPrompts final : public zel::Prompts {
 public:
  void Message(const std::string& t) override { std::printf("message: %s\n", t.c_str()); }
  void Information(const std::string& t) override { std::printf("info: %s\n", t.c_str()); }
  void Warning(const std::string& t) override { std::printf("warning: %s\n", t.c_str()); }
  void Error(const std::string& t) override { std::printf("error: %s\n", t.c_str()); }
  bool AskYesNo(const std::string&) override { return false; }
  zel::Answer AskYesNoCancel(const std::string&) override { return zel::Answer::Cancel; }
};

class NullProgress final : public zel::ProgressHost {
 public:
  void ShowProgress(const std::string&, int, bool) override {}
  void AdvanceProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {}
};

class NeverDisconnect final : public zel::DisconnectWarning {
 public:
  Answer Ask() override { return {}; }
};

// Keeps the report as the window's list would.
class ListHost final : public zel::ImportHost {
 public:
  void ShowReport(const std::string&) override { lines.clear(); }
  void AddReportLine(const std::string& text, bool) override { lines.push_back(text); }
  void CloseReport() override {}
  void SetMainWindowEnabled(bool) override {}
  void ProcessEvents() override {}
  bool StopRequested() const override { return false; }
  void ClearStopRequest() override {}
  std::vector<std::string> lines;
};

double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
         (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// Wall and CPU time of one step; the CPU figure stays meaningful on a busy machine.
struct Timing {
  double wallMs = 0;
  double cpuMs = 0;
  bool ok = false;
};

Timing Time(const std::function<bool()>& step) {
  Timing t;
  const double cpu0 = CpuMs();
  const auto t0 = std::chrono::steady_clock::now();
  t.ok = step();
  t.wallMs =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
  t.cpuMs = CpuMs() - cpu0;
  return t;
}

void Report(const char* what, const Timing& t, double targetMs) {
  std::printf("%-34s %8.1f ms wall %8.1f ms CPU  (target < %.0f ms)%s\n", what, t.wallMs, t.cpuMs,
              targetMs, t.ok ? "" : "  FAILED");
}

void FillTable(zel::Workspace& ws) {
  for (int row = 1; row <= kProducts; ++row) {
    ws.table.SetRecord(
        row, {"Товар номер " + std::to_string(row) + " упаковка 1 кг", std::to_string(row) + ".50",
              "3", std::to_string(460000000000 + row), "1.500", "1", "0"});
  }
}

void WriteTextImport(const std::filesystem::path& path) {
  std::ofstream out(path, std::ios::binary);
  for (int i = 1; i <= kProducts; ++i) {
    out << "Product " << i << ";" << (i % 99999) << ",50;" << (i % 7 + 1) << ";" << 4600000 + i
        << "\r\n";
  }
}

void Run(const std::filesystem::path& dir) {
  SilentPrompts prompts;
  NullProgress progress;
  NeverDisconnect warning;
  zel::Link link;
  zel::PortSetup port(link, [](const std::string&) { return std::shared_ptr<zel::BytePort>(); });
  zel::Workspace ws(dir, prompts, progress, warning, link, port);
  std::string error;
  ws.folder.CreateBase(ws.device.baseFileName, error);
  ws.device.typeText = "ЖРМ 3+";
  ws.range.SetStartText("1");
  ws.range.SetEndText(std::to_string(kProducts));
  zel::ConfirmRange(ws);
  FillTable(ws);

  const char* names[] = {"export CSV", "export text", "export ZEL_Base"};
  const char* files[] = {"out.csv", "out.txt", "out.zlb"};
  for (int f = 0; f < 3; ++f) {
    const std::string path = (dir / files[f]).string();
    Report(names[f], Time([&] {
             return zel::ExportRows(ws.table, kProducts, ws.device.typeText,
                                    static_cast<zel::ExportFormat>(f), path, prompts);
           }),
           100);
  }
  const std::string zlb = (dir / "out.zlb").string();
  Report("import ZEL_Base (with StoreBaseFile)",
         Time([&] { return zel::RunZelBaseImport(ws, zlb); }), 100);
  // The store alone: an atomic replacement of the base file, flushed to disk.
  Report("  of which StoreBaseFile", Time([&] { return zel::StoreBaseFile(ws); }), 100);

  // What every replacing operation adds: a flushed copy of the 946 KB file,
  // rotation, and the restore dialog's list with its difference counts.
  Report("copy kept before a change", Time([&] {
           return zel::KeepBaseCopy(ws.folder, ws.device.baseFileName, zel::kCopyRead,
                                    std::time(nullptr), error);
         }),
         20);
  for (int i = 0; i < zel::kKeptNewest; ++i) {
    zel::KeepBaseCopy(ws.folder, ws.device.baseFileName, zel::kCopyImport, std::time(nullptr),
                      error);
  }
  Report("  with 30 copies kept already", Time([&] {
           return zel::KeepBaseCopy(ws.folder, ws.device.baseFileName, zel::kCopyRead,
                                    std::time(nullptr), error);
         }),
         20);
  Report("list of 30 copies with counts",
         Time([&] { return zel::ListActiveBaseCopies(ws).size() >= zel::kKeptNewest; }), 500);

  const std::filesystem::path txt = dir / "import.txt";
  WriteTextImport(txt);
  ListHost host;
  Report("import text (12288 lines)", Time([&] {
           const zel::TextImportResult result = zel::RunTextImport(ws, host, txt.string());
           return !result.failed && result.accepted == kProducts;
         }),
         2000);
  std::printf("report lines: %zu, last: %s\n", host.lines.size(),
              host.lines.empty() ? "" : host.lines.back().c_str());
}

}  // namespace

int main() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zel_bench_XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) return 1;
  const std::filesystem::path dir = pattern;
  Run(dir);
  std::error_code ec;
  std::filesystem::remove_all(dir, ec);
  return 0;
}
