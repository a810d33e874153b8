#include "app/command_line.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

struct SwitchCase {
  std::vector<std::string> args;
  AutomationSwitch expected;
};

TEST(CommandLine, AutomationSwitchesAnyCaseEitherPrefix) {
  const SwitchCase cases[] = {
      {{}, AutomationSwitch::None},
      {{"/AUTOMATION"}, AutomationSwitch::Automation},
      {{"-automation"}, AutomationSwitch::Automation},
      {{"/Embedding"}, AutomationSwitch::Embedding},
      {{"-RegServer"}, AutomationSwitch::RegServer},
      {{"/unregserver"}, AutomationSwitch::UnregServer},
      // AUTOMATION, EMBEDDING, REGSERVER, UNREGSERVER: the first present wins.
      {{"/EMBEDDING", "/AUTOMATION"}, AutomationSwitch::Automation},
      {{"/REGSERVER", "/EMBEDDING"}, AutomationSwitch::Embedding},
      {{"/unregserver", "/automation"}, AutomationSwitch::Automation},
      {{"/unregserver", "/regserver"}, AutomationSwitch::RegServer},
      {{"/Other"}, AutomationSwitch::None},
  };
  for (const auto& c : cases) {
    const CommandLine cl = ParseCommandLine(c.args);
    EXPECT_TRUE(cl.error.empty());
    EXPECT_EQ(cl.automation, c.expected) << (c.args.empty() ? "" : c.args[0]);
  }
}

TEST(CommandLine, DataDirAndDemo) {
  const CommandLine cl = ParseCommandLine({"--demo", "--data-dir", "/tmp/zel", "/AUTOMATION"});
  EXPECT_TRUE(cl.demo);
  EXPECT_EQ(cl.dataDir, "/tmp/zel");
  EXPECT_EQ(cl.automation, AutomationSwitch::Automation);
  EXPECT_EQ(ParseCommandLine({"--data-dir=/srv/shop"}).dataDir, "/srv/shop");
}

TEST(CommandLine, TraceFile) {
  EXPECT_EQ(ParseCommandLine({"--trace", "/tmp/line.txt", "--demo"}).traceFile, "/tmp/line.txt");
  EXPECT_EQ(ParseCommandLine({"--trace=line.txt"}).traceFile, "line.txt");
  EXPECT_TRUE(ParseCommandLine({"--demo"}).traceFile.empty());
  EXPECT_FALSE(ParseCommandLine({"--trace"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--trace", ""}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--trace="}).error.empty());
}

TEST(CommandLine, BadArgumentsAreReported) {
  EXPECT_FALSE(ParseCommandLine({"--data-dir"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"--frobnicate"}).error.empty());
  EXPECT_FALSE(ParseCommandLine({"stray"}).error.empty());
}

}  // namespace
}  // namespace zel
