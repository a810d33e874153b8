// zelbase-cli on a pseudo-terminal with a virtual ЖРМ 3 behind it, as on a
// USB adapter: a tape listing cut short by the device, a device that has
// scanned nothing yet, and the adapter pulled out while watching barcodes.
#include "base/settings.h"
#include "cli/cli_fixture.h"
#include "pty_device_host.h"
#include "rfc2217_test_server.h"
#include "sim/zhrm15_device.h"
#include "sim/zhrm3_device.h"

namespace zel::testing {
namespace {

int Count(const std::string& text, const std::string& part) {
  int n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

class CliOnPty : public CliTest {
 protected:
  void SetUp() override {
    ASSERT_FALSE(host.SlavePath().empty()) << host.Problem();
    PrepareSettings();
    SetSetting(kComSection, "Com1Path", host.SlavePath());
    // The demo settings' ЖРМ 3 channel: number 0005.
    device = std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, 0x0005);
  }

  std::vector<std::string> Args(const std::vector<std::string>& command) {
    std::vector<std::string> all = {"--data-dir", Folder().string(), "--channel", kZhrm3Channel};
    all.insert(all.end(), command.begin(), command.end());
    return all;
  }

  PtyDeviceHost host;
  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(CliOnPty, TapeListCutShortPrintsTheRowsListedAndFails) {
  for (uint16_t t = 0; t < 3; ++t) {
    device->Tapes().AddPurchase(false, t, 1000);
    device->Tapes().CloseCurrent(static_cast<uint16_t>(101 + t), 1 + t, 12, 26);
  }
  device->Faults().FailNthRequest(3, 100);  // blocks 1 and 2 come, block 3 does not
  host.Attach(device);
  const CliResult r = RunCli(Args({"tapes", "list"}));
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"КЛ  Номер КЛ  Дата вывода  Кол-во покупок",
                                                    "1   101       01.12.26     1",
                                                    "2   102       02.12.26     1"}));
  EXPECT_EQ(Count(r.err, "Ошибка: Ошибка RS-232 или неверный номер ЖРМ 3(+)"), 1) << r.err;
}

TEST_F(CliOnPty, LastBarcodeSaysWhenNothingWasScanned) {
  host.Attach(device);  // its last barcode: twelve "0"
  const CliResult r = RunCli(Args({"last-barcode"}));
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Count(r.err, "zelbase-cli: no barcode has been scanned at the device"), 1) << r.err;
}

TEST_F(CliOnPty, WatchEndsOnceThePortHasGone) {
  device->SetLastBarcode("460123456789");
  host.Attach(device);
  CliProcess p(Args({"last-barcode", "--watch"}));
  std::string line;
  ASSERT_TRUE(p.ReadOutLine(line));
  EXPECT_EQ(line, "460123456789  Код в базе отсутствует.");
  const std::string path = host.SlavePath();
  host.Unplug();
  const CliResult r = p.Finish();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(Count(r.err, "zelbase-cli: port " + path + " has gone"), 1) << r.err;
}

// A serial server that sets 14400 when asked for 10416: said once on stderr
// before the operation, which itself is not failed by the message.
TEST_F(CliTest, SpeedTheServerCannotHoldIsPrintedBeforeTheOperation) {
  Rfc2217TestServer::Options options;
  options.answerBaud = 14400;
  options.answerBaudFor = 10416;
  Rfc2217TestServer server(options);
  auto device = std::make_shared<Zhrm15Device>(0x0002, 0x0002);  // demo channel 2, ЖРМ 1.5
  device->SetLastBarcode("460123456789");
  server.Attach(device);
  PrepareSettings();
  SetSetting(kComSection, "Com1Path", server.Path());
  const CliResult r = RunCli({"--data-dir", Folder().string(), "--channel", "2", "last-barcode"});
  const std::string problem = "zelbase-cli: " + server.Path() +
                              ": сервер не поддерживает скорость 10416 бод (установлено 14400)";
  EXPECT_EQ(Count(r.err, problem), 1) << r.err;
  EXPECT_EQ(r.err.rfind(problem, 0), 0u) << r.err;
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("460123456789"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace zel::testing
