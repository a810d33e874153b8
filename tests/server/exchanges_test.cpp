// The four range exchanges started by the server and run step by step on
// the event loop, against virtual devices on the simulated line.
#include <gtest/gtest.h>

#include "base/base_ops.h"
#include "devices/zhrm15_record.h"
#include "devices/zhrm3_record.h"
#include "server_fixture.h"
#include "support/line_rig.h"

namespace zel::testing {
namespace {

class Exchanges : public ServerTest {
 protected:
  std::shared_ptr<Zhrm3Device> Zhrm3WithProducts(int count) {
    auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
    for (int n = 0; n < count; ++n) {
      EncodeZhrm3Record(Product(n + 1), device->Record(n).first<kZhrm3RecordBytes>());
    }
    return device;
  }

  static ProductRecord Product(int n) {
    ProductRecord r;
    r.name = "ТОВАР " + std::to_string(n);
    r.price = std::to_string(n) + ".25";
    r.section = std::to_string(n % 7 + 1);
    r.barcode = std::to_string(4600000 + n);
    r.column6 = "0";
    return r;
  }

  // Blocks asked for by the ЖРМ 1.5 read frames (command 3, param1 = 4 x block).
  std::vector<int> Zhrm15BlockReads() const {
    std::vector<int> blocks;
    const auto& s = line->Sent();
    for (std::size_t i = 0; i + 3 < s.size(); ++i) {
      if (s[i].value == 0xF2 && s[i + 1].value == 0x01 && s[i + 2].value == 0x03) {
        blocks.push_back(s[i + 3].value / 4);
      }
    }
    return blocks;
  }

