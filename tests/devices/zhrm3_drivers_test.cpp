// The ЖРМ 3 / 3+ and ЖРМ 200 drivers against their virtual terminals:
// products, accounting, the last barcode, the control tapes, and what
// cannot be encoded.
#include <gtest/gtest.h>

#include <memory>

#include "devices/zhrm200_driver.h"
#include "devices/zhrm3_driver.h"
#include "sim/zhrm3_device.h"
#include "support/addressed_line.h"
#include "support/varied_products.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::Row;

template <typename Driver>
class OnLine {
 public:
  template <typename... Args>
  OnLine(Zhrm3FamilyModel model, Args... args)
      : device(std::make_shared<Zhrm3Device>(model, 0x0123)), driver(wire.link, args...) {
    wire.link.Addresses().zhrmAddress = 0x0123;
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<Zhrm3Device> device;
  Driver driver;
};

TEST(Zhrm3Driver, WrittenProductReadsBack) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  const ProductRecord row = Row("Молоко", "45.90", "2", "4601234567890", "1");
  ASSERT_TRUE(t.driver.WriteProducts(4095, std::span(&row, 1)));
  ProductRecord back;
  ASSERT_TRUE(t.driver.ReadProducts(4095, std::span(&back, 1)));
  EXPECT_EQ(back.name, "МОЛОКО      ");
  EXPECT_EQ(back.price, "45.90");
  EXPECT_EQ(back.section, "2");
  EXPECT_EQ(back.barcode, "460123456789");
  EXPECT_EQ(back.column6, "1");
}

TEST(Zhrm3Driver, RecordBeyondCapacityFailsWithoutSending) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  ProductRecord out;
  EXPECT_FALSE(t.driver.ReadProducts(4096, std::span(&out, 1)));
  std::string quantity;
  EXPECT_FALSE(t.driver.ReadAccounting(4096, quantity));
  EXPECT_TRUE(t.wire.SentBytes().empty());
  OnLine<Zhrm3Driver> plus(Zhrm3FamilyModel::Zhrm3Plus, Zhrm3Model::Zhrm3Plus);
  EXPECT_TRUE(plus.driver.ReadProducts(12287, std::span(&out, 1)));
  EXPECT_FALSE(plus.driver.ReadProducts(12288, std::span(&out, 1)));
}

TEST(Zhrm3Driver, AccountingReadAndReset) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  t.device->SetAccounting(9, 1500);
  std::string quantity;
  ASSERT_TRUE(t.driver.ReadAccounting(9, quantity));
  EXPECT_EQ(quantity, "1.500");
  ASSERT_TRUE(t.driver.ResetAccounting(9));
  ASSERT_TRUE(t.driver.ReadAccounting(9, quantity));
  EXPECT_EQ(quantity, "0.000");
}

TEST(Zhrm3Driver, LastBarcodeLosesLeadingZeros) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  t.device->SetLastBarcode("46012345");
  LastBarcode out;
  ASSERT_TRUE(t.driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "46012345");
  t.device->Faults().BadChecksum();
  out.code = "kept";
  EXPECT_FALSE(t.driver.ReadLastBarcode(out));
  EXPECT_EQ(out.code, "kept");
  t.device->Faults().BadChecksum(false).Silent();
  EXPECT_FALSE(t.driver.ReadLastBarcode(out));
}

TEST(Zhrm3Driver, TapeListingStopsAtCurrentBlock) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3Plus, Zhrm3Model::Zhrm3Plus);
  auto& tapes = t.device->Tapes();
  tapes.AddPurchase(false, 0, 1000);
  tapes.CloseCurrent(17, 5, 12, 0);
  tapes.CloseCurrent(18, 6, 12, 0);
  tapes.AddPurchase(true, 5, 250);
  tapes.AddPurchase(false, 5, 1500);
  TapeBlockInfo info;
  ASSERT_TRUE(t.driver.ReadTapeBlockInfo(1, info));
  EXPECT_EQ(info.tapeNumber, 17);
  EXPECT_EQ(info.date, "05.12.00");
  EXPECT_EQ(info.purchases, 1);
  ASSERT_TRUE(t.driver.ReadTapeBlockInfo(2, info));
  EXPECT_EQ(info.purchases, 0);
  ASSERT_TRUE(t.driver.ReadTapeBlockInfo(3, info));
  EXPECT_TRUE(info.current);
  EXPECT_EQ(info.purchases, 2);
  ASSERT_TRUE(t.driver.ReadTapeBlockInfo(4, info));
  EXPECT_TRUE(info.endOfList);

  TapePurchase p;
  ASSERT_TRUE(t.driver.ReadTapeRecord(1, 3, p));
  EXPECT_TRUE(p.isReturn);
  EXPECT_EQ(p.productNumber, 6);
  EXPECT_EQ(p.quantity, "0.250");
  ASSERT_TRUE(t.driver.ReadTapeRecord(2, 3, p));
  EXPECT_FALSE(p.isReturn);
  EXPECT_EQ(p.quantity, "1.500");
  EXPECT_FALSE(t.driver.ReadTapeRecord(3, 3, p)) << "no third purchase";
}

