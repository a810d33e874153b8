// Shared pieces of the exchange tests: a temporary folder, file helpers, a
// workspace on fakes, and an import host that records the report.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/base_ops.h"
#include "base/workspace.h"
#include "exchange/text_import.h"
#include "support/scripted_prompts.h"

namespace zel::testing {

/// A folder made with mkdtemp and removed with everything in it.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zel_exchange_XXXXXX").string();
    const char* made = ::mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    path_ = pattern;
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

class NullProgress final : public ProgressHost {
 public:
  void ShowProgress(const std::string&, int, bool) override {}
  void AdvanceProgress() override {}
  void HideProgress() override {}
  void ProcessEvents() override {}
};

class NeverDisconnect final : public DisconnectWarning {
 public:
  Answer Ask() override { return {}; }
};

/// The report window and the main window, recorded.
class RecordingImportHost final : public ImportHost {
 public:
  void ShowReport(const std::string& caption) override {
    this->caption = caption;
    lines.clear();
    shown = true;
  }
  void AddReportLine(const std::string& text, bool select) override {
    if (throwOnLine == static_cast<int>(lines.size())) throw std::runtime_error("list is full");
    lines.push_back(text);
    if (select) selected = text;
  }
  void CloseReport() override { shown = false; }
  void SetMainWindowEnabled(bool enabled) override { mainWindowEnabled = enabled; }
  void ProcessEvents() override {
    ++eventRounds;
    if (onEvents) onEvents(eventRounds);
  }
  bool StopRequested() const override { return stop; }
  void ClearStopRequest() override { stop = false; }

  std::string caption;
  std::vector<std::string> lines;
  std::string selected;
  bool shown = false;
  bool mainWindowEnabled = true;
  bool stop = false;
  int eventRounds = 0;
  int throwOnLine = -1;  ///< AddReportLine throws when the list holds this many lines
  std::function<void(int round)> onEvents;
};

/// A workspace in a temporary program folder with one created base file.
class WorkspaceTest : public ::testing::Test {
 protected:
  WorkspaceTest()
      : port_(link_, [](const std::string&) { return std::shared_ptr<BytePort>(); }),
        ws_(dir_.path(), prompts_, progress_, warning_, link_, port_) {
    std::string error;
    EXPECT_TRUE(ws_.folder.CreateBase(ws_.device.baseFileName, error)) << error;
    ws_.device.typeText = "ЖРМ 3";
  }

  /// Sets and confirms the range, loading it into the table.
  void ShowRange(int first, int last) {
    ws_.range.SetStartText(std::to_string(first));
    ws_.range.SetEndText(std::to_string(last));
    ASSERT_TRUE(ConfirmRange(ws_));
  }

  /// Record `product` (1-based) of the active base file.
  ProductRecord Stored(int product) {
    std::vector<ProductRecord> out;
    std::string error;
    EXPECT_TRUE(ws_.folder.ReadRecords(ws_.device.baseFileName, product - 1, 1, out, error));
    return out.empty() ? ProductRecord{} : out[0];
  }

  TempDir dir_;
  ScriptedPrompts prompts_;
  NullProgress progress_;
  NeverDisconnect warning_;
  Link link_;
  PortSetup port_;
  Workspace ws_;
};

}  // namespace zel::testing
