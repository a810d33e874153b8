// The ЖРМ 2.0 driver on the line: one record per step, the corrupt-base
// report, accounting, the last barcode and the register lock.
#include "devices/zhrm20_driver.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "sim/zhrm20_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;

// Barcode 201, price 12.30, section 3, "Хлеб white".
const Bytes kBread = {0x00, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x12, 0x30, 0x03,
                      0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00};

class Zhrm20DriverTest : public ::testing::Test {
 protected:
  Zhrm20DriverTest()
      : wire(9600), device(std::make_shared<Zhrm20Device>(0x0012)), driver(wire.link) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0012;
  }

  testing::LineRig wire;
  std::shared_ptr<Zhrm20Device> device;
  Zhrm20Driver driver;
};

TEST_F(Zhrm20DriverTest, ReadsOneRecord) {
  std::copy(kBread.begin(), kBread.end(), device->Record(41).begin());
  std::array<ProductRecord, 1> out;
  ASSERT_TRUE(driver.ReadProducts(41, out));
  EXPECT_EQ(out[0], (ProductRecord{"ХЛЕБ WHITE  ", "12.30", "3", "201", "", "", ""}));
  EXPECT_EQ(driver.LastReadFault(), ReadFault::None);
}

TEST_F(Zhrm20DriverTest, StatusTwoIsReportedAsCorruptBase) {
  device->Faults().StatusByte(2);
  std::array<ProductRecord, 1> out;
  EXPECT_FALSE(driver.ReadProducts(0, out));
  EXPECT_EQ(driver.LastReadFault(), ReadFault::CorruptBase);
}

TEST_F(Zhrm20DriverTest, LinkFailureAfterStatusTwoIsNoLongerCorruptBase) {
  device->Faults().StatusByte(2);
  std::array<ProductRecord, 1> out;
  EXPECT_FALSE(driver.ReadProducts(0, out));
  device->Faults().StatusByte(0).Silent();
  EXPECT_FALSE(driver.ReadProducts(0, out));
  EXPECT_EQ(driver.LastReadFault(), ReadFault::None);
}

TEST_F(Zhrm20DriverTest, WritesOneRecord) {
  const std::array<ProductRecord, 1> in = {
      ProductRecord{"Хлеб white", "12.30", "3", "201", "", "", ""}};
  ASSERT_TRUE(driver.WriteProducts(41, in));
  const auto stored = device->Record(41);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), kBread);
}

TEST_F(Zhrm20DriverTest, WrongStepSizeSendsNothing) {
  std::array<ProductRecord, 2> two;
  EXPECT_FALSE(driver.ReadProducts(0, two));
  EXPECT_FALSE(driver.WriteProducts(0, two));
  EXPECT_TRUE(wire.SentBytes().empty());
}

TEST_F(Zhrm20DriverTest, NamesTheFirstFieldThatCannotBeEncoded) {
  ProductRecord r{"Хлеб", "12.30", "3", "нет товара", "", "", ""};
  EXPECT_EQ(driver.CheckEncodable(r), "");
  r.barcode = "12-3";
  EXPECT_EQ(driver.CheckEncodable(r), "Штрих-код");
  r.section = "a";
  EXPECT_EQ(driver.CheckEncodable(r), "Отдел");
  r.price = "1.2.3";
  EXPECT_EQ(driver.CheckEncodable(r), "Стоимость");
}

TEST_F(Zhrm20DriverTest, ReadsAccountingAsThousandths) {
  device->SetAccounting(3, 1234);
  std::string quantity;
  ASSERT_TRUE(driver.ReadAccounting(3, quantity));
  EXPECT_EQ(quantity, "1.234");
}

TEST_F(Zhrm20DriverTest, ResetsAccounting) {
  device->SetAccounting(3, 1234);
  ASSERT_TRUE(driver.ResetAccounting(3));
  EXPECT_EQ(device->Accounting(3), 0u);
}

TEST_F(Zhrm20DriverTest, ReadsLastBarcode) {
  device->SetLastBarcode("200123450000");
  LastBarcode out;
  ASSERT_TRUE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "200123450000");
  EXPECT_TRUE(out.fullTwelve);
}

TEST_F(Zhrm20DriverTest, ShortBarcodeAnswerFailsAfter50MsIdle) {
  device->SetLastBarcode("123");
  device->Faults().TruncateReply(10);
  LastBarcode out{"previous", false};
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "previous");
  // Request and 11 answer bytes take about 22 ms before the idle limit.
  EXPECT_GE(wire.MsSince(start), 50.0 + 20.0);
  EXPECT_LT(wire.MsSince(start), 80.0);
}

TEST_F(Zhrm20DriverTest, LockAndUnlockTheRegister) {
  ASSERT_TRUE(driver.LockRegister());
  EXPECT_TRUE(device->RegisterLocked());
  ASSERT_TRUE(driver.UnlockRegister());
  EXPECT_FALSE(device->RegisterLocked());
}

}  // namespace
}  // namespace zel
