#include "base/base_ops.h"

#include <gtest/gtest.h>

#include "base/base_record.h"
#include "base_test_support.h"
#include "support/hex.h"

namespace zel {
namespace {

using testing::ReadBytes;
constexpr std::size_t kRec = 77;

class BaseOpsTest : public testing::WorkspaceTest {
 protected:
  void UseChannel(int n, const char* type) {
    ws.device.baseFileName = BaseFileName(n);
    ws.device.typeText = type;
  }
  void SetRange(const char* start, const char* end) {
    ws.range.SetStartText(start);
    ws.range.SetEndText(end);
    ASSERT_TRUE(CheckBaseRange(ws.range, ws.device.typeText, prompts));
  }
  void Create(int n) {
    std::string error;
    ASSERT_TRUE(ws.folder.CreateBase(BaseFileName(n), error)) << error;
  }
};

TEST_F(BaseOpsTest, MissingFileIsAnnouncedCreatedAndLoaded) {
  UseChannel(3, "ЖРМ 3");
  SetRange("1", "10");
  std::vector<ExchangeState> during;
  progress.onEvents = [&] { during.push_back(ws.run.exchangeState); };
  ASSERT_TRUE(LoadBaseFile(ws));
  EXPECT_EQ(prompts.texts(),
            std::vector<std::string>{"Не удалось открыть файл Base3.bsd\rданный файл будет создан "
                                     "заново."});
  EXPECT_EQ(prompts.shown()[0].kind, "information");
  EXPECT_EQ(std::filesystem::file_size(BasePath(3)), 12288u * 77u);
  EXPECT_EQ(ws.table.RowCount(), 11);
  for (int row = 1; row <= 10; ++row) {
    EXPECT_EQ(ws.table.Cell(row, kColNumber), std::to_string(row));
    EXPECT_EQ(ws.table.RecordAt(row), NewFileRecord());
  }
  EXPECT_EQ(during, std::vector<ExchangeState>(10, ExchangeState::Busy));
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_EQ(progress.calls, (std::vector<std::string>{"show Подгрузка файла 9 nostop", "hide"}));
  EXPECT_EQ(progress.advances, 10);
}

TEST_F(BaseOpsTest, ReadBaseFillsRowsFromTheRangeStart) {
  UseChannel(1, "ЖРМ 3+");
  Create(1);
  std::string error;
  ProductRecord r = NewFileRecord();
  r.name = "Кефир";
  ASSERT_TRUE(ws.folder.StoreRecord("Base1.bsd", 4999, r, error));
  SetRange("5000", "5003");
  ASSERT_TRUE(LoadBaseFile(ws));
  EXPECT_EQ(ws.table.RowCount(), 5);
  EXPECT_EQ(ws.table.Cell(1, kColNumber), "5000");
  EXPECT_EQ(ws.table.Cell(1, kColName), "Кефир");
  EXPECT_EQ(ws.table.Cell(4, kColNumber), "5003");
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(BaseOpsTest, FileThatCannotBeCreatedIsReportedAndLeavesIdle) {
  UseChannel(2, "ЖРМ 3");
  std::filesystem::create_directories(BasePath(2));  // a folder where the file should be
  SetRange("1", "4");
  EXPECT_FALSE(LoadBaseFile(ws));
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_FALSE(prompts.shown().empty());
  EXPECT_EQ(prompts.shown().back().kind, "error");
}

TEST_F(BaseOpsTest, FortyCharacterNameIsStoredAs34AndLoadsBackCut) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  SetRange("1", "5");
  ASSERT_TRUE(LoadBaseFile(ws));
  ws.table.SetCell(2, kColName, std::string(40, 'W'));
  ws.table.CurrentProductRow = 2;
  ws.table.CurrentProductCol = kColName;
  EXPECT_EQ(ConfirmCell(ws), CellOutcome::SaveRow);
  const std::string bytes = ReadBytes(BasePath(1));
  EXPECT_EQ(bytes.substr(kRec, 35), testing::Hex("22") + std::string(34, 'W'));
  ASSERT_TRUE(LoadBaseFile(ws));
  EXPECT_EQ(ws.table.Cell(2, kColName), std::string(34, 'W'));
}

TEST_F(BaseOpsTest, SavingTheRowOfProduct4097WritesRecord4096Only) {
  UseChannel(1, "ЖРМ 3+");
  Create(1);
  const std::string before = ReadBytes(BasePath(1));
  SetRange("4097", "4100");
  ASSERT_TRUE(LoadBaseFile(ws));
  ws.table.SetCell(1, kColPrice, "5");
  ws.table.CurrentProductRow = 1;
  ws.table.CurrentProductCol = kColPrice;
  EXPECT_EQ(ConfirmCell(ws), CellOutcome::SaveRow);
  const std::string after = ReadBytes(BasePath(1));
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 4096 * kRec), before.substr(0, 4096 * kRec));
  EXPECT_EQ(after.substr(4096 * kRec + 35, 5), testing::Hex("04 35 2E 30 30"));
  EXPECT_EQ(after.substr(4097 * kRec), before.substr(4097 * kRec));
}