TEST(Zhrm3Driver, TapeBlockNumbersFollowTheModel) {
  OnLine<Zhrm3Driver> zhrm3(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  OnLine<Zhrm3Driver> plus(Zhrm3FamilyModel::Zhrm3Plus, Zhrm3Model::Zhrm3Plus);
  TapeBlockInfo info;
  EXPECT_TRUE(zhrm3.driver.ReadTapeBlockInfo(18, info));
  EXPECT_FALSE(zhrm3.driver.ReadTapeBlockInfo(19, info));
  EXPECT_FALSE(zhrm3.driver.ReadTapeBlockInfo(0, info));
  EXPECT_TRUE(plus.driver.ReadTapeBlockInfo(8, info));
  plus.wire.ClearSent();
  EXPECT_FALSE(plus.driver.ReadTapeBlockInfo(9, info));
  EXPECT_TRUE(plus.wire.SentBytes().empty());
}

TEST(Zhrm3Driver, ClearTapeBlocks) {
  OnLine<Zhrm3Driver> t(Zhrm3FamilyModel::Zhrm3, Zhrm3Model::Zhrm3);
  t.device->Tapes().CloseCurrent(1, 1, 1, 1);
  EXPECT_TRUE(t.driver.ClearTapeBlocks());
  EXPECT_EQ(t.device->Tapes().ClosedCount(), 0u);
  t.device->Faults().WrongEcho();
  EXPECT_FALSE(t.driver.ClearTapeBlocks());
}

struct EncodableCase {
  ProductRecord row;
  const char* zhrm3;
  const char* zhrm200;
};

TEST(Zhrm3FamilyDrivers, CheckEncodable) {
  AddressedLine wire;
  Zhrm3Driver zhrm3(wire.link, Zhrm3Model::Zhrm3);
  Zhrm200Driver zhrm200(wire.link);
  const EncodableCase cases[] = {{Row("a", "9999999.99", "9", "123"), "", "Стоимость"},
                                 {Row("a", "999999.99", "9", "123"), "", ""},
                                 {Row("a", "10000000.00", "1", ""), "Стоимость", "Стоимость"},
                                 {Row("a", "1.2.3", "1", ""), "Стоимость", "Стоимость"},
                                 {Row("a", "1.00", "x", ""), "Отдел", "Отдел"},
                                 {Row("a", "1.00", "128", ""), "", "Отдел"},
                                 {Row("a", "1.00", "1", "12A4"), "", ""},
                                 {Row("a", "1.00", "1", "12Ж4"), "Штрих-код", "Штрих-код"},
                                 {Row("a", "1.00", "1", "12\t4"), "Штрих-код", "Штрих-код"},
                                 {Row("a", "1.00", "1", "нет товара"), "", ""},
                                 {Row("a", "1.00", "1", "", "256"), "", "Тов. группа"},
                                 {Row("a", "1.00", "1", "", "255"), "", ""}};
  for (const EncodableCase& c : cases) {
    EXPECT_EQ(zhrm3.CheckEncodable(c.row), c.zhrm3) << c.row.price << " " << c.row.section;
    EXPECT_EQ(zhrm200.CheckEncodable(c.row), c.zhrm200) << c.row.price << " " << c.row.section;
  }
}

TEST(Zhrm200Driver, WrittenProductReadsBack) {
  OnLine<Zhrm200Driver> t(Zhrm3FamilyModel::Zhrm200);
  const ProductRecord row = Row("Колбаса докторская", "999999.99", "3", "201", "25", "1");
  t.device->ZeroEchoes(2);
  ASSERT_TRUE(t.driver.WriteProducts(11233, std::span(&row, 1)));
  EXPECT_EQ(t.device->Record(11233)[12], 0x83);
  ProductRecord back;
  ASSERT_TRUE(t.driver.ReadProducts(11233, std::span(&back, 1)));
  EXPECT_EQ(back.name, "КОЛБАСА ДОКТ     ");
  EXPECT_EQ(back.price, "999999.99");
  EXPECT_EQ(back.section, "3");
  EXPECT_EQ(back.column7, "1");
  EXPECT_EQ(back.column6, "25");
  EXPECT_EQ(back.barcode, "201");
  EXPECT_FALSE(t.driver.ReadProducts(11234, std::span(&back, 1)));
}

TEST(Zhrm200Driver, AccountingBarcodeAndTapes) {
  OnLine<Zhrm200Driver> t(Zhrm3FamilyModel::Zhrm200);
  t.device->SetAccounting(0, 99'999'999);
  std::string quantity;
  ASSERT_TRUE(t.driver.ReadAccounting(0, quantity));
  EXPECT_EQ(quantity, "99999.999");
  ASSERT_TRUE(t.driver.ResetAccounting(0));
  EXPECT_EQ(t.device->Accounting(0), 0u);
  t.device->SetLastBarcode("201234500000");
  LastBarcode code;
  ASSERT_TRUE(t.driver.ReadLastBarcode(code));
  EXPECT_EQ(code.code, "201234500000");
  EXPECT_TRUE(code.fullTwelve);
  TapeBlockInfo info;
  ASSERT_TRUE(t.driver.ReadTapeBlockInfo(1, info));
  EXPECT_TRUE(info.current);
  EXPECT_FALSE(t.driver.ReadTapeBlockInfo(9, info));
}

}  // namespace
}  // namespace zel
