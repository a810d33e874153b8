// "Ввод штриховых кодов" on virtual devices: what an answer without a
// barcode, a weight barcode and a plain one leave in the window, a close
// by the window manager, and polls that never share the line.
#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "app/operation_windows.h"
#include "app/side_windows.h"
#include "app_fixture.h"
#include "base/active_device.h"
#include "sim/register_device.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm20_device.h"
#include "sim/zhrm3_device.h"

namespace zel::testing {
namespace {

// One channel per barcode answer form, range 1..10.
constexpr const char* kSettings =
    "[ЖРМ 1 конт]\nSet=0\nSelect=1\nВерс=ЖРМ 3\nЖРМ=0001\nККМ=00000001\n"
    "[ЖРМ 2 конт]\nSet=0\nSelect=0\nВерс=ЖРМ 200\nЖРМ=0001\nККМ=00000001\n"
    "[ЖРМ 3 конт]\nSet=0\nSelect=0\nВерс=ЖРМ 1.5\nЖРМ=0001\nККМ=00000001\n"
    "[ЖРМ 4 конт]\nSet=0\nSelect=0\nВерс=ЖРМ 2.0\nЖРМ=0001\nККМ=00000001\n"
    "[ЖРМ 5 конт]\nSet=0\nSelect=0\nВерс=ККМ ЗЕЛ-7Ф\nЖРМ=0001\nККМ=00000001\n"
    "[Диапазон базы]\nbegin=0001\nend=0010\n";

class BarcodeWindowTest : public AppFixture {
 protected:
  void SetUp() override {
    WriteSettings(kSettings);
    Start();
  }

  // Makes `channel` active with only its device on the line; returns the
  // setter of the device's last scanned barcode.
  std::function<void(const std::string&)> Use(int channel) {
    EXPECT_TRUE(ActivateChannelForServer(Ws(), channel));
    Main().RefreshFromModel();
    line->DetachAll();
    const std::string type = Ws().device.typeText;
    if (type == "ЖРМ 1.5") return Attached(std::make_shared<Zhrm15Device>(0x0001, 0x0001));
    if (type == "ЖРМ 2.0") return Attached(std::make_shared<Zhrm20Device>(0x0001));
    if (type == "ККМ ЗЕЛ-7Ф") return Attached(std::make_shared<RegisterDevice>(0x01));
    zhrm3 = std::make_shared<Zhrm3Device>(
        type == "ЖРМ 3" ? Zhrm3FamilyModel::Zhrm3 : Zhrm3FamilyModel::Zhrm200, 0x0001);
    return Attached(zhrm3);
  }

  template <typename Device>
  std::function<void(const std::string&)> Attached(std::shared_ptr<Device> device) {
    line->Attach(device);
    return [device](const std::string& code) { device->SetLastBarcode(code); };
  }

  BarcodeWindow& Barcodes() { return *Main().Barcodes(); }
  TVV_shk& Shk() { return *windows->VV_shk(); }
  BarcodeEntryState State() { return Barcodes().Entry().state; }
  std::string Shown(QLabel* label) { return label->text().toStdString(); }

  // The toolbar button, then the timer's tick that shows the window and polls.
  void Open() {
    Main().ToolAction(Command::BarcodeEntry)->trigger();
    Barcodes().Tick();
    ASSERT_TRUE(Shk().isVisible());
  }

  // ЖРМ 3 family requests for the last barcode (body 01 08, checksum F6) sent.
  int BarcodeRequests() const {
    const auto& s = line->Sent();
    int n = 0;
    for (std::size_t i = 0; i + 2 < s.size(); ++i) {
      n += s[i].value == 0x01 && s[i + 1].value == 0x08 && s[i + 2].value == 0xF6 &&
           s[i].parity == Parity::Space;
    }
    return n;
  }

  bool AnyErrorShown() const {
    for (const auto& s : prompts.shown()) {
      if (s.kind == "error") return true;
    }
    return false;
  }