  void ExpectIdleAtStart(int start, const std::string& what) {
    EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << what;
    EXPECT_EQ(server.BaseStatus(), 2) << what;
    EXPECT_EQ(ws.range.CurrentRecord, start) << what;
    EXPECT_FALSE(view.panelShown) << what;
    EXPECT_TRUE(ws.controls.toolbarEnabled && ws.controls.tableEnabled &&
                ws.controls.selectBaseEnabled && ws.controls.menusEnabled)
        << what;
    EXPECT_TRUE(server.Variables().StepStopFlag) << what;
  }
};

TEST_F(Exchanges, Zhrm15ReadsWholeBlocksIntoTheirRows) {
  struct Case {
    int start, end;
    std::vector<int> blocks;
    int firstProduct, rows;
  };
  const Case cases[] = {
      {5, 7, {1}, 5, 4},
      {1, 8, {0, 1}, 1, 8},
      {5, 8, {1}, 5, 4},
  };
  for (const auto& c : cases) {
    line->DetachAll();
    ActivateRange("ЖРМ 1.5", c.start, c.end);
    auto device = Attach<Zhrm15Device>(0x0001, 0x0001);
    for (int n = 0; n < 8; ++n) {
      EncodeZhrm15Record(Product(n + 1), Zhrm15Model::Plain, device->Record(n).first<32>());
    }
    line->ClearSent();
    ASSERT_EQ(server.ReadBase(), 1);
    RunExchange();
    const std::string what = std::to_string(c.start) + ".." + std::to_string(c.end);
    EXPECT_EQ(Code(), 0) << what;
    EXPECT_EQ(Zhrm15BlockReads(), c.blocks) << what;
    for (int row = 1; row <= c.rows; ++row) {
      const int n = c.firstProduct + row - 1;
      EXPECT_EQ(ws.table.Cell(row, kColName), "ТОВАР " + std::to_string(n) + "     ") << what;
      EXPECT_EQ(ws.table.Cell(row, kColPrice), std::to_string(n) + ".25") << what;
      EXPECT_EQ(ws.table.Cell(row, kCol6), "0") << what;
      EXPECT_EQ(Stored(n).price, std::to_string(n) + ".25") << what;
    }
    ExpectIdleAtStart(c.start, what);
  }
}

TEST_F(Exchanges, Zhrm15RangeNotOnBlockBoundsIsRefused) {
  ActivateRange("ЖРМ 1.5", 5, 8);
  ws.range.SetStartText("6");
  EXPECT_EQ(server.ReadBase(), 0);
  EXPECT_EQ(Code(), kCodeBadRange);
  EXPECT_EQ(server.WriteBase(), 0);
  EXPECT_FALSE(server.Context().stepper.Running());
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

TEST_F(Exchanges, MembersWaitWhileAReadRuns) {
  ActivateRange("ЖРМ 3", 1, 3);
  Zhrm3WithProducts(3);
  ASSERT_EQ(server.ReadBase(), 1);
  EXPECT_EQ(server.BaseStatus(), 1);
  EXPECT_TRUE(view.panelShown);
  EXPECT_FALSE(ws.controls.toolbarEnabled);
  EXPECT_FALSE(ws.controls.tableEnabled);
  EXPECT_FALSE(ws.controls.selectBaseEnabled);
  EXPECT_EQ(server.GetNextTovar(), 0);
  EXPECT_EQ(server.GetBaseError(), kCodeBusy);
  for (auto member :
       {&TServer::ReadBase, &TServer::WriteBase, &TServer::ReadUchet, &TServer::ClearUchet,
        &TServer::GetNext, &TServer::ClearTable, &TServer::SavePos, &TServer::ReadBlockKL}) {
    server.SetPrVes(0, 0);  // code 12: no busy check there
    EXPECT_EQ((server.*member)(), 0);
    EXPECT_EQ(Code(), kCodeBusy);
  }
  EXPECT_EQ(server.SetRange(1, 2), 0);
  EXPECT_EQ(server.SelectBase(ServerValue(int64_t{17})), 0);
  EXPECT_EQ(Code(), kCodeBadRemoteBase);
  EXPECT_EQ(server.SelectBase(ServerValue(int64_t{1})), 0);
  EXPECT_EQ(Code(), kCodeBusy);
  RunExchange();
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(ws.table.Cell(3, kColName), "ТОВАР 3     ");
  EXPECT_EQ(server.GetNextTovar(), 1);
}

TEST_F(Exchanges, ReadFailingOnTheThirdRecordKeepsTwoRowsAndTheFile) {
  ActivateRange("ЖРМ 3", 1, 5);
  auto device = Zhrm3WithProducts(5);
  device->Faults().FailNthRequest(3, 1000);
  for (int row = 1; row <= 5; ++row) ws.table.SetCell(row, kColName, "KEEP");
  const std::string before = BaseBytes();
  ASSERT_EQ(server.ReadBase(), 1);
  RunExchange();
  EXPECT_EQ(Code(), kCodeLinkFailure);
  EXPECT_EQ(ws.table.Cell(1, kColName), "ТОВАР 1     ");
  EXPECT_EQ(ws.table.Cell(2, kColName), "ТОВАР 2     ");
  EXPECT_EQ(ws.table.Cell(3, kColName), "KEEP");
  EXPECT_EQ(device->Faults().Requests(), 3);  // tried once
  EXPECT_EQ(BaseBytes(), before);
  ExpectIdleAtStart(1, "failed read");
}

TEST_F(Exchanges, WriteRetriesFiveTimesPerRecord) {
  struct Case {
    int failures;
    int code;
    int written;
  };
  for (const Case c : {Case{4, 0, 3}, Case{5, 4, 1}}) {
    line->DetachAll();
    ActivateRange("ЖРМ 3", 1, 3);
    auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
    for (int row = 1; row <= 3; ++row) ws.table.SetRecord(row, Product(row));
    device->Faults().FailNthRequest(2, c.failures);
    ASSERT_EQ(server.WriteBase(), 1);
    RunExchange();
    EXPECT_EQ(Code(), c.code) << c.failures;
    for (int n = 1; n <= 3; ++n) {
      const ProductRecord r = DecodeZhrm3Record(device->Record(n - 1).first<kZhrm3RecordBytes>());
      EXPECT_EQ(r.price == Product(n).price, n <= c.written) << c.failures << " " << n;
    }
    ExpectIdleAtStart(1, std::to_string(c.failures) + " failures");
  }
}

TEST_F(Exchanges, WriteIsFramedByTheRegisterLockOnEveryEnd) {
  struct Case {
    const char* name;
    bool ticked;
    int failFrom;
    std::vector<uint8_t> commands;
  };
  const Case cases[] = {
      {"complete", true, 0, {6, 4, 4, 7}},
      {"failed", true, 3, {6, 4, 4, 4, 4, 4, 4, 7}},
      {"unticked", false, 0, {4, 4}},
  };
  for (const auto& c : cases) {
    line->DetachAll();
    ActivateRange("ЖРМ 2.0", 1, 2);
    ws.options.blockKkm = c.ticked;
    auto device = Attach<Zhrm20Device>(0x0001);
    // The five failed attempts of record 2 only: the release is answered.
    if (c.failFrom) device->Faults().FailNthRequest(c.failFrom, 5);
    FillRows(2);
    line->ClearSent();
    ASSERT_EQ(server.WriteBase(), 1);
    EXPECT_EQ(device->RegisterLocked(), c.ticked) << c.name;
    RunExchange();
    EXPECT_EQ(Zhrm20Commands(*line), c.commands) << c.name;
    EXPECT_FALSE(device->RegisterLocked()) << c.name;
    EXPECT_EQ(Code(), c.failFrom ? kCodeLinkFailure : kCodeOk) << c.name;
  }
}

TEST_F(Exchanges, CellThatDoesNotConvertEndsTheWriteWithALogLine) {
  ActivateRange("ЖРМ 3", 1, 3);
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  for (int row = 1; row <= 3; ++row) ws.table.SetRecord(row, Product(row));
  ws.table.SetCell(2, kColSection, "x");
  ::testing::internal::CaptureStderr();
  ASSERT_EQ(server.WriteBase(), 1);
  RunExchange();
  const std::string log = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(Code(), kCodeLinkFailure);
  EXPECT_NE(log.find("product 2"), std::string::npos) << log;
  EXPECT_NE(log.find("\"Отдел\""), std::string::npos) << log;
  EXPECT_EQ(device->Faults().Requests(), 1);  // record 1 only
  ExpectIdleAtStart(1, "bad cell");
}

TEST_F(Exchanges, ReadUchetFillsColumnFiveAndStoresTheRange) {
  ActivateRange("ЖРМ 3", 1, 3);
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  device->SetAccounting(0, 1500);
  device->SetAccounting(2, 5);
  ASSERT_EQ(server.ReadUchet(), 1);
  RunExchange();
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "1.500");
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "0.000");
  EXPECT_EQ(ws.table.Cell(3, kColAccounting), "0.005");
  EXPECT_EQ(Stored(1).accounting, "1.500");
  ExpectIdleAtStart(1, "accounting");
}

// The operator typed "6" into "по" without confirming while the table shows
// 1..3: each exchange works on products 1..6 with their own fields.
TEST_F(Exchanges, TypedRangeWiderThanTheTableIsLoadedFirst) {
  for (const char* exchange : {"ReadBase", "WriteBase", "ReadUchet", "ClearUchet"}) {
    SCOPED_TRACE(exchange);
    ActivateRange("ЖРМ 3", 1, 3);
    for (int n = 1; n <= 6; ++n) {
      ws.table.SetRowCount(n + 1);
      ws.table.SetRow(n, n, Product(100 + n));
      ws.table.CurrentProductRow = n;
      ASSERT_TRUE(WriteTovar(ws));
    }
    ASSERT_EQ(server.SetRange(1, 3), 1);
    ws.range.SetEndText("6");
    line->DetachAll();
    auto device = Zhrm3WithProducts(6);
    for (int n = 0; n < 6; ++n) device->SetAccounting(n, 2000);
    const std::string name = exchange;
    const int started = name == "ReadBase"    ? server.ReadBase()
                        : name == "WriteBase" ? server.WriteBase()
                        : name == "ReadUchet" ? server.ReadUchet()
                                              : server.ClearUchet();
    ASSERT_EQ(started, 1);
    RunExchange();
    EXPECT_EQ(Code(), 0);
    for (int n = 1; n <= 6; ++n) {
      const auto inDevice = device->Record(n - 1).first<kZhrm3RecordBytes>();
      ProductRecord want = Product(100 + n);
      if (name == "ReadBase") {
        const ProductRecord read = DecodeZhrm3Record(inDevice);
        want.name = read.name;
        want.price = read.price;
        want.section = read.section;
        want.barcode = read.barcode;
      }
      if (name == "ReadUchet") want.accounting = "2.000";
      if (name == "ClearUchet") want.accounting = "0.000";
      EXPECT_EQ(Stored(n), want) << n;
      std::array<uint8_t, kZhrm3RecordBytes> sent{};
      EncodeZhrm3Record(name == "WriteBase" ? Product(100 + n) : Product(n), sent);
      EXPECT_TRUE(std::equal(sent.begin(), sent.end(), inDevice.begin())) << n;
    }
  }
}

TEST_F(Exchanges, ReadUchetOnZhrm15ReadsRecordByRecord) {
  ActivateRange("ЖРМ 1.5", 5, 8);
  auto device = Attach<Zhrm15Device>(0x0001, 0x0001);
  device->SetAccounting(5, 2000);
  ASSERT_EQ(server.ReadUchet(), 1);
  RunExchange();
  EXPECT_EQ(Code(), 0);
  // Single-product frames: command 1, param1 = record 4..7.
  EXPECT_EQ(SentText().substr(0, 31), "F1n 00n F2n 01n 01n 04n 00n 01n");
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "2.000");
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "0.000");
  EXPECT_EQ(Stored(6).accounting, "2.000");
}

