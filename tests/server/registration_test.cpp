// The activation file and interface description written by /REGSERVER and
// every start, and removed by /UNREGSERVER.
#include "server/registration.h"

#include <gtest/gtest.h>

#include "server/member_table.h"
#include "support/environment.h"
#include "support/files.h"

namespace zel::testing {
namespace {

namespace fs = std::filesystem;

TEST(Registration, ServiceFileStartsTheProgramInAutomationMode) {
  RegistrationRequest r;
  r.executable = "/opt/zel/zelbase";
  EXPECT_EQ(ServiceFileText(r),
            "[D-BUS Service]\nName=Zhrm.Server\nExec=/opt/zel/zelbase /AUTOMATION\n");
  r.dataDir = "/srv/zel data";
  EXPECT_EQ(ServiceFileText(r),
            "[D-BUS Service]\nName=Zhrm.Server\n"
            "Exec=/opt/zel/zelbase --data-dir '/srv/zel data' /AUTOMATION\n");
  r.demo = true;
  EXPECT_EQ(ServiceFileText(r),
            "[D-BUS Service]\nName=Zhrm.Server\n"
            "Exec=/opt/zel/zelbase --data-dir '/srv/zel data' --demo /AUTOMATION\n");
}

TEST(Registration, RelativePathsBecomeAbsoluteAndQuotesAreEscaped) {
  RegistrationRequest r;
  r.executable = "bin/zelbase";
  r.dataDir = "it's";
  const std::string text = ServiceFileText(r);
  const std::string cwd = fs::current_path().string();
  EXPECT_NE(text.find("Exec=" + cwd + "/bin/zelbase --data-dir '" + cwd + "/it'\\''s' /AUTOMATION"),
            std::string::npos)
      << text;
}

TEST(Registration, WriteAndRemoveBothFiles) {
  TempDir home;
  RegistrationRequest r;
  r.executable = "/usr/bin/zelbase";
  std::string error;
  ASSERT_TRUE(WriteRegistration(r, home.path(), error)) << error;
  EXPECT_EQ(ReadBytes(home.path() / "dbus-1/services/Zhrm.Server.service"), ServiceFileText(r));
  EXPECT_EQ(ReadBytes(home.path() / "dbus-1/interfaces/Zhrm.IServer.xml"), IntrospectionXml());
  ASSERT_TRUE(RemoveRegistration(home.path(), error)) << error;
  EXPECT_FALSE(fs::exists(ServiceFilePath(home.path())));
  EXPECT_FALSE(fs::exists(InterfaceFilePath(home.path())));
  EXPECT_TRUE(RemoveRegistration(home.path(), error)) << "removing twice is fine";
}

TEST(Registration, StartModesEndOrGoOn) {
  TempDir home;
  ScopedEnv xdg("XDG_DATA_HOME", home.path().string());
  std::vector<std::string> reports;
  auto report = [&](const std::string& text) { reports.push_back(text); };
  RegistrationRequest r;
  r.executable = "/usr/bin/zelbase";

  r.mode = ServerStartMode::Register;
  EXPECT_EQ(RunRegistration(r, report), 0);
  EXPECT_TRUE(fs::exists(ServiceFilePath(home.path())));
  r.mode = ServerStartMode::Unregister;
  EXPECT_EQ(RunRegistration(r, report), 0);
  EXPECT_FALSE(fs::exists(ServiceFilePath(home.path())));
  for (ServerStartMode mode : {ServerStartMode::Normal, ServerStartMode::Automation}) {
    r.mode = mode;
    EXPECT_EQ(RunRegistration(r, report), std::nullopt);
    EXPECT_TRUE(fs::exists(InterfaceFilePath(home.path())));  // refreshed
    fs::remove(InterfaceFilePath(home.path()));
  }
  EXPECT_TRUE(reports.empty());
}

TEST(Registration, FailureToWriteIsReportedAndEndsTheStart) {
  TempDir dir;
  const fs::path blocked = dir.path() / "file";
  WriteBytes(blocked, "not a folder");
  ScopedEnv xdg("XDG_DATA_HOME", blocked.string());
  std::vector<std::string> reports;
  RegistrationRequest r;
  r.executable = "/usr/bin/zelbase";
  for (ServerStartMode mode : {ServerStartMode::Normal, ServerStartMode::Register}) {
    r.mode = mode;
    EXPECT_EQ(RunRegistration(r, [&](const std::string& t) { reports.push_back(t); }), 1);
  }
  ASSERT_EQ(reports.size(), 2u);
  EXPECT_NE(reports[0].find("could not be registered"), std::string::npos) << reports[0];
  EXPECT_NE(reports[0].find(blocked.string()), std::string::npos) << reports[0];
}

}  // namespace
}  // namespace zel::testing
