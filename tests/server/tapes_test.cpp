// The control-tape members: the slot list read inside the call, the tape
// read run step by step, and the cursors over both tables.
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace zel::testing {
namespace {

class Tapes : public ServerTest {
 protected:
  /// A ЖРМ 3 (or 3+) with the tapes of AttachWithTapes.
  void SetUpTapes(const char* type = "ЖРМ 3") {
    ActivateRange(type, 1, 10);
    const bool plus = std::string(type) == "ЖРМ 3+";
    device = AttachWithTapes(plus ? Zhrm3FamilyModel::Zhrm3Plus : Zhrm3FamilyModel::Zhrm3);
    ws.table.SetCell(3, kColName, "ХЛЕБ");
    ws.table.SetCell(3, kColPrice, "30.00");
    ws.table.SetCell(6, kColName, "МОЛОКО");
    ws.table.SetCell(6, kColPrice, "45.90");
  }

  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(Tapes, ReadBlockKLListsTheSlotsInsideTheCall) {
  SetUpTapes("ЖРМ 3+");
  view.panelCalls.clear();
  EXPECT_EQ(server.ReadBlockKL(), 1);
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(server.SlotKLCount(), 3);
  ASSERT_EQ(tapes.blocks.size(), 3u);
  EXPECT_EQ(tapes.blocks[0], (std::array<std::string, 4>{"***", "17", "05.12.00", "1"}));
  EXPECT_EQ(tapes.blocks[2], (std::array<std::string, 4>{"", "Текущая", "", "1"}));
  EXPECT_TRUE(tapes.blocksHeaderFixed);
  EXPECT_EQ(view.panelCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(ws.controls.toolbarEnabled);

  EXPECT_EQ(server.SetTopBlockKL(), 1);
  const char* numbers[] = {"17", "18", "Текущая"};
  const char* counts[] = {"1", "2", "1"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_EQ(server.GetNextBlockKL(), 1) << i;
    EXPECT_EQ(server.KLNumber(), numbers[i]);
    EXPECT_EQ(server.KLKolvo(), counts[i]);
  }
  EXPECT_EQ(server.KLDate(), "");
  EXPECT_EQ(server.GetNextBlockKL(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
}

TEST_F(Tapes, ReadBlockKLOnAnEmptyListLeavesNoSlot) {
  ActivateRange("ЖРМ 3", 1, 10);
  device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  device->Tapes().CloseCurrent(0xFFFF, 1, 1, 0);  // slot 1 reads FF FF
  EXPECT_EQ(server.ReadBlockKL(), 1);
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(server.SlotKLCount(), 0);
  EXPECT_TRUE(tapes.blocks.empty());
  EXPECT_EQ(server.GetNextBlockKL(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
  EXPECT_EQ(server.ReadKL(ServerValue(int64_t{1})), 0);
  EXPECT_EQ(Code(), kCodeNoSuchSlot);
}

TEST_F(Tapes, ReadBlockKLFailureKeepsTheEarlierCount) {
  SetUpTapes();
  ASSERT_EQ(server.ReadBlockKL(), 1);
  device->Faults().FailNthRequest(device->Faults().Requests() + 2, 1000);
  EXPECT_EQ(server.ReadBlockKL(), 0);
  EXPECT_EQ(Code(), kCodeLinkFailure);
  EXPECT_EQ(server.SlotKLCount(), 3);
  EXPECT_EQ(tapes.blocks.size(), 1u);  // the slot read before the failure
  EXPECT_FALSE(view.panelShown);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(Tapes, TapeMembersRefuseOtherTypes) {
  ActivateRange("ЖРМ 200", 1, 10);
  using Member = int (TServer::*)();
  for (Member m : {&TServer::ReadBlockKL, &TServer::GetNextBlockKL, &TServer::SetTopBlockKL,
                   &TServer::GetNextTovarKL, &TServer::SetTopTovarKL}) {
    server.SetTop(1);
    EXPECT_EQ((server.*m)(), 0);
    EXPECT_EQ(Code(), kCodeBadRemoteBase);
  }
  EXPECT_EQ(server.ReadKL(ServerValue(int64_t{1})), 0);
  EXPECT_EQ(Code(), kCodeBadRemoteBase);
}

TEST_F(Tapes, ReadKLOutsideTheSlotRowsIsRefused) {
  SetUpTapes();
  ASSERT_EQ(server.ReadBlockKL(), 1);
  for (int64_t slot : {4, 0, -1}) {
    EXPECT_EQ(server.ReadKL(ServerValue(slot)), 0) << slot;
    EXPECT_EQ(Code(), kCodeNoSuchSlot) << slot;
  }
  EXPECT_THROW(server.ReadKL(ServerValue("второй")), ServerFailure);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(Tapes, ReadKLTakesNamesAndPricesFromTheTableByPosition) {
  SetUpTapes();
  ASSERT_EQ(server.ReadBlockKL(), 1);
  ws.range.CurrentRecord = 7;
  view.progress.clear();
  ASSERT_EQ(server.ReadKL(ServerValue("2")), 1);
  EXPECT_EQ(server.BaseStatus(), 1);
  EXPECT_TRUE(ws.controls.tableEnabled);
  EXPECT_FALSE(ws.controls.toolbarEnabled);
  RunExchange();
  EXPECT_EQ(Code(), 0);
  ASSERT_EQ(tapes.purchases.size(), 2u);
  EXPECT_EQ(tapes.purchases[0], (std::array<std::string, 5>{"3", "ХЛЕБ", "30.00", "0.250", ""}));
  EXPECT_EQ(tapes.purchases[1], (std::array<std::string, 5>{"6", "МОЛОКО", "45.90", "1.000", ""}));
  EXPECT_TRUE(tapes.purchasesHeaderFixed);
  EXPECT_EQ(view.progress, (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ws.range.CurrentRecord, 7);  // a tape read keeps it
  EXPECT_FALSE(view.panelShown);

  EXPECT_EQ(server.SetTopTovarKL(), 1);
  ASSERT_EQ(server.GetNextTovarKL(), 1);
  ASSERT_EQ(server.GetNextTovarKL(), 1);
  EXPECT_EQ(server.Number(), "6");
  EXPECT_EQ(server.Name(), "МОЛОКО");
  EXPECT_EQ(server.Price(), "45.90");
  EXPECT_EQ(server.Uchet(), "1.000");
  EXPECT_EQ(server.GetNextTovarKL(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
}

TEST_F(Tapes, ReadKLOfAnEmptySlotEndsOnTheFirstStep) {
  ActivateRange("ЖРМ 3", 1, 10);
  device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  device->Tapes().CloseCurrent(3, 1, 2, 3);  // a closed tape without purchases
  ASSERT_EQ(server.ReadBlockKL(), 1);
  ASSERT_EQ(tapes.blocks[0][3], "0");
  const int before = device->Faults().Requests();
  ASSERT_EQ(server.ReadKL(ServerValue(int64_t{1})), 1);
  EXPECT_EQ(RunExchange(), 1);
  EXPECT_EQ(Code(), 0);
  EXPECT_TRUE(tapes.purchases.empty());
  EXPECT_FALSE(tapes.purchasesHeaderFixed);
  EXPECT_EQ(device->Faults().Requests(), before);
}

TEST_F(Tapes, ReadKLFailureEndsWithFour) {
  SetUpTapes();
  ASSERT_EQ(server.ReadBlockKL(), 1);
  device->Faults().Silent();
  ASSERT_EQ(server.ReadKL(ServerValue(int64_t{2})), 1);
  RunExchange();
  EXPECT_EQ(Code(), kCodeLinkFailure);
  EXPECT_TRUE(tapes.purchases.empty());
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(ws.controls.toolbarEnabled);
}

}  // namespace
}  // namespace zel::testing
