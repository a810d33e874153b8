// Accounting read and reset, and clearing the table.
#include <gtest/gtest.h>

#include "base/base_ops.h"
#include "operations/operations.h"
#include "operations_fixture.h"

namespace zel::testing {
namespace {

class Accounting : public OperationsTest {};

TEST_F(Accounting, Zhrm20QuantitiesInThousandths) {
  Activate("ЖРМ 2.0");
  auto device = Attach<Zhrm20Device>(0x0001);
  device->SetAccounting(0, 1234);
  device->SetAccounting(1, 0);
  device->SetAccounting(2, 5);
  SetRange("1", "3");
  EXPECT_TRUE(ReadAccounting(ws));
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "1.234");
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "0.000");
  EXPECT_EQ(ws.table.Cell(3, kColAccounting), "0.005");
  EXPECT_TRUE(prompts.shown().empty());
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(Accounting, Zhrm15ReadsOneProductPerRequest) {
  Activate("ЖРМ 1.5");
  Attach<Zhrm15Device>(0x0001, 0x0001);
  SetRange("1", "3");  // aligned to the block 1..4 by the range check
  line->ClearSent();
  EXPECT_TRUE(ReadAccounting(ws));
  // Single-product prefixed frames: command 1, param1 = record, param2 = 1.
  EXPECT_EQ(SentText(),
            "F1n 00n F2n 01n 01n 00n 00n 01n 00n FDn "
            "F1n 00n F2n 01n 01n 01n 00n 01n 00n FCn "
            "F1n 00n F2n 01n 01n 02n 00n 01n 00n FBn "
            "F1n 00n F2n 01n 01n 03n 00n 01n 00n FAn ");
}

TEST_F(Accounting, ReadFailureMessagesPerType) {
  struct Case {
    const char* type;
    const char* message;
  };
  const Case cases[] = {
      {"ЖРМ 1.5", "Ошибка RS-232 или неверный номер ЖРМ 1.5"},
      {"ЖРМ 2.0", "Ошибка RS-232 или неверный номер ЖРМ 2"},
      {"ЖРМ 3", "Ошибка RS-232 или неверный номер ЖРМ 3(+)"},
      {"ККМ ЗЕЛ-7Ф", "Ошибка RS-232 или неверный номер ККМ"},
  };
  for (const auto& c : cases) {
    Activate(c.type);  // nothing on the line
    SetRange("1", "2");
    const std::string before = BaseBytes();
    EXPECT_FALSE(ReadAccounting(ws)) << c.type;
    EXPECT_EQ(prompts.texts(), std::vector<std::string>{c.message}) << c.type;
    EXPECT_EQ(BaseBytes(), before) << c.type;
    EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << c.type;
  }
}

TEST_F(Accounting, ResetAnsweredNoSendsNothingNotEvenTheLock) {
  Activate("ЖРМ 1.5");
  ws.options.blockKkm = true;
  Attach<Zhrm15Device>(0x0001, 0x0001);
  prompts.Answer(Answer::No);
  line->ClearSent();
  ResetAccounting(ws);
  EXPECT_TRUE(line->Sent().empty());
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Хотите очистить блок товароучета ?"});
}

TEST_F(Accounting, StopDuringResetStoresZerosAndReleasesTheLock) {
  Activate("ЖРМ 2.0");
  ws.options.blockKkm = true;
  auto device = Attach<Zhrm20Device>(0x0001);
  for (std::size_t n = 0; n < 5; ++n) device->SetAccounting(n, 1000);
  SetRange("1", "5");
  for (int row = 1; row <= 5; ++row) ws.table.SetCell(row, kColAccounting, "1.000");
  progress.onEvents = [this] {
    if (progress.advances == 2) ws.run.stopRequested = true;
  };
  prompts.Answer(Answer::Yes);
  ResetAccounting(ws);
  EXPECT_EQ(device->Accounting(1), 0u);
  EXPECT_EQ(device->Accounting(2), 1000u);
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "0.000");
  EXPECT_EQ(ws.table.Cell(3, kColAccounting), "1.000");
  EXPECT_FALSE(device->RegisterLocked());
  std::vector<ProductRecord> stored;
  std::string error;
  ASSERT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 0, 5, stored, error));
  EXPECT_EQ(stored[1].accounting, "0.000");
  EXPECT_EQ(stored[2].accounting, "1.000");
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(Accounting, ClearTableEmptiesOnlyTheRange) {
  Activate("ЖРМ 3");
  SetRange("1", "20");
  ASSERT_TRUE(ConfirmRange(ws));
  FillRows(20);
  ASSERT_TRUE(StoreBaseFile(ws));
  line->ClearSent();
  SetRange("10", "12");
  prompts.Answer(Answer::Yes);
  ClearTable(ws);
  EXPECT_TRUE(line->Sent().empty());
  std::vector<ProductRecord> stored;
  std::string error;
  ASSERT_TRUE(ws.folder.ReadRecords(ws.device.baseFileName, 0, 20, stored, error));
  EXPECT_FALSE(stored[8].name.empty());
  EXPECT_TRUE(stored[9].name.empty() || stored[9].name.find_first_not_of(' ') == std::string::npos);
  EXPECT_TRUE(stored[11].name.empty() ||
              stored[11].name.find_first_not_of(' ') == std::string::npos);
  EXPECT_FALSE(stored[12].name.empty());
}

}  // namespace
}  // namespace zel::testing
