// The ЖРМ 1.5 family driver on the line: products in blocks of four, the
// accounting, the last barcode and the register lock.
#include "devices/zhrm15_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "sim/zhrm15_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;

// Barcode 123, weighed, price 12.30, "Хлеб white", section 3.
const Bytes kBread = {0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32,
                      0x33, 0x01, 0x09, 0x00, 0x00, 0x00, 0x12, 0x30, 0x68, 0x6C, 0x65,
                      0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00, 0x03};

ProductRecord Bread() {
  return ProductRecord{"Хлеб white", "12.30", "3", "123", "", "1", ""};
}

class Zhrm15DriverTest : public ::testing::Test {
 protected:
  Zhrm15DriverTest()
      : wire(10416),
        device(std::make_shared<Zhrm15Device>(0x0012, 0x0001)),
        driver(wire.link, Zhrm15Model::Weighed) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0012;
    wire.link.Addresses().kkmAddress = 0x0001;
  }
  Bytes Stored(std::size_t n) {
    const auto r = device->Record(n);
    return Bytes(r.begin(), r.end());
  }

  testing::LineRig wire;
  std::shared_ptr<Zhrm15Device> device;
  Zhrm15Driver driver;
};

TEST_F(Zhrm15DriverTest, MovesFourRecordsPerStep) {
  EXPECT_EQ(driver.RecordsPerStep(), 4);
}

TEST_F(Zhrm15DriverTest, ReadsTheFourRecordsOfABlock) {
  std::copy(kBread.begin(), kBread.end(), device->Record(9).begin());
  std::array<ProductRecord, 4> out;
  ASSERT_TRUE(driver.ReadProducts(8, out));
  EXPECT_EQ(out[1], (ProductRecord{"ХЛЕБ WHITE  ", "12.30", "3", "123", "", "1", ""}));
  EXPECT_EQ(out[0], (ProductRecord{"            ", "0.00", "0", "", "", "0", ""}));
}

TEST_F(Zhrm15DriverTest, UnalignedStepSendsNothing) {
  std::array<ProductRecord, 4> out;
  EXPECT_FALSE(driver.ReadProducts(6, out));
  std::array<ProductRecord, 3> three;
  EXPECT_FALSE(driver.ReadProducts(8, three));
  EXPECT_FALSE(driver.WriteProducts(2, std::array<ProductRecord, 4>{}));
  EXPECT_TRUE(wire.SentBytes().empty());
}

TEST_F(Zhrm15DriverTest, WritesTheFourRecordsOfABlock) {
  const std::array<ProductRecord, 4> in = {ProductRecord{}, Bread(), ProductRecord{},
                                           ProductRecord{}};
  std::fill(device->Record(8).begin(), device->Record(8).end(), 0xEE);
  ASSERT_TRUE(driver.WriteProducts(8, in));
  EXPECT_EQ(Stored(8), Bytes(32, 0x00));
  EXPECT_EQ(Stored(9), kBread);
}

TEST_F(Zhrm15DriverTest, PlainModelSendsWeighedByteZero) {
  Zhrm15Driver plain(wire.link, Zhrm15Model::Plain);
  const std::array<ProductRecord, 4> in = {Bread(), Bread(), Bread(), Bread()};
  ASSERT_TRUE(plain.WriteProducts(0, in));
  Bytes expected = kBread;
  expected[12] = 0x00;
  EXPECT_EQ(Stored(3), expected);
}

TEST_F(Zhrm15DriverTest, WrittenBlockReadsBackInCapitals) {
  const std::array<ProductRecord, 4> in = {Bread(), Bread(), Bread(), Bread()};
  ASSERT_TRUE(driver.WriteProducts(4092, in));
  std::array<ProductRecord, 4> out;
  ASSERT_TRUE(driver.ReadProducts(4092, out));
  for (const auto& r : out) {
    EXPECT_EQ(r, (ProductRecord{"ХЛЕБ WHITE  ", "12.30", "3", "123", "", "1", ""}));
  }
}

