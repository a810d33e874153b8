// Program entry: the program folder, the demo line and the switches that
// end the program before any window exists.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "app/application.h"
#include "base/program_folder.h"
#include "link/clock.h"
#include "sim/simulated_line.h"
#include "support/environment.h"
#include "support/files.h"

namespace zel {
namespace {

using testing::ReadBytes;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteBytes;

CommandLine Parse(std::vector<std::string> args) {
  return ParseCommandLine(args);
}

TEST(Application, ProgramFolderComesFromDataDirThenDemoThenExecutable) {
  const std::filesystem::path exe = std::filesystem::temp_directory_path();
  EXPECT_EQ(ProgramFolder(Parse({}), exe), exe);
  // An executable folder the user cannot write is an installed program's.
  EXPECT_EQ(ProgramFolder(Parse({}), "/nonexistent/usr/bin"), UserProgramFolder());
  // Root may write there, but an installed program never keeps files in bin/.
  EXPECT_EQ(ProgramFolder(Parse({}), InstalledBinFolder()), UserProgramFolder());
  EXPECT_EQ(ProgramFolder(Parse({"--data-dir", "/tmp/zel"}), exe), "/tmp/zel");
  EXPECT_EQ(ProgramFolder(Parse({"--demo", "--data-dir", "/tmp/zel"}), exe), "/tmp/zel");
  EXPECT_EQ(ProgramFolder(Parse({"--demo"}), exe), DemoFolder());
  EXPECT_NE(DemoFolder(), exe);
}

TEST(Application, DemoFolderFollowsXdgDataHome) {
  ScopedEnv xdg("XDG_DATA_HOME", "/tmp/xdg");
  EXPECT_EQ(DemoFolder(), std::filesystem::path("/tmp/xdg/ZELBase/demo"));
}

TEST(Application, DemoMapsEveryComChoiceToTheVirtualLine) {
  VirtualClock clock;
  auto line = std::make_shared<SimulatedLine>(clock);
  const PortOpener demo = MakePortOpener(Parse({"--demo"}), line);
  for (const char* path : {"/dev/ttyS0", "/dev/ttyUSB3", "sim", "/no/such/tty"}) {
    EXPECT_EQ(demo(path), line) << path;
  }
  const PortOpener normal = MakePortOpener(Parse({}), line);
  EXPECT_EQ(normal("sim"), line);
  EXPECT_EQ(normal("/no/such/tty"), nullptr);
}

TEST(Application, TraceWrapsEveryPortInDemoMode) {
  VirtualClock clock;
  auto line = std::make_shared<SimulatedLine>(clock);
  std::ostringstream out;
  const PortOpener demo = MakePortOpener(Parse({"--demo"}), line, std::make_shared<TraceLog>(out));
  const auto port = demo("/dev/ttyS0");
  ASSERT_NE(port, nullptr);
  EXPECT_NE(port, line);
  port->Purge();
  EXPECT_EQ(out.str(), "       0.0 -- open /dev/ttyS0\n       0.0 -- purge\n");
}

TEST(Application, UnwritableTraceFileEndsTheProgram) {
  char name[] = "zelbase";
  std::string flag = "--trace=/no/such/folder/trace.txt";
  char* argv[] = {name, flag.data(), nullptr};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunApplication(2, argv), 2);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("/no/such/folder/trace.txt"),
            std::string::npos);
}

TEST(Application, RegistrationWritesAndRemovesTheActivationFiles) {
  TempDir temp;
  const std::filesystem::path& home = temp.path();
  ScopedEnv xdg("XDG_DATA_HOME", home.string());
  const auto service = home / "dbus-1" / "services" / "Zhrm.Server.service";
  const auto xml = home / "dbus-1" / "interfaces" / "Zhrm.IServer.xml";

  char name[] = "zelbase";
  char reg[] = "-RegServer";
  char demo[] = "--demo";
  char* regArgv[] = {name, demo, reg, nullptr};
  EXPECT_EQ(RunApplication(3, regArgv), 0);
  ASSERT_TRUE(std::filesystem::exists(service));
  EXPECT_TRUE(std::filesystem::exists(xml));
  const std::string text = ReadBytes(service);
  EXPECT_NE(text.find("Name=Zhrm.Server"), std::string::npos);
  EXPECT_NE(text.find(" --demo /AUTOMATION"), std::string::npos) << text;

  char unreg[] = "/UNREGSERVER";
  char* unregArgv[] = {name, unreg, nullptr};
  EXPECT_EQ(RunApplication(2, unregArgv), 0);
  EXPECT_FALSE(std::filesystem::exists(service));
  EXPECT_FALSE(std::filesystem::exists(xml));
}

TEST(Application, RegistrationFailureEndsTheStartWithItsMessage) {
  TempDir temp;
  const std::filesystem::path blocked = temp.path() / "file";
  WriteBytes(blocked, "not a folder");
  ScopedEnv xdg("XDG_DATA_HOME", blocked.string());
  setenv("QT_QPA_PLATFORM", "offscreen", 1);  // no display: stderr only, no box to wait on
  char name[] = "zelbase";
  char reg[] = "/REGSERVER";
  char demo[] = "--demo";
  char* argv[] = {name, demo, reg, nullptr};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunApplication(3, argv), 1);
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("could not be registered"), std::string::npos) << err;
  EXPECT_NE(err.find(blocked.string()), std::string::npos) << err;
}

TEST(Application, UnknownArgumentIsAUsageError) {
  char name[] = "zelbase";
  char arg[] = "--bogus";
  char* argv[] = {name, arg, nullptr};
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(RunApplication(2, argv), 2);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("Usage"), std::string::npos);
}

}  // namespace
}  // namespace zel