TEST_F(Exchanges, ClearUchetResetsTheDeviceAndShowsZeros) {
  ActivateRange("ККМ ЗЕЛ-7Ф", 1, 2);
  auto device = Attach<RegisterDevice>(0x01);
  device->SetAccounting(0, 700);
  device->SetAccounting(1, 800);
  ws.table.SetCell(1, kColAccounting, "0.700");
  ws.table.SetCell(2, kColAccounting, "0.800");
  ASSERT_EQ(server.ClearUchet(), 1);
  RunExchange();
  EXPECT_EQ(Code(), 0);
  EXPECT_EQ(device->Accounting(0), 0u);
  EXPECT_EQ(device->Accounting(1), 0u);
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "0.000");
  EXPECT_EQ(Stored(2).accounting, "0.000");
}

TEST_F(Exchanges, ClearUchetFailureStoresNothing) {
  ActivateRange("ЖРМ 3", 1, 3);
  auto device = Attach<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
  device->Faults().FailNthRequest(2, 1000);
  for (int row = 1; row <= 3; ++row) ws.table.SetCell(row, kColAccounting, "9.000");
  const std::string before = BaseBytes();
  ASSERT_EQ(server.ClearUchet(), 1);
  RunExchange();
  EXPECT_EQ(Code(), kCodeLinkFailure);
  EXPECT_EQ(ws.table.Cell(1, kColAccounting), "0.000");
  EXPECT_EQ(ws.table.Cell(2, kColAccounting), "9.000");
  EXPECT_EQ(BaseBytes(), before);
}