  std::shared_ptr<Zhrm3Device> zhrm3;
};

constexpr int kChannels[] = {1, 2, 3, 4, 5};

TEST_F(BarcodeWindowTest, AnswerWithoutBarcodeLeavesTheWindowAsItIs) {
  for (const int channel : kChannels) {
    const auto scan = Use(channel);
    const std::string type = Ws().device.typeText;
    Ws().table.SetCell(3, kColBarcode, "460123456789");
    const std::string code = Shown(Shk().Label1()), result = Shown(Shk().Label3());
    scan("");  // nothing scanned yet: rows without a barcode are not "found"
    Open();
    EXPECT_EQ(Shown(Shk().Label1()), code) << type;
    EXPECT_EQ(Shown(Shk().Label3()), result) << type;
    scan("460123456789");
    Barcodes().Tick();
    EXPECT_EQ(Shown(Shk().Label3()), "Номер товара - 3") << type;
    scan("");
    Barcodes().Tick();
    EXPECT_EQ(Shown(Shk().Label1()), "460123456789") << type;
    EXPECT_EQ(Shown(Shk().Label3()), "Номер товара - 3") << type;
    Shk().BitBtn1()->click();
  }
}

TEST_F(BarcodeWindowTest, StoredWeightCodeIsFoundOnTheNextScan) {
  struct Case {
    int channel;
    const char* stored;         // the weight code of 201234567890
    bool zerosWeightCodeShown;  // 200000012345 offers "как весовой товар"
  };
  const Case cases[] = {{1, "12345", false},
                        {2, "12345", false},
                        {3, "12345", false},
                        {4, "201234500000", true},
                        {5, "201234500000", true}};
  for (const Case& c : cases) {
    const auto scan = Use(c.channel);
    const std::string type = Ws().device.typeText;
    scan("201234567890");
    Open();
    EXPECT_EQ(Shown(Shk().Label3()), "Код в базе отсутствует.") << type;
    EXPECT_TRUE(Shk().Button1()->isEnabled()) << type;

    scan("460123456789");  // a plain code after an unfound weight code
    Barcodes().Tick();
    EXPECT_EQ(Shown(Shk().Label3()), "Код в базе отсутствует.") << type;
    EXPECT_TRUE(Shk().BitBtn2()->isEnabled()) << type;
    EXPECT_FALSE(Shk().Button1()->isEnabled()) << type;

    scan("201234567890");
    Barcodes().Tick();
    ASSERT_TRUE(Shk().Button1()->isEnabled()) << type;
    Ws().table.CurrentProductRow = 4;
    Shk().Button1()->click();
    EXPECT_EQ(Ws().table.Cell(4, kColBarcode), c.stored) << type;
    EXPECT_EQ(Shown(Shk().Label1()), c.stored) << type;

    Barcodes().Tick();  // the same barcode scanned again
    EXPECT_EQ(Shown(Shk().Label3()), "Номер товара - 4") << type;
    EXPECT_FALSE(Shk().Button1()->isEnabled()) << type;
    EXPECT_FALSE(Shk().BitBtn2()->isEnabled()) << type;

    // Characters 3..7 all "0": no weight code that would match empty rows.
    scan("200000012345");
    Barcodes().Tick();
    EXPECT_EQ(Shown(Shk().Label3()), "Код в базе отсутствует.") << type;
    EXPECT_EQ(Shk().Button1()->isEnabled(), c.zerosWeightCodeShown) << type;
    Shk().BitBtn1()->click();
    Ws().table.SetCell(4, kColBarcode, "");
  }
}

TEST_F(BarcodeWindowTest, CloseByTheWindowManagerEndsTheEntry) {
  const auto scan = Use(1);
  scan("460123456789");
  Open();
  ASSERT_EQ(State(), BarcodeEntryState::Polling);
  Shk().close();  // Alt+F4
  EXPECT_FALSE(Shk().isVisible());
  EXPECT_EQ(State(), BarcodeEntryState::Closed);
  line->ClearSent();
  Barcodes().Tick();
  EXPECT_TRUE(line->Sent().empty()) << "no polling once closed";

  Open();  // the toolbar button shows it again
  EXPECT_EQ(State(), BarcodeEntryState::Polling);
  EXPECT_EQ(BarcodeRequests(), 1);
  Shk().close();

  prompts.Answer(Answer::No);
  Main().Run(Command::ReadBase);
  EXPECT_FALSE(AnyErrorShown()) << prompts.texts().back();
  EXPECT_EQ(Ws().run.exchangeState, ExchangeState::Idle);
}

TEST_F(BarcodeWindowTest, PollingWaitsWhileALongOperationHoldsTheLine) {
  const auto scan = Use(1);
  scan("460123456789");
  zhrm3->Tapes().AddPurchase(false, 0, 1500);
  zhrm3->Tapes().CloseCurrent(17, 5, 12, 0);
  Open();
  struct Case {
    Command command;
    Answer answer;
  };
  const Case cases[] = {{Command::ReadBase, Answer::No},
                        {Command::WriteBase, Answer::Yes},
                        {Command::ReadAccounting, Answer::No},
                        {Command::ReadTapeBlocks, Answer::No}};
  for (const Case& c : cases) {
    int ticks = 0;
    QTimer ticker;  // the window's timer as often as it could fire
    ticker.setInterval(0);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
      ++ticks;
      Barcodes().Tick();
    });
    ticker.start();
    prompts.Clear();
    prompts.Answer(c.answer);
    line->ClearSent();
    Main().Run(c.command);
    ticker.stop();
    const int command = static_cast<int>(c.command);
    EXPECT_GT(ticks, 0) << command;
    EXPECT_EQ(BarcodeRequests(), 0) << command;
    EXPECT_FALSE(line->Sent().empty()) << command;
    EXPECT_FALSE(AnyErrorShown()) << command << " " << prompts.texts().back();
    Barcodes().Tick();
    EXPECT_EQ(BarcodeRequests(), 1) << "polling goes on after " << command;
  }
}

TEST_F(BarcodeWindowTest, NoPollStartsInsideAnotherPoll) {
  const auto scan = Use(1);
  scan("460123456789");
  Open();
  line->ClearSent();
  int inside = 0;
  QTimer::singleShot(0, [&] {  // runs while the poll waits for its echo
    ++inside;
    Main().ToolAction(Command::BarcodeEntry)->trigger();
    Barcodes().Tick();
  });
  Barcodes().Tick();
  EXPECT_EQ(inside, 1);
  // One request: the address byte with mark parity, then 01 08 F6.
  ASSERT_EQ(line->Sent().size(), 4u);
  EXPECT_EQ(line->Sent()[0].parity, Parity::Mark);
  EXPECT_EQ(BarcodeRequests(), 1);
  EXPECT_EQ(State(), BarcodeEntryState::Polling);
  EXPECT_EQ(Shown(Shk().Label1()), "460123456789");
}

}  // namespace
}  // namespace zel::testing
