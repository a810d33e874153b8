#include "cli/cli_fixture.h"

#include "base/base_file.h"
#include "base/ini_file.h"
#include "base/settings.h"
#include "common/cp1251.h"
#include "sim/demo/demo_setup.h"

namespace zel::testing {

CliResult CliTest::Demo(const std::vector<std::string>& args, const CliOptions& options) {
  std::vector<std::string> all = {"--demo", "--data-dir", Folder().string()};
  all.insert(all.end(), args.begin(), args.end());
  return RunCli(all, options);
}

CliResult CliTest::Zhrm3(const std::vector<std::string>& args) {
  std::vector<std::string> all = {"--channel", kZhrm3Channel, "--range", "1-8"};
  all.insert(all.end(), args.begin(), args.end());
  return Demo(all);
}

void CliTest::PrepareSettings() {
  std::string error;
  ASSERT_TRUE(PrepareDemoFolder(Folder(), error)) << error;
}

void CliTest::SetSetting(const std::string& section, const std::string& key,
                         const std::string& value) {
  IniFile ini;
  ASSERT_TRUE(ini.Load(Path(kSettingsFileName)));
  ini.WriteString(section, key, value);
  std::string error;
  ASSERT_TRUE(ini.Save(Path(kSettingsFileName), error)) << error;
}

std::vector<ProductRecord> CliTest::BaseRecords(int channel, int first, int count) {
  std::vector<ProductRecord> records;
  std::string error;
  EXPECT_TRUE(BaseFolder(Folder()).ReadRecords(BaseFileName(channel), first, count, records, error))
      << error;
  return records;
}

std::string Utf8(const std::string& cp1251) {
  return Cp1251ToUtf8(cp1251);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace zel::testing
