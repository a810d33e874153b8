// The demo folder and its settings, shared by the window and the command line.
#include "sim/demo/demo_setup.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <optional>

#include "base/settings.h"
#include "cli/cli_fixture.h"
#include "sim/demo/demo_network.h"

namespace zel::testing {
namespace {

TEST(DemoSettings, NameTheSevenDemoChannelsOnTheBuiltInLine) {
  const IniFile ini = DemoSettings();
  for (const DemoChannel& c : DemoChannels()) {
    const std::string section = ChannelSection(c.channel);
    EXPECT_EQ(ini.ReadString(section, "Верс", ""), c.type);
    EXPECT_EQ(ini.ReadString(section, "ЖРМ", ""), c.zhrmNumber);
    EXPECT_EQ(ini.ReadString(section, "ККМ", ""), c.kkmNumber);
    EXPECT_EQ(ini.ReadString(section, "Set", ""), "0") << c.channel;
    EXPECT_EQ(ini.ReadString(section, "Select", ""), c.channel == 1 ? "1" : "0");
  }
  for (int n = 8; n <= 16; ++n) EXPECT_EQ(ini.ReadString(ChannelSection(n), "Set", ""), "1");
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(ini.ReadString(kComSection, "Com" + std::to_string(i) + "Path", ""), "sim");
    EXPECT_EQ(ini.ReadString(kComSection, "Com" + std::to_string(i), ""), i == 1 ? "1" : "0");
  }
  EXPECT_EQ(ini.ReadString(kComSection, "BaudRate", ""), "115200");
  EXPECT_EQ(ini.ReadString(kActiveSection, "Верс", ""), "ЖРМ 200");
  EXPECT_EQ(ini.ReadString(kRangeSection, "end", ""), "0300");
}

using DemoFolder = CliTest;

TEST_F(DemoFolder, PrepareWritesTheSettingsOnceAndKeepsEdits) {
  const auto folder = Folder() / "demo";
  std::string error;
  ASSERT_TRUE(PrepareDemoFolder(folder, error)) << error;
  EXPECT_TRUE(std::filesystem::is_directory(folder / "Base"));
  std::ofstream(folder / kSettingsFileName, std::ios::app) << "[Mine]\r\nKey=1\r\n";
  const std::string edited = ReadBytes(folder / kSettingsFileName);
  ASSERT_TRUE(PrepareDemoFolder(folder, error)) << error;
  EXPECT_EQ(ReadBytes(folder / kSettingsFileName), edited);
}

TEST_F(DemoFolder, PrepareReportsAFolderThatCannotBeMade) {
  std::ofstream(Path("file")) << "x";
  std::string error;
  EXPECT_FALSE(PrepareDemoFolder(Path("file") / "demo", error));
  EXPECT_NE(error, "");
}

// Restores one environment variable when it goes out of scope.
class EnvGuard {
 public:
  explicit EnvGuard(const char* name) : name_(name) {
    if (const char* v = getenv(name)) old_ = v;
  }
  ~EnvGuard() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(DemoDataFolder, FollowsXdgDataHomeElseHome) {
  EnvGuard xdg("XDG_DATA_HOME");
  EnvGuard home("HOME");
  setenv("XDG_DATA_HOME", "/x/data", 1);
  EXPECT_EQ(DemoDataFolder(), std::filesystem::path("/x/data/ZELBase/demo"));
  setenv("XDG_DATA_HOME", "", 1);
  setenv("HOME", "/home/op", 1);
  EXPECT_EQ(DemoDataFolder(), std::filesystem::path("/home/op/.local/share/ZELBase/demo"));
}

}  // namespace
}  // namespace zel::testing
