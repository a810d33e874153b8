#include "base/active_device.h"

#include <gtest/gtest.h>

#include "base/device_types.h"
#include "base_test_support.h"

namespace zel {
namespace {

class ActiveDeviceTest : public testing::WorkspaceTest {
 protected:
  // Connects channel n with `type` and makes it the active one.
  void Activate(int n, const char* type) {
    ws.channels.SetDisconnected(n, false);
    ws.channels.SetType(n, type);
    ws.channels.MarkActive(n);
  }
};

TEST_F(ActiveDeviceTest, SelectZhrmCopiesTheActiveChannelAndLoadsItsBase) {
  Activate(2, "ЖРМ 2.0");
  ws.channels.Channel(2).zhrmNumber = "0042";
  ws.range.SetEndText("8");
  ASSERT_TRUE(CheckBaseRange(ws.range, "ЖРМ 2.0", prompts));
  prompts.Clear();
  SelectZhrm(ws);
  EXPECT_EQ(ws.device.typeText, "ЖРМ 2.0");
  EXPECT_EQ(ws.device.zhrmNumber, "0042");
  EXPECT_EQ(ws.device.kkmNumber, "00000002");
  EXPECT_EQ(ws.device.baseFileName, "Base2.bsd");
  EXPECT_TRUE(ws.device.zhrmNumberShown);
  EXPECT_FALSE(ws.device.kkmNumberShown);
  EXPECT_TRUE(ws.device.blockKkmShown);
  EXPECT_FALSE(ws.device.controlTapesOn);
  EXPECT_EQ(ws.table.ColumnCount(), 6);
  EXPECT_EQ(ws.table.RowCount(), 9);
  EXPECT_EQ(link.Settings().baud, 19200u);
}

TEST_F(ActiveDeviceTest, Zhrm15FamilyRunsAt10416) {
  Activate(1, "ЖРМ 1.5в");
  SelectZhrm(ws);
  EXPECT_EQ(link.Settings().baud, 10416u);
  EXPECT_EQ(ws.table.ColumnCount(), 7);
  EXPECT_EQ(ws.table.Cell(0, 6), "Весы");
  EXPECT_TRUE(ws.device.kkmNumberShown);
  EXPECT_EQ(ws.device.capacity, 4096);
}

TEST_F(ActiveDeviceTest, Zhrm200HasEightColumnsAndControlTapes) {
  Activate(1, "ЖРМ 200");
  SelectZhrm(ws);
  EXPECT_EQ(ws.table.ColumnCount(), 8);
  EXPECT_EQ(ws.table.Cell(0, 6), "Тов. группа");
  EXPECT_EQ(ws.table.Cell(0, 7), "Весы");
  EXPECT_TRUE(ws.device.controlTapesOn);
  EXPECT_FALSE(ws.device.blockKkmShown);
  EXPECT_EQ(ws.device.capacity, 11234);
}

TEST_F(ActiveDeviceTest, Zhrm3WithAnUnofferedSpeedFallsBackTo9600) {
  Activate(1, "ЖРМ 3");
  port.speedText = "4800";
  SelectZhrm(ws);
  EXPECT_EQ(port.speedText, "9600");
  EXPECT_EQ(link.Settings().baud, 9600u);
  port.speedText = "57600";
  SelectZhrm(ws);
  EXPECT_EQ(link.Settings().baud, 57600u);
}

TEST_F(ActiveDeviceTest, SwitchingFromZhrm3PlusToZhrm3ClampsTheRange) {
  Activate(1, "ЖРМ 3+");
  Activate(2, "ЖРМ 3");
  ws.channels.MarkActive(1);
  ws.range.SetStartText("1");
  ws.range.SetEndText("12288");
  ASSERT_TRUE(CheckBaseRange(ws.range, "ЖРМ 3+", prompts));
  SelectZhrm(ws);
  EXPECT_EQ(ws.range.EndText(), "12288");  // no clamp at the capacity
  EXPECT_EQ(ws.table.RowCount(), 12289);
  ws.channels.MarkActive(2);
  SelectZhrm(ws);
  EXPECT_EQ(ws.range.StartText(), "1");
  EXPECT_EQ(ws.range.EndText(), "4096");
  EXPECT_EQ(ws.range.CurrentRecord, 1);
  EXPECT_EQ(ws.range.LastRecord, 4096);
  EXPECT_EQ(ws.table.RowCount(), 4097);
  EXPECT_TRUE(ws.controls.tableEnabled);
  EXPECT_FALSE(ws.controls.confirmRangeEnabled);
}

TEST_F(ActiveDeviceTest, RegisterRunsSetZhrmFirst) {
  Activate(1, "ККМ ЗЕЛ-7Ф");
  std::string error;
  ASSERT_TRUE(ws.folder.CreateBase("Base1.bsd", error));
  ws.channels.Channel(1).kkmNumber = "12a";
  SelectZhrm(ws);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Неверный номер ККМ !!!"});
  EXPECT_EQ(ws.device.kkmNumber, "00000001");
  EXPECT_EQ(ws.channels.Channel(1).kkmNumber, "12a");  // the channel keeps its value
  EXPECT_EQ(ws.table.ColumnCount(), 7);
  EXPECT_EQ(ws.table.Cell(0, 6), "Тов. группа");
  EXPECT_FALSE(ws.device.zhrmNumberShown);
  EXPECT_EQ(ws.device.capacity, 4000);
  EXPECT_EQ(link.Settings().baud, 9600u);
}

TEST_F(ActiveDeviceTest, LatinZelTypeSelectsNoFamily) {
  Activate(1, "ЖРМ 3");
  SelectZhrm(ws);
  ws.channels.SetType(1, "ККМ ZEL-7Ф");
  SelectZhrm(ws);
  EXPECT_EQ(ws.table.ColumnCount(), 7);
  EXPECT_TRUE(ws.device.controlTapesOn);  // left from "ЖРМ 3"
  EXPECT_EQ(ws.device.typeText, "ККМ ZEL-7Ф");
  EXPECT_TRUE(Set_Zhrm(ws));
}

TEST_F(ActiveDeviceTest, NoActiveChannelKeepsTheDisplayedDevice) {
  ws.channels.ClearActiveMark(1);
  ws.device.typeText = "ЖРМ 3";
  ws.device.zhrmNumber = "0099";
  ws.device.baseFileName = "Base16.bsd";
  SelectZhrm(ws);
  EXPECT_EQ(ws.device.zhrmNumber, "0099");
  EXPECT_TRUE(std::filesystem::exists(BasePath(16)));
}

TEST_F(ActiveDeviceTest, SetZhrmCompletesNumbersAndDerivesAddresses) {
  ws.device = {};
  ws.device.typeText = "ЖРМ 3";
  ws.device.zhrmNumber = "7";
  ws.device.kkmNumber = "12341234";
  ASSERT_TRUE(Set_Zhrm(ws));
  EXPECT_EQ(ws.device.zhrmNumber, "0007");
  EXPECT_EQ(link.Addresses().zhrmAddress, 0x0007);
  EXPECT_EQ(link.Addresses().kkmAddress, 0x1234);
  EXPECT_EQ(link.Addresses().kkmAddressLow, 0x34);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ActiveDeviceTest, SetZhrmEmptyNumbersBecomeZeros) {
  ws.device.typeText = "ЖРМ 1.5";
  ws.device.zhrmNumber = "";
  ws.device.kkmNumber = "";
  ASSERT_TRUE(Set_Zhrm(ws));
  EXPECT_EQ(ws.device.zhrmNumber, "0000");
  EXPECT_EQ(ws.device.kkmNumber, "00000000");
  EXPECT_EQ(link.Addresses().kkmAddressLow, 0x00);
}

struct SetZhrmCase {
  const char* zhrm;
  const char* kkm;
  const char* type;
  const char* message;
  const char* zhrmAfter;
  const char* kkmAfter;
};

class SetZhrmRejects : public testing::WorkspaceTest,
                       public ::testing::WithParamInterface<SetZhrmCase> {};

TEST_P(SetZhrmRejects, WithItsMessage) {
  const SetZhrmCase& c = GetParam();
  ws.device.zhrmNumber = c.zhrm;
  ws.device.kkmNumber = c.kkm;
  ws.device.typeText = c.type;
  EXPECT_FALSE(Set_Zhrm(ws));
  EXPECT_EQ(prompts.shown(),
            (std::vector<testing::ScriptedPrompts::Shown>{{"message", c.message}}));
  EXPECT_EQ(ws.device.zhrmNumber, c.zhrmAfter);
  EXPECT_EQ(ws.device.kkmNumber, c.kkmAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetZhrmRejects,
    ::testing::Values(
        SetZhrmCase{"12A4", "00000001", "ЖРМ 3", "Неверный номер ЖРМ !!!", "0001", "00000001"},
        SetZhrmCase{"12", "1 2", "ЖРМ 3", "Неверный номер ККМ !!!", "0012", "00000001"},
        SetZhrmCase{"1", "5", "ЖРМ 4", "Неверная версия ЖРМ !!!", "0001", "00000005"},
        SetZhrmCase{"1", "5", "жрм 3", "Неверная версия ЖРМ !!!", "0001", "00000005"}));

TEST_F(ActiveDeviceTest, ZhrmAddressIsSetBeforeTheKkmCheck) {
  ws.device.zhrmNumber = "1234";
  ws.device.kkmNumber = "x";
  EXPECT_FALSE(Set_Zhrm(ws));
  EXPECT_EQ(link.Addresses().zhrmAddress, 0x1234);
}

TEST_F(ActiveDeviceTest, ServerActivationRefusesASwitchedOffChannel) {
  EXPECT_FALSE(ActivateChannelForServer(ws, 7));
  EXPECT_FALSE(ActivateChannelForServer(ws, 17));
  EXPECT_EQ(ws.channels.activeChannel, 1);
  Activate(7, "ЖРМ 3");
  ws.channels.MarkActive(1);
  ASSERT_TRUE(ActivateChannelForServer(ws, 7));
  EXPECT_EQ(ws.channels.activeChannel, 7);
  EXPECT_EQ(ws.channels.frontPage, 7);
  EXPECT_EQ(ws.device.baseFileName, "Base7.bsd");
}

}  // namespace
}  // namespace zel
