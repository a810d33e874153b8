// The cash-register driver against the virtual register.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "devices/register_driver.h"
#include "sim/register_device.h"
#include "support/addressed_line.h"

namespace zel {
namespace {

using testing::AddressedLine;

class RegisterDriverTest : public ::testing::Test {
 protected:
  RegisterDriverTest() : device(std::make_shared<RegisterDevice>(0x99)), driver(wire.link) {
    wire.link.Addresses().kkmAddressLow = 0x99;
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<RegisterDevice> device;
  RegisterDriver driver;
};

TEST_F(RegisterDriverTest, WrittenProductReadsBack) {
  ProductRecord row;
  row.name = "Сыр Российский весовой";
  row.price = "999999.99";
  row.section = "8";
  row.barcode = "2000123";
  row.column6 = "100";
  ASSERT_TRUE(driver.WriteProducts(3999, std::span(&row, 1)));
  EXPECT_EQ(wire.SentWith(Parity::Mark).front(), 0x66);
  ProductRecord back;
  ASSERT_TRUE(driver.ReadProducts(3999, std::span(&back, 1)));
  EXPECT_EQ(back.name, "Сыр Российский в");
  EXPECT_EQ(back.price, "999999.99");
  EXPECT_EQ(back.section, "8");
  EXPECT_EQ(back.barcode, "2000123");
  EXPECT_EQ(back.column6, "100");
}

TEST_F(RegisterDriverTest, InvalidRecordCountsAsRead) {
  auto record = device->Record(0);
  std::fill(record.begin(), record.end(), 0xFF);
  ProductRecord back;
  ASSERT_TRUE(driver.ReadProducts(0, std::span(&back, 1)));
  EXPECT_EQ(back.name, "Некорректная запись");
}

TEST_F(RegisterDriverTest, RecordBeyondCapacityFailsWithoutSending) {
  ProductRecord out;
  EXPECT_FALSE(driver.ReadProducts(4000, std::span(&out, 1)));
  EXPECT_FALSE(driver.WriteProducts(4000, std::span(&out, 1)));
  EXPECT_FALSE(driver.ResetAccounting(4000));
  EXPECT_TRUE(wire.SentBytes().empty());
}

TEST_F(RegisterDriverTest, AccountingReadAndReset) {
  device->SetAccounting(5, 12'345);
  std::string quantity;
  ASSERT_TRUE(driver.ReadAccounting(5, quantity));
  EXPECT_EQ(quantity, "12.345");
  ASSERT_TRUE(driver.ResetAccounting(5));
  EXPECT_EQ(device->Accounting(5), 0u);
}

TEST_F(RegisterDriverTest, LastBarcodeKeepsAllTwelveCharacters) {
  device->SetLastBarcode("46012345");
  LastBarcode out;
  ASSERT_TRUE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "000046012345");
  device->Faults().BadChecksum();
  out.code = "kept";
  EXPECT_FALSE(driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "kept");
}

TEST_F(RegisterDriverTest, HasNoTapesAndNoLock) {
  TapeBlockInfo info;
  EXPECT_FALSE(driver.ReadTapeBlockInfo(1, info));
  EXPECT_TRUE(driver.LockRegister());
  EXPECT_TRUE(wire.SentBytes().empty());
}

TEST_F(RegisterDriverTest, CheckEncodable) {
  struct Case {
    const char* price;
    const char* section;
    const char* barcode;
    const char* group;
    const char* field;
  };
  const Case cases[] = {
      {"999999.99", "8", "123", "100", ""}, {"1000000.00", "1", "", "0", "Стоимость"},
      {"abc", "1", "", "0", "Стоимость"},   {"1.00", "", "", "0", ""},
      {"1.00", "300", "", "0", "Отдел"},    {"1.00", "1", "12-34", "0", "Штрих-код"},
      {"1.00", "1", "", "x", "Тов. группа"}};
  for (const Case& c : cases) {
    ProductRecord r;
    r.price = c.price;
    r.section = c.section;
    r.barcode = c.barcode;
    r.column6 = c.group;
    EXPECT_EQ(driver.CheckEncodable(r), c.field) << c.price << " " << c.section;
  }
}

}  // namespace
}  // namespace zel
