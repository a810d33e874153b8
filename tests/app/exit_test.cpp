// Leaving the program: the exit question, the close steps and the title-bar
// close that asks nothing.
#include <QAction>
#include <QMenu>
#include <QSignalSpy>

#include "app_fixture.h"
#include "base/ini_file.h"

namespace zel::testing {
namespace {

class ExitTest : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    prompts.Clear();
    closed = std::make_unique<QSignalSpy>(&Main(), &TFSHK1::closed);
  }

  IniFile SavedSettings() {
    IniFile ini;
    EXPECT_TRUE(ini.Load(SettingsPath()));
    return ini;
  }

  std::unique_ptr<QSignalSpy> closed;
};

TEST_F(ExitTest, AnsweredNoKeepsRunningAndSavesNothing) {
  prompts.Answer(Answer::No);
  Main().ToolAction(Command::Exit)->trigger();
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Выйти из программы ?"});
  EXPECT_EQ(prompts.shown()[0].kind, "yesno");
  EXPECT_FALSE(std::filesystem::exists(SettingsPath()));
  EXPECT_TRUE(core->link.PortValid());
  EXPECT_FALSE(Ws().run.stopRequested);
  EXPECT_EQ(closed->count(), 0);
  EXPECT_TRUE(Main().isVisible());
}

TEST_F(ExitTest, AnsweredYesSavesReleasesThePortAndCloses) {
  Ws().range.SetStartText("0005");
  prompts.Answer(Answer::Yes);
  Main().MenuAction(Command::Exit)->trigger();
  EXPECT_TRUE(Ws().run.stopRequested);
  EXPECT_EQ(core->link.Port(), nullptr);
  EXPECT_EQ(closed->count(), 1);
  EXPECT_FALSE(Main().isVisible());
  const IniFile ini = SavedSettings();
  EXPECT_EQ(ini.ReadString("Диапазон базы", "begin", ""), "0005");
  EXPECT_EQ(ini.ReadString("Настройка Com-порта", "Com5", ""), "1");
  EXPECT_EQ(ini.ReadString("ЖРМ 1 конт", "Select", ""), "1");
  // One question only: the close that follows asks nothing more.
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Выйти из программы ?"});
}

TEST_F(ExitTest, ContextMenuExitAsksTheSameQuestion) {
  prompts.Answer(Answer::No);
  Main().PopupMenu1()->actions()[0]->trigger();
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Выйти из программы ?"});
  EXPECT_EQ(closed->count(), 0);
}

TEST_F(ExitTest, TitleBarCloseAsksNothingButSavesAndReleases) {
  Main().close();
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_TRUE(Ws().run.stopRequested);
  EXPECT_EQ(core->link.Port(), nullptr);
  EXPECT_TRUE(std::filesystem::exists(SettingsPath()));
  EXPECT_EQ(closed->count(), 1);
}

TEST_F(ExitTest, CloseDuringAnOperationKeepsThePortForTheRunningLoop) {
  Ws().run.exchangeState = ExchangeState::Busy;
  Main().close();
  EXPECT_TRUE(Ws().run.stopRequested);
  EXPECT_TRUE(std::filesystem::exists(SettingsPath()));
  EXPECT_TRUE(core->link.PortValid());
  Ws().run.exchangeState = ExchangeState::Idle;
}

TEST_F(ExitTest, UnwritableSettingsAreReportedAndTheCloseGoesOn) {
  std::filesystem::create_directory(SettingsPath());  // a folder cannot be replaced by a file
  Main().close();
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, "error");
  EXPECT_EQ(prompts.shown()[0].text, "Unable to write to " + SettingsPath().string());
  EXPECT_EQ(core->link.Port(), nullptr);
  EXPECT_EQ(closed->count(), 1);
}

class KeepServingTest : public AppFixture {};

// "No" to the COM Server Warning: the program goes on serving its clients, on
// a port set up for the active ЖРМ 1.5, not left at the basic 9600.
TEST_F(KeepServingTest, RefusedCloseReopensThePortWithTheActiveProfile) {
  WriteSettings("[ЖРМ 1 конт]\nSet=0\nSelect=1\nВерс=ЖРМ 1.5\n");
  Start();
  ASSERT_EQ(line->Current().baud, 10416u);
  bool asked = false;
  Main().confirmEndWithClients = [&asked] { return !(asked = true); };
  Main().close();
  EXPECT_TRUE(asked);
  EXPECT_TRUE(Main().isVisible());
  ASSERT_TRUE(core->link.PortValid());
  EXPECT_EQ(line->Current().baud, 10416u);
  EXPECT_TRUE(line->Dtr());
  Main().confirmEndWithClients = nullptr;
}

}  // namespace
}  // namespace zel::testing