TEST_F(Exchanges, RangeStartIsBackAfterEveryExchange) {
  using Start = int (TServer::*)();
  const std::pair<const char*, Start> exchanges[] = {{"ReadBase", &TServer::ReadBase},
                                                     {"WriteBase", &TServer::WriteBase},
                                                     {"ReadUchet", &TServer::ReadUchet},
                                                     {"ClearUchet", &TServer::ClearUchet}};
  for (const char* type : {"ЖРМ 1.5", "ЖРМ 3"}) {
    for (const auto& [name, start] : exchanges) {
      line->DetachAll();
      ActivateRange(type, 9, 16);
      if (std::string(type) == "ЖРМ 1.5") {
        Attach<Zhrm15Device>(0x0001, 0x0001);
      } else {
        Zhrm3WithProducts(16);
      }
      FillRows(8);
      view.panelCalls.clear();
      ASSERT_EQ((server.*start)(), 1) << type << " " << name;
      RunExchange();
      EXPECT_EQ(Code(), 0) << type << " " << name;
      EXPECT_EQ(view.panelCalls, (std::vector<bool>{true, false})) << type << " " << name;
      ExpectIdleAtStart(9, std::string(type) + " " + name);
    }
  }
}

TEST_F(Exchanges, ProgressWrapsInsteadOfScaling) {
  ActivateRange("ЖРМ 3", 1, 21);
  Zhrm3WithProducts(21);
  view.progress.clear();
  ASSERT_EQ(server.ReadBase(), 1);
  RunExchange();
  std::vector<int> expected = {0};
  for (int step = 1; step <= 21; ++step) expected.push_back(step * 5 % 100);
  EXPECT_EQ(view.progress, expected);
}

TEST_F(Exchanges, RefusalsBeforeAnythingIsSent) {
  struct Case {
    const char* type;
    const char* zhrmNumber;
    int code;
  };
  const Case cases[] = {
      {"ЖРМ 200", "0001", kCodeBadRemoteBase},
      {"ККМ ZEL-7Ф", "0001", kCodeBadRemoteBase},
      {"ЖРМ 3", "00a1", kCodeBadZhrmNumber},
  };
  for (const auto& c : cases) {
    Activate(c.type);
    ws.device.zhrmNumber = c.zhrmNumber;
    line->ClearSent();
    EXPECT_EQ(server.ReadBase(), 0) << c.type;
    EXPECT_EQ(Code(), c.code) << c.type;
    EXPECT_TRUE(line->Sent().empty()) << c.type;
    EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle) << c.type;
  }
}

TEST_F(Exchanges, TypeChangedUnderARunningExchangeEndsItWithTwelve) {
  ActivateRange("ЖРМ 3", 1, 3);
  Zhrm3WithProducts(3);
  ASSERT_EQ(server.ReadBase(), 1);
  ws.device.typeText = "ЖРМ 3+";
  RunExchange();
  EXPECT_EQ(Code(), kCodeBadRemoteBase);
  EXPECT_EQ(ws.run.exchangeState, ExchangeState::Idle);
}

}  // namespace
}  // namespace zel::testing