TEST_F(Zhrm15DriverTest, FailedReadReportsNoCorruptBase) {
  device->Faults().Silent();
  std::array<ProductRecord, 4> out;
  EXPECT_FALSE(driver.ReadProducts(0, out));
  EXPECT_EQ(driver.LastReadFault(), ReadFault::None);
}

TEST_F(Zhrm15DriverTest, NamesTheFirstFieldThatCannotBeEncoded) {
  ProductRecord r = Bread();
  EXPECT_EQ(driver.CheckEncodable(r), "");
  r.column6 = "x";
  EXPECT_EQ(driver.CheckEncodable(r), "Весы");
  EXPECT_EQ(Zhrm15Driver(wire.link, Zhrm15Model::Plain).CheckEncodable(r), "");
  r.barcode = "AB-12";  // the indexed form carries ASCII: the flag comes next
  EXPECT_EQ(driver.CheckEncodable(r), "Весы");
  r.barcode = "12Ж";
  EXPECT_EQ(driver.CheckEncodable(r), "Штрих-код");
  r.section = "300";
  EXPECT_EQ(driver.CheckEncodable(r), "Отдел");
  r.price = "10000000.00";
  EXPECT_EQ(driver.CheckEncodable(r), "Стоимость");
}

TEST_F(Zhrm15DriverTest, ReadsAccountingOfOneRecord) {
  device->SetAccounting(7, 1500);
  std::string quantity;
  ASSERT_TRUE(driver.ReadAccounting(7, quantity));
  EXPECT_EQ(quantity, "1.500");
}

TEST_F(Zhrm15DriverTest, FailedAccountingReadLeavesQuantity) {
  device->Faults().BadChecksum();
  std::string quantity = "keep";
  EXPECT_FALSE(driver.ReadAccounting(7, quantity));
  EXPECT_EQ(quantity, "keep");
}

TEST_F(Zhrm15DriverTest, ResetsAccountingOfOneRecord) {
  device->SetAccounting(7, 1500);
  ASSERT_TRUE(driver.ResetAccounting(7));
  EXPECT_EQ(device->Accounting(7), 0u);
}

TEST_F(Zhrm15DriverTest, LastBarcodeReadTwentyMsAfterTheAcknowledgement) {
  device->SetLastBarcode("1234567");
  LastBarcode out;
  const int64_t start = wire.clock.NowUs();
  ASSERT_TRUE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "1234567");
  EXPECT_FALSE(out.fullTwelve);
  // Frame (10 bytes), turnaround, acknowledgement, then more than 21 ms.
  EXPECT_GE(wire.MsSince(start), 9.6 + 1.0 + 0.96 + 21.0);
}

TEST_F(Zhrm15DriverTest, FullTwelveDigitBarcode) {
  device->SetLastBarcode("200123450000");
  LastBarcode out;
  ASSERT_TRUE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "200123450000");
  EXPECT_TRUE(out.fullTwelve);
}

TEST_F(Zhrm15DriverTest, BarcodeAnswerWithWrongCheckWordIsIgnored) {
  device->SetLastBarcode("1234567");
  device->Faults().BadChecksum();
  LastBarcode out{"previous", false};
  EXPECT_FALSE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "previous");
}

TEST_F(Zhrm15DriverTest, ShortBarcodeAnswerFails) {
  device->SetLastBarcode("1234567");
  device->Faults().TruncateReply(15);
  LastBarcode out;
  EXPECT_FALSE(driver.ReadLastBarcode(out));
}

TEST_F(Zhrm15DriverTest, LockAndUnlockTheRegisterBehind) {
  ASSERT_TRUE(driver.LockRegister());
  EXPECT_TRUE(device->RegisterLocked());
  ASSERT_TRUE(driver.UnlockRegister());
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm15DriverTest, HasNoControlTapes) {
  TapeBlockInfo info;
  EXPECT_FALSE(driver.ReadTapeBlockInfo(0, info));
  EXPECT_FALSE(driver.ClearTapeBlocks());
  EXPECT_TRUE(wire.SentBytes().empty());
}

}  // namespace
}  // namespace zel