TEST_F(BaseOpsTest, WriteTovarUsesColumn0NotTheRowIndex) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  ws.table.SetRowCount(3);
  ws.table.SetCell(2, kColNumber, "40");
  ws.table.SetCell(2, kColName, "X");
  ws.table.CurrentProductRow = 2;
  ASSERT_TRUE(WriteTovar(ws));
  EXPECT_EQ(ReadBytes(BasePath(1)).substr(39 * kRec, 2), testing::Hex("01 58"));
  ws.table.SetCell(2, kColNumber, "");
  EXPECT_FALSE(WriteTovar(ws));
  ws.table.SetCell(2, kColNumber, "12289");
  EXPECT_FALSE(WriteTovar(ws));
}

TEST_F(BaseOpsTest, StoringRange11To20RewritesRecords10To19Only) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  const std::string before = ReadBytes(BasePath(1));
  SetRange("11", "20");
  ASSERT_TRUE(LoadBaseFile(ws));
  for (int row = 1; row <= 10; ++row) ws.table.SetCell(row, kColName, "N" + std::to_string(row));
  ASSERT_TRUE(StoreBaseFile(ws));
  const std::string after = ReadBytes(BasePath(1));
  ASSERT_EQ(after.size(), before.size());
  EXPECT_EQ(after.substr(0, 10 * kRec), before.substr(0, 10 * kRec));
  EXPECT_EQ(after.substr(10 * kRec, 3), testing::Hex("02 4E 31"));
  EXPECT_EQ(after.substr(19 * kRec, 4), testing::Hex("03 4E 31 30"));
  EXPECT_EQ(after.substr(20 * kRec), before.substr(20 * kRec));
}

TEST_F(BaseOpsTest, WriteBaseTakesTheRangeFromTheFields) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  const std::string before = ReadBytes(BasePath(1));
  ws.range.SetStartText("x");
  EXPECT_FALSE(StoreBaseFile(ws));
  ws.range.SetStartText("30");
  ws.range.SetEndText("20");
  EXPECT_FALSE(StoreBaseFile(ws));
  EXPECT_EQ(ReadBytes(BasePath(1)), before);
  SetRange("2", "3");
  ASSERT_TRUE(LoadBaseFile(ws));
  ws.range.CurrentRecord = 4;  // where an exchange loop left it
  ASSERT_TRUE(StoreBaseFile(ws));
  EXPECT_EQ(ws.range.CurrentRecord, 2);
  EXPECT_EQ(ws.range.LastRecord, 3);
  // Rows the table does not hold are never stored as empty products.
  ws.range.SetEndText("4");
  prompts.Clear();
  EXPECT_FALSE(StoreBaseFile(ws));
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{
                                 "Таблица не содержит товары 2..4: файл Base1.bsd не изменен."});
  EXPECT_EQ(ReadBytes(BasePath(1)), before);
}

