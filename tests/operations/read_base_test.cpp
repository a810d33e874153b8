// "Чтение активной базы" against virtual devices on the simulated line.
#include <gtest/gtest.h>

#include "base/base_ops.h"
#include "devices/zhrm15_record.h"
#include "devices/zhrm20_record.h"
#include "operations/family_rules.h"
#include "operations/operations.h"
#include "operations_fixture.h"

namespace zel::testing {
namespace {

class ReadBase : public OperationsTest {};

ProductRecord Product(const std::string& name, const std::string& price,
                      const std::string& barcode) {
  ProductRecord r;
  r.name = name;
  r.price = price;
  r.section = "2";
  r.barcode = barcode;
  r.column6 = "1";
  return r;
}

TEST_F(ReadBase, Zhrm15RangeOneToEightReadsTwoBlocks) {
  Activate("ЖРМ 1.5");
  auto device = Attach<Zhrm15Device>(0x0001, 0x0001);
  for (std::size_t n = 0; n < 8; ++n) {
    EncodeZhrm15Record(Product("ХЛЕБ " + std::to_string(n + 1), "12.30", "123"), Zhrm15Model::Plain,
                       device->Record(n).first<32>());
  }
  SetRange("1", "8");
  prompts.Answer(Answer::No);
  line->ClearSent();
  ReadActiveBase(ws);

  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Читать одновременно с товароучетом ?"});
  // Two prefixed block reads: command 3 with param1 0 and 4.
  EXPECT_EQ(SentText(),
            "F1n 00n F2n 01n 03n 00n 00n 00n 00n FCn "
            "F1n 00n F2n 01n 03n 04n 00n 00n 00n F8n ");
  for (int row = 1; row <= 8; ++row) {
    EXPECT_EQ(ws.table.Cell(row, kColName), "ХЛЕБ " + std::to_string(row) + "      ") << row;
    EXPECT_EQ(ws.table.Cell(row, kColPrice), "12.30");
    EXPECT_EQ(ws.table.Cell(row, kColBarcode), "123");
    EXPECT_EQ(ws.table.Cell(row, kCol6), "0");  // the plain model has no scales byte
  }
  EXPECT_EQ(progress.calls,
            (std::vector<std::string>{"show Чтение базы 0 stop", "show Чтение базы 1 stop",
                                      "show Чтение базы 1 stop", "hide"}));
  EXPECT_EQ(progress.advances, 3);  // two blocks, then the full gauge
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(ws.controls.toolbarEnabled);
  std::vector<ProductRecord> stored;
  std::string error;
  ASSERT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 0, 8, stored, error));
  EXPECT_EQ(stored[7].name, "ХЛЕБ 8      ");
}

TEST_F(ReadBase, CancelDoesNothing) {
  Activate("ЖРМ 3");
  Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  const std::string before = BaseBytes();
  prompts.Answer(Answer::Cancel);
  line->ClearSent();
  ReadActiveBase(ws);
  EXPECT_TRUE(line->Sent().empty());
  EXPECT_TRUE(progress.calls.empty());
  EXPECT_EQ(BaseBytes(), before);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(ReadBase, YesReadsTheAccountingOfTheSameRange) {
  Activate("ЖРМ 3");
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  device->SetAccounting(0, 1500);
  device->SetAccounting(2, 5);
  SetRange("1", "3");
  prompts.Answer(Answer::Yes);
  ReadActiveBase(ws);
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "1.500");
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "0.000");
  EXPECT_EQ(ws.table.Cell(3, kColAccounting), "0.005");
  std::vector<ProductRecord> stored;
  std::string error;
  ASSERT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 0, 3, stored, error));
  EXPECT_EQ(stored[0].accounting, "1.500");
  EXPECT_TRUE(prompts.shown().size() == 1);
}

