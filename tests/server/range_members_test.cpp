// SetRange, SelectBase, SavePos, Visible, ClearTable, SetPrVes and
// SetTovGr: the members that complete inside the call.
#include <gtest/gtest.h>

#include "base/base_ops.h"
#include "base/base_record.h"
#include "server_fixture.h"

namespace zel::testing {
namespace {

class RangeMembers : public ServerTest {};

TEST_F(RangeMembers, SetRangeLimitsPerType) {
  struct Case {
    const char* type;
    int par1, par2;
    int result, code;
  };
  const Case cases[] = {
      {"ЖРМ 3", 1, 4096, 1, 0},   {"ЖРМ 3", 1, 4097, 0, 3},      {"ЖРМ 3+", 1, 12288, 1, 0},
      {"ЖРМ 3+", 1, 12289, 0, 3}, {"ЖРМ 3", 5, 4, 0, 3},         {"ЖРМ 3", 0, 10, 0, 3},
      {"ЖРМ 3", -1, 10, 0, 3},    {"ККМ ЗЕЛ-7Ф", 1, 4000, 1, 0}, {"ККМ ЗЕЛ-7Ф", 1, 4001, 0, 3},
      {"ЖРМ 1.5", 1, 4097, 0, 3}, {"ЖРМ 1.5в", 1, 4097, 0, 3},   {"ЖРМ 2.0", 1, 4097, 0, 3},
      {"ЖРМ 2.0", 10, 10, 1, 0},  {"ЖРМ 200", 1, 11234, 1, 0},
  };
  for (const auto& c : cases) {
    Activate(c.type);
    EXPECT_EQ(server.SetRange(c.par1, c.par2), c.result)
        << c.type << " " << c.par1 << ".." << c.par2;
    EXPECT_EQ(Code(), c.code) << c.type << " " << c.par1 << ".." << c.par2;
  }
}

TEST_F(RangeMembers, SetRangeLoadsTheRangeLikeTheConfirmButton) {
  Activate("ЖРМ 3");
  ws.table.SetCell(1, kColName, "ТОВАР");
  ws.table.CurrentProductRow = 1;
  ASSERT_TRUE(WriteTovar(ws));  // product 1 in the file
  EXPECT_EQ(server.SetRange(1, 3), 1);
  EXPECT_EQ(ws.range.StartText(), "1");
  EXPECT_EQ(ws.range.EndText(), "3");
  EXPECT_EQ(ws.range.CurrentRecord, 1);
  EXPECT_EQ(ws.range.LastRecord, 3);
  EXPECT_EQ(ws.table.RowCount(), 4);
  EXPECT_EQ(ws.table.Cell(1, kColName), "ТОВАР");
  EXPECT_TRUE(ws.controls.toolbarEnabled);
  EXPECT_FALSE(ws.controls.confirmRangeEnabled);
}

// A base file cut short: the load keeps what it holds and the member
// answers 0 with code 12 once; the table then shows the range.
TEST_F(RangeMembers, ShortBaseFileRefusesTheLoadingMemberWithTwelve) {
  Activate("ЖРМ 3");
  std::filesystem::resize_file(BasePath(1), 2 * 77);
  EXPECT_EQ(server.SetRange(1, 5), 0);
  EXPECT_EQ(Code(), 12);
  EXPECT_EQ(ws.table.RowCount(), 6);
  EXPECT_EQ(server.SetTop(1), 1);
  EXPECT_EQ(server.GetNextTovar(), 1);  // the range is loaded: no second notice
  ws.range.SetEndText("7");             // typed in the window, not confirmed
  EXPECT_EQ(server.ReadUchet(), 0);
  EXPECT_EQ(Code(), 12);
  EXPECT_EQ(server.SelectBase(ServerValue(int64_t{1})), 0);
  EXPECT_EQ(Code(), 12);
  EXPECT_EQ(std::filesystem::file_size(BasePath(1)), 2u * 77);
}

TEST_F(RangeMembers, SetRangeOnZhrm15AlignsToBlocks) {
  Activate("ЖРМ 1.5");
  EXPECT_EQ(server.SetRange(5, 7), 1);
  EXPECT_EQ(ws.range.StartText(), "5");
  EXPECT_EQ(ws.range.EndText(), "8");
}

// A range the type's own check rejects is reset to the whole base; the
// client hears of it instead of getting 1 for a range it does not have.
TEST_F(RangeMembers, SetRangeBeyondTheZhrm200BaseIsRefused) {
  Activate("ЖРМ 200");
  EXPECT_EQ(server.SetRange(1, 11235), 0);
  EXPECT_EQ(Code(), kCodeBadRange);
  EXPECT_EQ(ws.range.EndText(), "11234");
  EXPECT_EQ(prompts.texts(),
            std::vector<std::string>{"Диапазон базы должен быть в пределах 1..11234"});
}

TEST_F(RangeMembers, SelectBaseMakesTheChannelActive) {
  Activate("ЖРМ 3");
  DeviceChannel& c3 = ws.channels.Channel(3);
  c3.disconnected = false;
  c3.deviceType = "ККМ ЗЕЛ-7Ф";
  c3.zhrmNumber = "0003";
  c3.kkmNumber = "00000003";
  EXPECT_EQ(server.SelectBase(ServerValue("3")), 1);
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(ws.channels.activeChannel, 3);
  EXPECT_EQ(ws.channels.frontPage, 3);
  EXPECT_TRUE(ws.channels.Channel(3).activeMark);
  EXPECT_FALSE(ws.channels.Channel(1).activeMark);
  EXPECT_EQ(ws.device.typeText, "ККМ ЗЕЛ-7Ф");
  EXPECT_EQ(ws.device.baseFileName, "Base3.bsd");
  EXPECT_EQ(server.SelectBase(ServerValue(int64_t{1})), 1);
  EXPECT_EQ(ws.device.typeText, "ЖРМ 3");
}

TEST_F(RangeMembers, SelectBaseRefusesChannelsOutsideOrSwitchedOff) {
  Activate("ЖРМ 3");
  ws.channels.Channel(2).disconnected = true;
  for (int64_t n : {0, 17, -1, 2}) {
    server.SetTop(1);  // code 0 before each
    EXPECT_EQ(server.SelectBase(ServerValue(n)), 0) << n;
    EXPECT_EQ(Code(), kCodeBadRemoteBase) << n;
  }
  EXPECT_EQ(ws.channels.activeChannel, 1);
}

TEST_F(RangeMembers, SelectBaseWithTextThatIsNoNumberFailsAndKeepsTheCode) {
  Activate("ЖРМ 3");
  server.SelectBase(ServerValue(int64_t{17}));
  EXPECT_THROW(server.SelectBase(ServerValue("three")), ServerFailure);
  EXPECT_EQ(Code(), kCodeBadRemoteBase);
}

TEST_F(RangeMembers, SavePosWritesTheSettingsFile) {
  Activate("ЖРМ 3");
  ASSERT_EQ(server.SetRange(7, 9), 1);
  EXPECT_EQ(server.SavePos(), 1);
  const std::string ini = ReadBytes(settings.Path());
  EXPECT_NE(ini.find("begin=7\r\n"), std::string::npos);
  EXPECT_NE(ini.find("end=9\r\n"), std::string::npos);
}

TEST_F(RangeMembers, VisibleShowsAndHidesTheWindowWithoutACode) {
  server.SetRange(5, 4);
  server.Visible(0);
  server.Visible(7);
  EXPECT_EQ(view.visibility, (std::vector<bool>{false, true}));
  EXPECT_EQ(Code(), kCodeBadRange);
}

TEST_F(RangeMembers, ClearTableEmptiesTheRangeInTableAndFile) {
  ActivateRange("ЖРМ 3", 10, 12);
  FillRows(3);
  ws.table.CurrentProductRow = 2;
  ASSERT_TRUE(WriteTovar(ws));
  EXPECT_EQ(server.ClearTable(), 1);
  for (int row = 1; row <= 3; ++row) {
    EXPECT_EQ(ws.table.RecordAt(row), ClearedRecord()) << row;
    EXPECT_EQ(Stored(9 + row), ClearedRecord()) << row;
  }
  EXPECT_EQ(ClearedRecord().price, "0.00");
  EXPECT_EQ(ClearedRecord().column6, "0");
  EXPECT_EQ(ws.range.CurrentRecord, 10);
  EXPECT_EQ(ws.range.LastRecord, 12);
}

TEST_F(RangeMembers, ClearTableOnAnUnwritableBaseFileFails) {
  ActivateRange("ЖРМ 3", 1, 3);
  server.SetRange(5, 4);  // code 3
  std::filesystem::permissions(BasePath(1), std::filesystem::perms::owner_read);
  EXPECT_THROW(server.ClearTable(), ServerFailure);
  EXPECT_EQ(Code(), kCodeBadRange);
}

TEST_F(RangeMembers, SetPrVesAndSetTovGrChecks) {
  struct Case {
    const char* type;
    bool prVes;
    int num, value, code;
  };
  const Case cases[] = {
      {"ЖРМ 1.5в", true, 10, 2, 15},      {"ЖРМ 2.0", true, 10, 2, 12},
      {"ЖРМ 1.5", true, 10, 1, 12},       {"ЖРМ 1.5в", true, 0, 1, 14},
      {"ЖРМ 1.5в", true, 4097, 1, 14},    {"ЖРМ 1.5в", true, 4096, -1, 15},
      {"ККМ ЗЕЛ-7Ф", false, 10, 101, 16}, {"ККМ ЗЕЛ-7Ф", false, 4001, 5, 14},
      {"ЖРМ 3", false, 10, 5, 12},        {"ККМ ЗЕЛ-7Ф", false, 4000, 100, 0},
      {"ЖРМ 1.5в", true, 4096, 0, 0},
  };
  for (const auto& c : cases) {
    Activate(c.type);
    const int result = c.prVes ? server.SetPrVes(c.num, c.value) : server.SetTovGr(c.num, c.value);
    EXPECT_EQ(result, c.code == 0 ? 1 : 0) << c.type << " " << c.num << " " << c.value;
    EXPECT_EQ(Code(), c.code) << c.type << " " << c.num << " " << c.value;
  }
}

TEST_F(RangeMembers, SetPrVesChangesFileAndShownRow) {
  ActivateRange("ЖРМ 1.5в", 9, 12);
  EXPECT_EQ(server.SetPrVes(10, 1), 1);
  EXPECT_EQ(Stored(10).column6, "1");
  EXPECT_EQ(ws.table.Cell(2, kCol6), "1");
  // A product outside the shown range changes the file only.
  const ProductTable before = ws.table;
  EXPECT_EQ(server.SetPrVes(100, 1), 1);
  EXPECT_EQ(Stored(100).column6, "1");
  for (int row = 1; row <= 4; ++row) EXPECT_EQ(ws.table.Cell(row, kCol6), before.Cell(row, kCol6));
}

TEST_F(RangeMembers, SetTovGrKeepsTheOtherFieldsOfTheRecord) {
  ActivateRange("ККМ ЗЕЛ-7Ф", 1, 2);
  ws.table.SetCell(2, kColName, "СЫР");
  ws.table.CurrentProductRow = 2;
  ASSERT_TRUE(WriteTovar(ws));
  EXPECT_EQ(server.SetTovGr(2, 77), 1);
  EXPECT_EQ(Stored(2).name, "СЫР");
  EXPECT_EQ(Stored(2).column6, "77");
  EXPECT_EQ(ws.table.Cell(2, kCol6), "77");
}

TEST_F(RangeMembers, SetTovGrOnAMissingBaseFileFailsAndKeepsTheCode) {
  ActivateRange("ККМ ЗЕЛ-7Ф", 1, 2);
  server.SetTovGr(1, 500);
  std::filesystem::remove(BasePath(1));
  EXPECT_THROW(server.SetTovGr(1, 5), ServerFailure);
  EXPECT_EQ(Code(), kCodeBadProductGroup);
}

}  // namespace
}  // namespace zel::testing
