// Control tapes of the ЖРМ 3 family and the barcode entry window's logic.
#include "operations/control_tapes.h"

#include <gtest/gtest.h>

#include "base/base_ops.h"
#include "operations/barcode_entry.h"
#include "operations_fixture.h"

namespace zel::testing {
namespace {

class ScriptedReminder final : public TapeReminder {
 public:
  bool Show(int& mode) override {
    ++shown;
    if (choice) mode = choice;
    return ok;
  }
  int shown = 0;
  int choice = 0;  // 0: keep the window's choice
  bool ok = true;
};

class ControlTapes : public OperationsTest {
 protected:
  void SetUpTapes(Zhrm3FamilyModel model, const char* type) {
    Activate(type);
    device = AttachWithTapes(model);
  }

  std::shared_ptr<Zhrm3Device> device;
  TapeTables tapes;
  ScriptedReminder reminder;
};

TEST_F(ControlTapes, ListingStopsAtTheCurrentBlock) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3Plus, "ЖРМ 3+");
  line->ClearSent();
  ListTapeBlocks(ws, tapes);
  ASSERT_EQ(tapes.blocks.size(), 3u);
  EXPECT_EQ(tapes.blocks[0], (std::array<std::string, 4>{"***", "17", "05.12.00", "1"}));
  EXPECT_EQ(tapes.blocks[1], (std::array<std::string, 4>{"", "18", "06.12.00", "2"}));
  EXPECT_EQ(tapes.blocks[2], (std::array<std::string, 4>{"", "Текущая", "", "1"}));
  EXPECT_TRUE(tapes.blocksHeaderFixed);
  // Block information asked for blocks 1..3 only: 02 05 k.
  int asked = 0;
  for (const auto& s : line->Sent()) asked += s.value == 0x05 && s.parity == Parity::Space;
  EXPECT_EQ(asked, 3);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(ControlTapes, ReadingAChosenTapeUsesTheTablesNamesAndPrices) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  ListTapeBlocks(ws, tapes);
  tapes.ChooseBlock(2);
  ws.options.reminderMenuTicked = false;
  // The table is reloaded from the base file; put product 6 there first.
  SetRange("1", "4096");
  ASSERT_TRUE(ConfirmRange(ws));
  ws.table.SetCell(6, kColName, "МОЛОКО");
  ws.table.SetCell(6, kColPrice, "45.90");
  ws.table.CurrentProductRow = 6;
  ASSERT_TRUE(WriteTovar(ws));
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_EQ(reminder.shown, 0);
  ASSERT_EQ(tapes.purchases.size(), 2u);
  EXPECT_EQ(tapes.purchases[0][0], "3");
  EXPECT_EQ(tapes.purchases[0][3], "0.250");
  EXPECT_EQ(tapes.purchases[0][4], "Продажа");
  EXPECT_EQ(tapes.purchases[1],
            (std::array<std::string, 5>{"6", "МОЛОКО", "45.90", "1.000", "Возврат"}));
  EXPECT_TRUE(tapes.purchasesHeaderFixed);
}

TEST_F(ControlTapes, ClosingTheReminderCancelsAfterTheTableWasReloaded) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  ListTapeBlocks(ws, tapes);
  SetRange("1", "10");
  reminder.ok = false;
  line->ClearSent();
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_EQ(reminder.shown, 1);
  EXPECT_EQ(ws.range.EndText(), "4096");
  EXPECT_TRUE(tapes.purchases.empty());
  EXPECT_TRUE(line->Sent().empty());
}

TEST_F(ControlTapes, NeverRemindUntilTheMenuItemIsTickedAgain) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  ListTapeBlocks(ws, tapes);
  reminder.choice = kRemindNever;
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_FALSE(ws.options.reminderMenuTicked);
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_EQ(reminder.shown, 1);
  ws.options.reminderMenuTicked = true;
  reminder.choice = kRemindAlways;
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_EQ(reminder.shown, 2);
  EXPECT_TRUE(ws.options.reminderMenuTicked);
}

TEST_F(ControlTapes, ReadWithoutReminderReadsTheWholeBaseFirst) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  ListTapeBlocks(ws, tapes);
  reminder.choice = kReadBaseWithoutReminder;
  line->ClearSent();
  ReadChosenTape(ws, tapes, reminder);
  // The first request after the address byte reads record 0: 03 03 00 00 F9.
  const auto& s = line->Sent();
  ASSERT_GT(s.size(), 6u);
  EXPECT_EQ(s[1].value, 0x03);
  EXPECT_EQ(s[2].value, 0x03);
  EXPECT_EQ(s[3].value, 0x00);
  EXPECT_EQ(s[4].value, 0x00);
  EXPECT_EQ(tapes.purchases.size(), 1u);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(ControlTapes, EraseSuccessEmptiesBothTables) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm200, "ЖРМ 200");
  ListTapeBlocks(ws, tapes);
  prompts.Answer(Answer::Yes);
  const int64_t start = clock.NowUs();
  EraseTapes(ws, tapes);
  EXPECT_GT(clock.NowUs() - start, 1'000'000);
  EXPECT_TRUE(tapes.blocks.empty());
  EXPECT_FALSE(tapes.blocksHeaderFixed);
  EXPECT_EQ(device->Tapes().ClosedCount(), 0u);
}