TEST_F(ReadBase, StopAtProductFiftyStoresTheWholeRange) {
  Activate("ЖРМ 3");
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  FillRows(100);
  prompts.Answer(Answer::Yes);
  WriteActiveBase(ws);  // the device now holds rows 1..100
  SetRange("1", "100");
  for (int row = 1; row <= 100; ++row) ws.table.SetCell(row, kColName, "OLD");
  progress.onEvents = [this] {
    if (progress.advances == 50) ws.run.stopRequested = true;
  };
  progress.advances = 0;
  prompts.Answer(Answer::No);
  ReadActiveBase(ws);
  EXPECT_NE(ws.table.Cell(50, kColName), "OLD");
  EXPECT_EQ(ws.table.Cell(51, kColName), "OLD");
  std::vector<ProductRecord> stored;
  std::string error;
  ASSERT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 0, 100, stored, error));
  EXPECT_EQ(stored[49].name, ws.table.Cell(50, kColName));
  EXPECT_EQ(stored[99].name, "OLD");
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(ws.controls.menusEnabled);
}

TEST_F(ReadBase, Zhrm20StatusTwoFiveTimesReportsCorruptBase) {
  Activate("ЖРМ 2.0");
  auto device = Attach<Zhrm20Device>(0x0001);
  device->Faults().StatusByte(2);
  SetRange("1", "4");
  prompts.Answer(Answer::No);
  ReadActiveBase(ws);
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, "error");
  EXPECT_EQ(prompts.shown()[1].text, kCorruptBaseMessage);
  EXPECT_EQ(device->Faults().Requests(), 5);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

struct FailureCase {
  const char* type;
  const char* message;
};

TEST_F(ReadBase, FailureAfterGoodRecordsKeepsRowsAndLeavesTheFileAlone) {
  const FailureCase cases[] = {
      {"ЖРМ 2.0", "Ошибка RS-232 или неверный номер прибора."},
      {"ЖРМ 3", "Ошибка RS-232 или неверный номер ЖРМ 3"},
      {"ЖРМ 3+", "Ошибка RS-232 или неверный номер ЖРМ 3"},
      {"ЖРМ 200", "Ошибка RS-232 или неверный номер ЖРМ 3"},
      {"ККМ ЗЕЛ-7Ф", "Ошибка RS-232 или неверный номер ККМ"},
  };
  for (const auto& c : cases) {
    line->DetachAll();
    Activate(c.type);
    DeviceFaults* faults = nullptr;
    if (std::string(c.type) == "ЖРМ 2.0")
      faults = &Attach<Zhrm20Device>(0x0001)->Faults();
    else if (std::string(c.type) == "ККМ ЗЕЛ-7Ф")
      faults = &Attach<RegisterDevice>(0x01)->Faults();
    else {
      const auto model = std::string(c.type) == "ЖРМ 3"    ? Zhrm3FamilyModel::Zhrm3
                         : std::string(c.type) == "ЖРМ 3+" ? Zhrm3FamilyModel::Zhrm3Plus
                                                           : Zhrm3FamilyModel::Zhrm200;
      faults = &Attach<Zhrm3Device>(model, 0x0001)->Faults();
    }
    faults->FailNthRequest(4, 1000);  // three good records, then silence
    SetRange("1", "6");
    for (int row = 1; row <= 6; ++row) ws.table.SetCell(row, kColName, "KEEP");
    const std::string before = BaseBytes();
    prompts.Answer(Answer::No);
    ReadActiveBase(ws);
    ASSERT_EQ(prompts.shown().size(), 2u) << c.type;
    EXPECT_EQ(prompts.shown()[1].text, c.message) << c.type;
    EXPECT_NE(ws.table.Cell(3, kColName), "KEEP") << c.type;
    EXPECT_EQ(ws.table.Cell(4, kColName), "KEEP") << c.type;
    EXPECT_EQ(BaseBytes(), before) << c.type;
    EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << c.type;
    EXPECT_EQ(ws.range.CurrentRecord, 1) << c.type;
  }
}

TEST_F(ReadBase, UnconfirmedInvalidRangeIsResetAndNothingIsSent) {
  Activate("ЖРМ 3");
  Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  SetRange("10", "5");
  prompts.Answer(Answer::No);
  line->ClearSent();
  ReadActiveBase(ws);
  EXPECT_TRUE(line->Sent().empty());
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, "error");
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(ws.controls.toolbarEnabled);
}

}  // namespace
}  // namespace zel::testing