TEST_F(BaseOpsTest, ClearingRange1To4OfAZhrm3Base) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  SetRange("1", "6");
  ASSERT_TRUE(LoadBaseFile(ws));
  for (int row = 1; row <= 6; ++row) ws.table.SetCell(row, kColName, "old");
  ws.range.SetEndText("4");
  ASSERT_TRUE(CheckBaseRange(ws.range, "ЖРМ 3", prompts));
  ASSERT_TRUE(ClearBase(ws));
  const std::string bytes = ReadBytes(BasePath(1));
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(bytes.substr(i * kRec, kRec), testing::ClearedRecordBytes());
    EXPECT_EQ(ws.table.RecordAt(i + 1), (ProductRecord{"", "0.00", "1", "", "0.000", "0", "0"}));
  }
  EXPECT_EQ(bytes.substr(4 * kRec, kRec), testing::NewRecordBytes());
  EXPECT_EQ(ws.table.Cell(5, kColName), "old");
  EXPECT_EQ(progress.advances, 6 + 4);
}

TEST_F(BaseOpsTest, DuplicateBarcodeIsNotStored) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  SetRange("1", "4");
  ASSERT_TRUE(LoadBaseFile(ws));
  const std::string before = ReadBytes(BasePath(1));
  ws.table.SetCell(1, kColBarcode, "2000000000015");
  ws.table.SetCell(3, kColBarcode, "2000000000015");
  ws.table.CurrentProductRow = 3;
  ws.table.CurrentProductCol = kColBarcode;
  EXPECT_EQ(ConfirmCell(ws), CellOutcome::NotSaved);
  EXPECT_EQ(ReadBytes(BasePath(1)), before);
}

TEST_F(BaseOpsTest, SelectingAnotherCellConfirmsTheOneLeft) {
  UseChannel(1, "ЖРМ 3");
  Create(1);
  SetRange("1", "4");
  ASSERT_TRUE(LoadBaseFile(ws));
  ws.table.CurrentProductRow = 2;
  ws.table.CurrentProductCol = kColPrice;
  ws.table.SetCell(2, kColPrice, "3,5");
  SelectCell(ws, 3, kColAccounting);
  EXPECT_EQ(ws.table.Cell(2, kColPrice), "3.50");
  EXPECT_EQ(ReadBytes(BasePath(1)).substr(kRec + 35, 5), testing::Hex("04 33 2E 35 30"));
  EXPECT_EQ(ws.table.CurrentProductRow, 3);
  EXPECT_FALSE(IsEditableColumn(ws.table.CurrentProductCol));
  EXPECT_TRUE(IsEditableColumn(kColName));
}

TEST_F(BaseOpsTest, ConfirmRangeLoadsAndLeavesTheEditedState) {
  UseChannel(1, "ЖРМ 1.5");
  Create(1);
  ws.range.SetStartText("3");
  ws.range.SetEndText("10");
  EXPECT_TRUE(ws.controls.confirmRangeEnabled);
  ASSERT_TRUE(ConfirmRange(ws));
  EXPECT_EQ(ws.table.RowCount(), 13);
  EXPECT_FALSE(ws.controls.confirmRangeEnabled);
  EXPECT_TRUE(ws.controls.tableEnabled);
  EXPECT_TRUE(ws.controls.toolbarEnabled);
  EXPECT_TRUE(ws.controls.selectBaseEnabled);
}

TEST_F(BaseOpsTest, RejectedRangeChangesNothingElse) {
  UseChannel(1, "ЖРМ 2.0");
  Create(1);
  ws.range.SetStartText("5000");
  ws.range.SetEndText("5001");
  const int rows = ws.table.RowCount();
  EXPECT_FALSE(ConfirmRange(ws));
  EXPECT_EQ(ws.table.RowCount(), rows);
  EXPECT_TRUE(ws.controls.confirmRangeEnabled);
  EXPECT_EQ(ws.range.StartText(), "1");
  EXPECT_EQ(ws.range.EndText(), "4096");
}

}  // namespace
}  // namespace zel
