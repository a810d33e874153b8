// Operations started from the menu while a typed range waits for
// confirmation: the table shows 1..10, the fields say 1..20. Whatever the
// operation, products 11..20 of the base file and the device stay theirs.
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fstream>

#include "app/product_grid.h"
#include "app/product_table_model.h"
#include "app/status_panel.h"
#include "app_fixture.h"
#include "base/base_record.h"
#include "devices/zhrm3_record.h"
#include "sim/zhrm3_device.h"
#include "support/varied_products.h"

namespace zel::testing {
namespace {

constexpr const char* kSettings =
    "[ЖРМ 1 конт]\nSet=0\nSelect=1\nВерс=ЖРМ 3\nЖРМ=0001\nККМ=00000001\n"
    "[Активный ЖРМ]\nВерс=ЖРМ 3\nЖРМ=0001\n[Диапазон базы]\nbegin=0001\nend=0010\n";
constexpr int kTyped = 20;

// The base file's products carry bytes of another program in the unused
// ends of their fields; they must survive wherever a product is not changed.
std::string FileWithForeignPadding() {
  std::string bytes;
  for (int n = 1; n <= kBaseFileRecords; ++n) {
    BaseRecordBytes b = EncodeBaseRecord(n <= 2 * kTyped ? VariedProduct(n) : NewFileRecord());
    for (const BaseField f : {kBaseName, kBasePrice, kBaseSection, kBaseBarcode, kBaseAccounting,
                              kBaseColumn6, kBaseColumn7}) {
      for (std::size_t i = f.offset + 1 + b[f.offset]; i <= f.offset + f.width; ++i) b[i] = 0xEE;
    }
    bytes.append(b.begin(), b.end());
  }
  return bytes;
}

class UnconfirmedRangeTest : public AppFixture {
 protected:
  void SetUp() override {
    WriteSettings(kSettings);
    original = FileWithForeignPadding();
    std::ofstream(dir / "Base" / "Base1.bsd", std::ios::binary) << original;
    Start();
    device = std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0001);
    for (int n = 1; n <= 2 * kTyped; ++n) {
      EncodeZhrm3Record(VariedProduct(100 + n), device->Record(n - 1).first<kZhrm3RecordBytes>());
      device->SetAccounting(n - 1, n * 1000 + 5);
    }
    line->Attach(device);
    ASSERT_EQ(Rows(), 10);
    TypeEnd();
    prompts.Clear();
  }

  // "20" into "по", not confirmed.
  void TypeEnd() {
    Main().Edit12()->setFocus();
    Main().Edit12()->selectAll();
    QTest::keyClicks(Main().Edit12(), "20");
    ASSERT_EQ(Ws().range.EndText(), "20");
  }
  int Rows() { return Main().StringGrid1()->Model()->rowCount(); }

  std::string FileBytes() { return ReadBytes(dir / "Base" / "Base1.bsd"); }
  std::string_view Bytes(const std::string& file, int n) {
    return std::string_view(file).substr((n - 1) * kBaseRecordBytes, kBaseRecordBytes);
  }
  ProductRecord DeviceProduct(int n) {
    return DecodeZhrm3Record(device->Record(n - 1).first<kZhrm3RecordBytes>());
  }
  // Presses "Стоп" as soon as the device loop shows it.
  void StopWhenTheLoopRuns() {
    QTimer::singleShot(0, [this] {
      if (Main().Status()->Button2()->isVisible()) {
        Main().Status()->Button2()->click();
      } else {
        StopWhenTheLoopRuns();
      }
    });
  }

  std::string original;
  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(UnconfirmedRangeTest, ReadStoresWhatTheDeviceSent) {
  prompts.Answer(Answer::No);
  Main().Run(Command::ReadBase);
  const std::string file = FileBytes();
  for (int n = 1; n <= kTyped; ++n) {
    ProductRecord want = DeviceProduct(n);
    want.accounting = VariedProduct(n).accounting;
    want.column7 = VariedProduct(n).column7;
    EXPECT_EQ(StoredRecord(1, n), want) << n;
  }
  for (int n = kTyped + 1; n <= 2 * kTyped; ++n)
    EXPECT_TRUE(Bytes(file, n) == Bytes(original, n)) << n;
  EXPECT_EQ(Rows(), kTyped);
}

TEST_F(UnconfirmedRangeTest, AccountingReadAndResetChangeOnlyTheQuantity) {
  for (const bool reset : {false, true}) {
    SCOPED_TRACE(reset ? "reset" : "read");
    if (reset) prompts.Answer(Answer::Yes);
    Main().Run(reset ? Command::ResetAccounting : Command::ReadAccounting);
    for (int n = 1; n <= kTyped; ++n) {
      ProductRecord want = VariedProduct(n);
      want.accounting = reset ? "0.000" : std::to_string(n) + ".005";
      EXPECT_EQ(StoredRecord(1, n), want) << n;
      if (reset) {
        EXPECT_EQ(device->Accounting(n - 1), 0u) << n;
      }
    }
    TypeEnd();
  }
}

TEST_F(UnconfirmedRangeTest, WriteSendsTheFilesProductsAndLeavesTheFile) {
  prompts.Answer(Answer::Yes);
  Main().Run(Command::WriteBase);
  for (int n = 1; n <= kTyped; ++n) {
    ProductRecord sent = VariedProduct(n);
    std::array<uint8_t, kZhrm3RecordBytes> want{};
    EncodeZhrm3Record(sent, want);
    const auto got = device->Record(n - 1).first<kZhrm3RecordBytes>();
    EXPECT_TRUE(std::equal(got.begin(), got.end(), want.begin())) << n;
  }
  EXPECT_TRUE(FileBytes() == original);
}

TEST_F(UnconfirmedRangeTest, StoppedBaseReadBeforeATapeKeepsTheFile) {
  Ws().options.reminderMenuTicked = false;
  Ws().options.reminderMode = 3;
  StopWhenTheLoopRuns();
  Main().Run(Command::ReadTape);
  ASSERT_TRUE(Ws().run.stopRequested);
  const std::string file = FileBytes();
  ASSERT_EQ(file.size(), original.size());
  for (int n = 1; n <= kBaseFileRecords; ++n) {
    if (Bytes(file, n) == Bytes(original, n)) continue;
    // A product read before the stop holds the device's fields.
    const ProductRecord got = StoredRecord(1, n);
    EXPECT_EQ(got.name, DeviceProduct(n).name) << n;
    EXPECT_EQ(got.accounting, VariedProduct(n).accounting) << n;
  }
}

}  // namespace
}  // namespace zel::testing
