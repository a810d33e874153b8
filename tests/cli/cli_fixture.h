// A temporary program folder for zelbase-cli runs on the demo network, and
// the means to look at what the runs left in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_process.h"
#include "common/product_record.h"
#include "support/files.h"

namespace zel::testing {

/// Demo channels the tests use: the fast ЖРМ 3 family at 115200 baud.
inline constexpr const char* kZhrm3Channel = "5";
inline constexpr const char* kZhrm200Channel = "1";

class CliTest : public ::testing::Test {
 protected:
  /// zelbase-cli --demo --data-dir <folder> args...
  CliResult Demo(const std::vector<std::string>& args, const CliOptions& options = {});
  /// The ЖРМ 3 channel with range 1..8, then args.
  CliResult Zhrm3(const std::vector<std::string>& args);

  /// Writes the demo settings as a first run would, so a test can edit them.
  void PrepareSettings();
  /// Sets one key of ZELBase.ini.
  void SetSetting(const std::string& section, const std::string& key, const std::string& value);

  /// Records first .. first + count - 1 (from 0) of channel n's base file.
  std::vector<ProductRecord> BaseRecords(int channel, int first, int count);

  std::filesystem::path Path(const std::string& name) const { return folder_.path() / name; }
  const std::filesystem::path& Folder() const { return folder_.path(); }

 private:
  TempDir folder_;
};

/// cp1251 bytes as UTF-8.
std::string Utf8(const std::string& cp1251);
inline bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}
/// Splits at "\n", dropping one "\r" before it; no empty last line.
std::vector<std::string> Lines(const std::string& text);

}  // namespace zel::testing
