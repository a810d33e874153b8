// "Запись активной базы" against virtual devices on the simulated line.
#include <gtest/gtest.h>

#include <functional>

#include "common/cp1251.h"
#include "operations/operations.h"
#include "operations_fixture.h"
#include "support/line_rig.h"

namespace zel::testing {
namespace {

class WriteBase : public OperationsTest {};

TEST_F(WriteBase, Zhrm15RangeFiveToTwelveSendsBlocksOneAndTwo) {
  Activate("ЖРМ 1.5");
  Attach<Zhrm15Device>(0x0001, 0x0001);
  FillRows(8);
  SetRange("5", "12");
  prompts.Answer(Answer::Yes);
  line->ClearSent();
  WriteActiveBase(ws);
  // Each block: the prefixed frame (command 4, param1 4 x block), then 130 data bytes.
  ASSERT_EQ(line->Sent().size(), 2u * (10 + 130));
  const auto& s = line->Sent();
  EXPECT_EQ(s[4].value, 0x04);
  EXPECT_EQ(s[5].value, 0x04);
  EXPECT_EQ(s[140 + 4].value, 0x04);
  EXPECT_EQ(s[140 + 5].value, 0x08);
  EXPECT_TRUE(prompts.shown().size() == 1);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(WriteBase, NoSendsNothing) {
  Activate("ЖРМ 3");
  Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  prompts.Answer(Answer::No);
  line->ClearSent();
  WriteActiveBase(ws);
  EXPECT_TRUE(line->Sent().empty());
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Действительно хотите записать базу ?"});
}

TEST_F(WriteBase, Zhrm20LockFramesTheWriteOnEveryEnd) {
  struct Case {
    const char* name;
    int failFrom;  // first request the device ignores, 0 = none
    int failCount;
    bool stop;
    std::vector<uint8_t> commands;
  };
  const Case cases[] = {
      {"normal", 0, 0, false, {6, 4, 4, 7}},
      {"failure", 3, 5, false, {6, 4, 4, 4, 4, 4, 4, 7}},
      {"stop", 0, 0, true, {6, 4, 7}},
      {"release repeated until answered", 4, 2, false, {6, 4, 4, 7, 7, 7}},
  };
  for (const auto& c : cases) {
    line->DetachAll();
    Activate("ЖРМ 2.0");
    ws.options.blockKkm = true;
    auto device = Attach<Zhrm20Device>(0x0001);
    if (c.failFrom) device->Faults().FailNthRequest(c.failFrom, c.failCount);
    FillRows(2);
    SetRange("1", "2");
    progress.onEvents = [this, &c] {
      if (c.stop && progress.advances == 1) ws.run.stopRequested = true;
    };
    progress.advances = 0;
    prompts.Answer(Answer::Yes);
    line->ClearSent();
    WriteActiveBase(ws);
    EXPECT_EQ(Zhrm20Commands(*line), c.commands) << c.name;
    EXPECT_FALSE(device->RegisterLocked()) << c.name;
    EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << c.name;
  }
}

TEST_F(WriteBase, Zhrm3SendsNoLockEvenWhenTicked) {
  Activate("ЖРМ 3");
  ws.options.blockKkm = true;
  Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  FillRows(1);
  SetRange("1", "1");
  prompts.Answer(Answer::Yes);
  line->ClearSent();
  WriteActiveBase(ws);
  // One record: address, 37-byte frame.
  EXPECT_EQ(line->Sent().size(), 1u + 37u);
}

TEST_F(WriteBase, RegisterRecordCarriesPriceAndBarcodeDigits) {
  Activate("ККМ ЗЕЛ-7Ф");
  auto device = Attach<RegisterDevice>(0x01);
  ProductRecord r;
  r.name = "Сыр";
  r.price = "12.50";
  r.section = "3";
  r.barcode = "123";
  r.column6 = "7";
  SetRange("1", "1");
  ws.table.SetRecord(1, r);
  prompts.Answer(Answer::Yes);
  WriteActiveBase(ws);
  const auto rec = device->Record(0);
  EXPECT_EQ(std::vector<uint8_t>(rec.begin(), rec.begin() + 7),
            (std::vector<uint8_t>{0x00, 0x00, 0x00, 0x00, 0x01, 0x23, 0x01}));
  EXPECT_EQ(std::vector<uint8_t>(rec.begin() + 24, rec.begin() + 30),
            (std::vector<uint8_t>{0x00, 0x00, 0x12, 0x50, 0x03, 0x07}));
}

TEST_F(WriteBase, CellThatCannotBeEncodedEndsTheWriteWithItsProduct) {
  Activate("ЖРМ 2.0");
  ws.options.blockKkm = true;
  auto device = Attach<Zhrm20Device>(0x0001);
  SetRange("1", "3");
  FillRows(3);
  ws.table.SetCell(2, kColPrice, "12a.00");
  prompts.Answer(Answer::Yes);
  line->ClearSent();
  WriteActiveBase(ws);
  ASSERT_EQ(prompts.shown().size(), 2u);
  EXPECT_EQ(prompts.shown()[1].kind, "error");
  EXPECT_NE(prompts.shown()[1].text.find("Товар № 2"), std::string::npos);
  EXPECT_NE(prompts.shown()[1].text.find("Стоимость"), std::string::npos);
  EXPECT_EQ(Zhrm20Commands(*line), (std::vector<uint8_t>{6, 4, 7}));
  EXPECT_FALSE(device->RegisterLocked());
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

// A barcode with letters goes where the record holds characters; where it
// packs digits the write stops at that product with its message.
TEST_F(WriteBase, BarcodeWithLettersWhereTheRecordHoldsCharacters) {
  // "AB-12" right-aligned with "0" fill, then bytes 12 and 13; empty: stopped.
  const std::vector<uint8_t> indexed = {0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30,
                                        0x41, 0x42, 0x2D, 0x31, 0x32, 0x00, 0x07};
  const std::vector<uint8_t> plain = {0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30,
                                      0x41, 0x42, 0x2D, 0x31, 0x32, 0x01, 0x00};
  const std::pair<const char*, std::vector<uint8_t>> cases[] = {{"ЖРМ 1.5", indexed},
                                                                {"ЖРМ 3", indexed},
                                                                {"ЖРМ 200", plain},
                                                                {"ЖРМ 2.0", {}},
                                                                {"ККМ ЗЕЛ-7Ф", {}}};
  for (const auto& [type, expected] : cases) {
    line->DetachAll();
    Activate(type);
    std::function<std::span<uint8_t>()> record;
    const std::string t = type;
    if (t == "ЖРМ 1.5") {
      auto d = Attach<Zhrm15Device>(0x0001, 0x0001);
      record = [d] { return d->Record(0); };
    } else if (t == "ЖРМ 2.0") {
      auto d = Attach<Zhrm20Device>(0x0001);
      record = [d] { return d->Record(0); };
    } else if (t == "ККМ ЗЕЛ-7Ф") {
      auto d = Attach<RegisterDevice>(0x01);
      record = [d] { return d->Record(0); };
    } else {
      auto d = Attach<Zhrm3Device>(
          t == "ЖРМ 3" ? Zhrm3FamilyModel::Zhrm3 : Zhrm3FamilyModel::Zhrm200, 0x0001);
      record = [d] { return d->Record(0); };
    }
    SetRange("1", "1");
    ws.table.SetRecord(1, ProductRecord{"Сыр", "1.00", "1", "AB-12", "0.000", "0", "0"});
    const std::vector<uint8_t> before(record().begin(), record().end());
    prompts.Answer(Answer::Yes);
    WriteActiveBase(ws);
    const std::vector<uint8_t> after(record().begin(), record().end());
    if (expected.empty()) {
      ASSERT_EQ(prompts.shown().size(), 2u) << type;
      EXPECT_EQ(prompts.shown()[1].text,
                "Товар № 1: значение поля \"Штрих-код\" не может быть записано в прибор. "
                "Запись остановлена.")
          << type;
      EXPECT_EQ(after, before) << type;
      continue;
    }
    ASSERT_EQ(prompts.shown().size(), 1u) << type << ": " << prompts.texts().back();
    EXPECT_EQ(std::vector<uint8_t>(after.begin(), after.begin() + 14), expected) << type;
    ws.table.SetCell(1, kColBarcode, "");
    prompts.Answer(Answer::No);
    ReadActiveBase(ws);
    EXPECT_EQ(ws.table.Cell(1, kColBarcode), "AB-12") << type;
  }
}

TEST_F(WriteBase, TableBaseFileUntouched) {
  Activate("ЖРМ 3+");
  Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3Plus, 0x0001);
  FillRows(10);
  SetRange("1", "10");
  const std::string before = BaseBytes();
  prompts.Answer(Answer::Yes);
  WriteActiveBase(ws);
  EXPECT_EQ(BaseBytes(), before);
}

// Writes 200 varied products and reads them back for every type.
TEST_F(WriteBase, RoundTripPerType) {
  struct Case {
    const char* type;
    int nameChars;
  };
  const Case cases[] = {{"ЖРМ 1.5", 12}, {"ЖРМ 1.5в", 12}, {"ЖРМ 2.0", 12},   {"ЖРМ 3", 12},
                        {"ЖРМ 3+", 12},  {"ЖРМ 200", 17},  {"ККМ ЗЕЛ-7Ф", 16}};
  for (const auto& c : cases) {
    line->DetachAll();
    Activate(c.type);
    const std::string type = c.type;
    if (type == "ЖРМ 1.5" || type == "ЖРМ 1.5в")
      Attach<Zhrm15Device>(0x0001, 0x0001);
    else if (type == "ЖРМ 2.0")
      Attach<Zhrm20Device>(0x0001);
    else if (type == "ККМ ЗЕЛ-7Ф")
      Attach<RegisterDevice>(0x01);
    else {
      Attach<Zhrm3Device>(type == "ЖРМ 3"    ? Zhrm3FamilyModel::Zhrm3
                          : type == "ЖРМ 3+" ? Zhrm3FamilyModel::Zhrm3Plus
                                             : Zhrm3FamilyModel::Zhrm200,
                          0x0001);
    }
    FillRows(200);
    SetRange("1", "200");
    std::vector<ProductRecord> written;
    for (int row = 1; row <= 200; ++row) written.push_back(ws.table.RecordAt(row));
    prompts.Answer(Answer::Yes);
    WriteActiveBase(ws);
    ASSERT_EQ(prompts.shown().size(), 1u) << c.type;
    for (int row = 1; row <= 200; ++row) ws.table.SetRecord(row, ProductRecord{});
    prompts.Answer(Answer::No);
    ReadActiveBase(ws);
    ASSERT_EQ(prompts.shown().size(), 2u) << c.type;
    for (int row = 1; row <= 200; ++row) {
      const ProductRecord& w = written[static_cast<std::size_t>(row - 1)];
      std::string name = type == "ККМ ЗЕЛ-7Ф" ? w.name : UpperCase(w.name);
      name.resize(name.size() + (c.nameChars - Cp1251Length(name)), ' ');
      EXPECT_EQ(ws.table.Cell(row, kColName), name) << c.type << " row " << row;
      EXPECT_EQ(ws.table.Cell(row, kColPrice), w.price) << c.type << " row " << row;
      EXPECT_EQ(ws.table.Cell(row, kColSection), w.section) << c.type << " row " << row;
      EXPECT_EQ(ws.table.Cell(row, kColBarcode), w.barcode) << c.type << " row " << row;
    }
  }
}

}  // namespace
}  // namespace zel::testing
