#include "base/channels.h"

#include <gtest/gtest.h>

#include "base/device_types.h"
#include "base_test_support.h"

namespace zel {
namespace {

class ChannelsTest : public ::testing::Test {
 protected:
  void Connect(int n, const char* type) {
    channels.SetDisconnected(n, false);
    channels.SetType(n, type);
  }

  testing::TempDir dir;
  BaseFolder folder{dir.path()};
  testing::ScriptedPrompts prompts;
  testing::ScriptedWarning warning;
  ChannelTable channels{folder, prompts, warning};
};

TEST_F(ChannelsTest, InitiallyChannel1IsTheOnlyConnectedAndActive) {
  EXPECT_EQ(channels.activeChannel, 1);
  for (int n = 1; n <= kChannelCount; ++n) {
    const DeviceChannel& ch = channels.Channel(n);
    EXPECT_EQ(ch.disconnected, n != 1) << n;
    EXPECT_EQ(ch.activeMark, n == 1) << n;
    EXPECT_EQ(ch.deviceType, "ЖРМ 1.5");
  }
  EXPECT_EQ(channels.Channel(16).zhrmNumber, "0016");
  EXPECT_EQ(channels.Channel(16).kkmNumber, "00000016");
}

TEST_F(ChannelsTest, DisconnectingActiveChannelMovesTheMarkBeforeTheWarning) {
  Connect(3, "ЖРМ 3");
  channels.SetType(1, "ЖРМ 3+");
  channels.DialogShown();
  int activeAtWarning = 0;
  warning.onAsk = [&] { activeAtWarning = channels.activeChannel; };
  warning.answers.push_back({false, false});  // "Отмена"
  channels.SetDisconnected(1, true);
  EXPECT_EQ(activeAtWarning, 3);
  EXPECT_FALSE(channels.Channel(1).disconnected);
  EXPECT_EQ(channels.Channel(1).deviceType, "ЖРМ 1.5");
  EXPECT_TRUE(channels.Channel(1).controlsShown);
  EXPECT_EQ(channels.activeChannel, 3);
  EXPECT_TRUE(channels.Channel(3).activeMark);
  EXPECT_FALSE(channels.Channel(1).activeMark);
}

TEST_F(ChannelsTest, LastConnectedChannelCannotBeDisconnected) {
  channels.SetType(1, "ЖРМ 200");
  channels.DialogShown();
  channels.SetDisconnected(1, true);
  EXPECT_FALSE(channels.Channel(1).disconnected);
  EXPECT_EQ(channels.Channel(1).deviceType, "ЖРМ 1.5");
  EXPECT_EQ(channels.activeChannel, 1);
  EXPECT_TRUE(channels.Channel(1).activeMark);
  EXPECT_EQ(warning.shown, 0);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ChannelsTest, ConfirmedDisconnectHidesTheChannel) {
  Connect(2, "ЖРМ 2.0");
  channels.DialogShown();
  warning.answers.push_back({true, false});
  channels.SetDisconnected(2, true);
  EXPECT_TRUE(channels.Channel(2).disconnected);
  EXPECT_FALSE(channels.Channel(2).controlsShown);
  EXPECT_EQ(channels.Channel(2).deviceType, "ЖРМ 2.0");  // values stay
  EXPECT_EQ(channels.activeChannel, 1);
}

TEST_F(ChannelsTest, SkipBoxSilencesLaterWarnings) {
  Connect(2, "ЖРМ 3");
  Connect(4, "ЖРМ 3");
  channels.DialogShown();
  warning.answers.push_back({false, true});  // cancelled, but "Больше не предупреждать"
  channels.SetDisconnected(2, true);
  EXPECT_FALSE(channels.Channel(2).disconnected);
  channels.SetDisconnected(4, true);
  EXPECT_TRUE(channels.Channel(4).disconnected);
  EXPECT_EQ(warning.shown, 1);
}

TEST_F(ChannelsTest, NoWarningBeforeTheDialogWasShown) {
  Connect(2, "ЖРМ 3");
  channels.SetDisconnected(2, true);
  EXPECT_TRUE(channels.Channel(2).disconnected);
  EXPECT_EQ(warning.shown, 0);
}

TEST_F(ChannelsTest, ReconnectingResetsTheTypeAndCreatesTheBaseFile) {
  channels.SetType(5, "ЖРМ 3+");
  channels.SetDisconnected(5, false);
  EXPECT_EQ(channels.Channel(5).deviceType, "ЖРМ 1.5");
  EXPECT_TRUE(channels.Channel(5).controlsShown);
  EXPECT_TRUE(channels.Channel(5).kkmFieldShown);
  EXPECT_EQ(std::filesystem::file_size(dir.path() / "Base" / "Base5.bsd"), 12288u * 77u);
}

TEST_F(ChannelsTest, ReconnectKeepsAnExistingBaseFile) {
  testing::WriteBytes(dir.path() / "Base" / "Base6.bsd", "keep");
  channels.SetDisconnected(6, false);
  EXPECT_EQ(testing::ReadBytes(dir.path() / "Base" / "Base6.bsd"), "keep");
}

TEST_F(ChannelsTest, TypeRuleShowsTheNumbersTheTypeUses) {
  Connect(5, "ЖРМ 3+");
  EXPECT_TRUE(channels.Channel(5).zhrmFieldShown);
  EXPECT_FALSE(channels.Channel(5).kkmFieldShown);
  EXPECT_TRUE(channels.Channel(1).kkmFieldShown);  // channel 1 untouched
  channels.SetType(5, "ККМ ЗЕЛ-7Ф");
  EXPECT_FALSE(channels.Channel(5).zhrmFieldShown);
  EXPECT_TRUE(channels.Channel(5).kkmFieldShown);
  channels.SetType(5, "ЖРМ 200");  // no rule: fields stay
  EXPECT_FALSE(channels.Channel(5).zhrmFieldShown);
  channels.SetType(5, "ЖРМ 1.5в");
  EXPECT_TRUE(channels.Channel(5).zhrmFieldShown);
  EXPECT_TRUE(channels.Channel(5).kkmFieldShown);
}

TEST_F(ChannelsTest, SetNextPicksTheLowestConnectedChannel) {
  Connect(9, "ЖРМ 3");
  Connect(4, "ЖРМ 3");
  channels.Channel(1).disconnected = true;
  EXPECT_EQ(channels.SetNext(), 1);
  EXPECT_EQ(channels.activeChannel, 4);
  EXPECT_FALSE(channels.Channel(1).activeMark);
  for (int n : {4, 9}) channels.Channel(n).disconnected = true;
  EXPECT_EQ(channels.SetNext(), 0);
  EXPECT_EQ(channels.activeChannel, 4);
}

TEST_F(ChannelsTest, WithReactionsOffTickingRunsNoStep) {
  channels.reactionsEnabled = false;
  channels.SetType(3, "ЖРМ 3");
  channels.SetDisconnected(3, false);
  EXPECT_FALSE(channels.Channel(3).disconnected);
  EXPECT_EQ(channels.Channel(3).deviceType, "ЖРМ 3");
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "Base" / "Base3.bsd"));
}

TEST(DeviceTypeTable, DialogListOffersZhrm200OnChannel1Only) {
  const std::vector<std::string> one = DeviceTypeTable::DialogList(1);
  ASSERT_EQ(one.size(), 7u);
  EXPECT_EQ(one[0], "ЖРМ 1.5");
  EXPECT_EQ(one[2], "ЖРМ 3");
  EXPECT_EQ(one[5], "ККМ ЗЕЛ-7Ф");
  EXPECT_EQ(one[6], "ЖРМ 200");
  EXPECT_EQ(DeviceTypeTable::DialogList(2).size(), 6u);
}

}  // namespace
}  // namespace zel