TEST_F(ControlTapes, EraseFailureKeepsTheTables) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  ListTapeBlocks(ws, tapes);
  device->Faults().Silent();
  prompts.Answer(Answer::Yes);
  EraseTapes(ws, tapes);
  EXPECT_EQ(tapes.blocks.size(), 3u);
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, "information");
  EXPECT_EQ(prompts.shown()[1].text, "Ошибка RS232 или неверный номер ЖРМ 3");
}

TEST_F(ControlTapes, ListingFailureKeepsWhatWasListed) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  device->Faults().FailNthRequest(2, 100);
  ListTapeBlocks(ws, tapes);
  EXPECT_EQ(tapes.blocks.size(), 1u);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Ошибка RS-232 или неверный номер ЖРМ 3(+)"});
}

TEST_F(ControlTapes, TapeReadWithoutAChosenBlockStopsQuietly) {
  SetUpTapes(Zhrm3FamilyModel::Zhrm3, "ЖРМ 3");
  line->ClearSent();
  ReadChosenTape(ws, tapes, reminder);
  EXPECT_TRUE(line->Sent().empty());
  EXPECT_TRUE(prompts.shown().empty());
}

class Barcodes : public OperationsTest {};

TEST_F(Barcodes, LookupAndButtonStates) {
  struct Case {
    const char* type;
    LastBarcode barcode;
    const char* cell;  // barcode cell of row 3
    const char* result;
    bool piece;
    bool weight;
  };
  const Case cases[] = {
      {"ЖРМ 3", {"4601234", true}, "4601234", "Номер товара - 3", false, false},
      {"ЖРМ 3", {"4601234", true}, "1", "Код в базе отсутствует.", true, false},
      {"ЖРМ 1.5", {"201234500000", true}, "12345", "Номер товара - 3", false, false},
      {"ЖРМ 1.5", {"200102000000", true}, "12", "Номер товара - 3", false, false},
      {"ЖРМ 1.5", {"20123450000", false}, "12345", "Код в базе отсутствует.", true, false},
      {"ЖРМ 1.5", {"201234500000", true}, "9", "Код в базе отсутствует.", true, true},
      {"ЖРМ 2.0", {"201234500000", true}, "201234500000", "Номер товара - 3", false, false},
      {"ЖРМ 2.0", {"201234599999", true}, "201234500000", "Номер товара - 3", false, false},
  };
  for (const auto& c : cases) {
    Activate(c.type);
    ws.table.SetCell(3, kColBarcode, c.cell);
    BarcodeEntry entry;
    entry.Show(ws, c.barcode);
    EXPECT_EQ(entry.view.code, c.barcode.code) << c.type << " " << c.cell;
    EXPECT_EQ(entry.view.result, c.result) << c.type << " " << c.cell;
    EXPECT_EQ(entry.view.pieceEnabled, c.piece) << c.type << " " << c.cell;
    EXPECT_EQ(entry.view.weightEnabled, c.weight) << c.type << " " << c.cell;
    ws.table.SetCell(3, kColBarcode, "");
  }
}

TEST_F(Barcodes, PollsTheDeviceAndStoresAWeightCode) {
  Activate("ЖРМ 1.5");
  auto device = Attach<Zhrm15Device>(0x0001, 0x0001);
  device->SetLastBarcode("201234500000");
  BarcodeEntry entry;
  entry.Request(ws);
  EXPECT_TRUE(entry.TakeShowRequest());
  EXPECT_FALSE(entry.TakeShowRequest());
  // While the poll waits for its answer, a client's exchange finds the line busy.
  std::vector<ExchangeState> seen;
  ws.link.SetEventPump([&] { seen.push_back(ws.run.exchangeState); });
  ASSERT_EQ(entry.Poll(ws), BarcodePoll::Shown);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen, std::vector<ExchangeState>(seen.size(), ExchangeState::Busy));
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
  // Nor does a poll start on a line another exchange holds.
  ws.run.exchangeState = ExchangeState::Busy;
  line->ClearSent();
  EXPECT_EQ(entry.Poll(ws), BarcodePoll::NoAnswer);
  EXPECT_TRUE(line->Sent().empty());
  ws.run.exchangeState = ExchangeState::Idle;
  EXPECT_EQ(entry.view.code, "201234500000");
  EXPECT_TRUE(entry.view.weightEnabled);
  ws.table.CurrentProductRow = 7;
  entry.StoreAsWeight(ws);
  EXPECT_EQ(ws.table.Cell(7, kColBarcode), "12345");
  device->Faults().Silent();
  EXPECT_EQ(entry.Poll(ws), BarcodePoll::NoAnswer);
  EXPECT_EQ(entry.view.code, "12345");
  entry.Finish();
  EXPECT_EQ(entry.state, BarcodeEntryState::Closed);
}

TEST_F(Barcodes, RegisterShowsAllTwelveCharacters) {
  Activate("ККМ ЗЕЛ-7Ф");
  auto device = Attach<RegisterDevice>(0x01);
  device->SetLastBarcode("000000012345");
  BarcodeEntry entry;
  entry.Request(ws);
  entry.TakeShowRequest();
  ASSERT_EQ(entry.Poll(ws), BarcodePoll::Shown);
  EXPECT_EQ(entry.view.code, "000000012345");
}

}  // namespace
}  // namespace zel::testing
