// Cash-register commands on the simulated line: frames, the address byte
// 0xFF - kkmAddressLow, the T1/T2/T3 time-outs that all end the command,
// one-byte writes, the 5 ms pauses of the record write and the status byte.
#include <gtest/gtest.h>

#include <memory>

#include "devices/register_commands.h"
#include "sim/register_device.h"
#include "support/addressed_line.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::ScriptedDevice;
using Writes = std::vector<std::size_t>;

class RegisterCommands : public ::testing::Test {
 protected:
  RegisterCommands() : device(std::make_shared<RegisterDevice>(0x01)) {
    wire.link.Addresses().kkmAddress = 0x0001;
    wire.link.Addresses().kkmAddressLow = 0x01;
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<RegisterDevice> device;
};

TEST_F(RegisterCommands, ReadRecordZeroOnTheLine) {
  ASSERT_TRUE(RegisterReadRecord(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Mark), Bytes{0xFE});
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x03, 0x02, 0x00, 0x00, 0xFA}));
  EXPECT_EQ(wire.spy->writes, (Writes{1, 5}));
  EXPECT_EQ(wire.link.Settings().parity, Parity::Space);
}

TEST_F(RegisterCommands, ReadRecordPutsRecordInMainBuffer) {
  auto record = device->Record(3);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(0x40 + i);
  ASSERT_TRUE(RegisterReadRecord(wire.link, 3));
  const auto& main = wire.link.Buffers().main;
  EXPECT_EQ(Bytes(main.begin(), main.begin() + 32), Bytes(record.begin(), record.end()));
}

TEST_F(RegisterCommands, AccountingFramesAreWrittenOneBytePerWrite) {
  device->SetAccounting(0, 2250);
  ASSERT_TRUE(RegisterReadAccounting(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x04, 0x04, 0x00, 0x00, 0x04, 0xF3}));
  EXPECT_EQ(wire.spy->writes, (Writes{1, 1, 1, 1, 1, 1, 1}));
  const auto& main = wire.link.Buffers().main;
  EXPECT_EQ(Bytes(main.begin(), main.begin() + 4), (Bytes{0x00, 0x00, 0x22, 0x50}));

  wire.ClearSent();
  ASSERT_TRUE(RegisterResetAccounting(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Space),
            (Bytes{0x08, 0x03, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0xF0}));
  EXPECT_EQ(wire.spy->writes, (Writes{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1}));
  EXPECT_EQ(device->Accounting(0), 0u);
}

TEST_F(RegisterCommands, LastBarcodeRequest) {
  device->SetLastBarcode("46012345");
  ASSERT_TRUE(RegisterReadLastBarcode(wire.link));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x04, 0x06, 0xD9, 0x2A, 0x0C, 0xE6}));
  EXPECT_EQ(wire.spy->writes, (Writes{1, 6}));
  const auto& main = wire.link.Buffers().main;
  EXPECT_EQ(std::string(main.begin(), main.begin() + 12), "000046012345");
}

TEST_F(RegisterCommands, WriteRecordPausesAndWritesRecordBytewise) {
  auto& main = wire.link.Buffers().main;
  for (std::size_t i = 0; i < 32; ++i) main[i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(RegisterWriteRecord(wire.link, 0x0102));
  const Bytes space = wire.SentWith(Parity::Space);
  ASSERT_EQ(space.size(), 37u);
  EXPECT_EQ(Bytes(space.begin(), space.begin() + 4), (Bytes{0x23, 0x01, 0x02, 0x01}));
  EXPECT_EQ(space.back(), 0xE8);
  Writes expected = {1, 4};
  expected.insert(expected.end(), 32, 1);
  expected.push_back(1);
  EXPECT_EQ(wire.spy->writes, expected);
  // Echo after about 2 ms, then 5 ms before the body. The pause after the
  // header starts when it is handed to the port, while it is still on the
  // wire: the gap is more than one byte time (1.15 ms) but less than 5 ms.
  EXPECT_GE(wire.GapUs(0, 1), 8000);
  EXPECT_GE(wire.GapUs(4, 5), 2000);
  EXPECT_LT(wire.GapUs(5, 6), 2000) << "record bytes follow each other";
  const auto stored = device->Record(0x0102);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), Bytes(main.begin(), main.begin() + 32));
}

TEST_F(RegisterCommands, AnyStatusByteIsAcceptedWhenChecksumCoversIt) {
  for (uint8_t status : {0x01, 0x55, 0xFF}) {
    device->Faults().StatusByte(status);
    EXPECT_TRUE(RegisterReadRecord(wire.link, 0)) << int(status);
    EXPECT_TRUE(RegisterReadAccounting(wire.link, 0)) << int(status);
  }
}

TEST_F(RegisterCommands, FailurePaths) {
  struct Case {
    const char* name;
    bool (*command)(Link&);
    bool hasReply;
  };
  const Case cases[] = {{"read", [](Link& l) { return RegisterReadRecord(l, 1); }, true},
                        {"write", [](Link& l) { return RegisterWriteRecord(l, 1); }, false},
                        {"accounting", [](Link& l) { return RegisterReadAccounting(l, 1); }, true},
                        {"reset", [](Link& l) { return RegisterResetAccounting(l, 1); }, false},
                        {"barcode", [](Link& l) { return RegisterReadLastBarcode(l); }, true}};
  for (const Case& c : cases) {
    auto fresh = std::make_shared<RegisterDevice>(0x01);
    wire.line->DetachAll();
    wire.line->Attach(fresh);
    EXPECT_TRUE(c.command(wire.link)) << c.name;
    fresh->Faults().BadChecksum();
    EXPECT_EQ(c.command(wire.link), !c.hasReply) << c.name << " bad checksum";
    fresh->Faults().BadChecksum(false).TruncateReply(5);
    EXPECT_EQ(c.command(wire.link), !c.hasReply) << c.name << " truncated";
    fresh->Faults().TruncateReply(-1).FailNthRequest(4);
    EXPECT_FALSE(c.command(wire.link)) << c.name << " ignored request";
    fresh->Faults().WrongEcho();
    EXPECT_FALSE(c.command(wire.link)) << c.name << " wrong echo";
    fresh->Faults().WrongEcho(false).Silent();
    EXPECT_FALSE(c.command(wire.link)) << c.name << " silent";
  }
}

TEST_F(RegisterCommands, OtherRegisterNumberIsNotAnswered) {
  wire.link.Addresses().kkmAddressLow = 0x02;
  EXPECT_FALSE(RegisterReadRecord(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Mark), Bytes{0xFD});
}

// Every wait of the register ends the command when it times out.
struct TimingCase {
  const char* name;
  int64_t echoUs, ackUs, replyUs;
  bool ok;
};

class RegisterTiming : public ::testing::TestWithParam<TimingCase> {};

TEST_P(RegisterTiming, ReadRecord) {
  AddressedLine wire;
  wire.link.Addresses().kkmAddressLow = 0x78;
  auto device = std::make_shared<ScriptedDevice>(0x87);
  device->echoDelayUs = GetParam().echoUs;
  device->ackDelayUs = GetParam().ackUs;
  device->replyDelayUs = GetParam().replyUs;
  device->reply.assign(33, 0x00);
  device->reply.push_back(0xFF);
  wire.line->Attach(device);
  EXPECT_EQ(RegisterReadRecord(wire.link, 0), GetParam().ok);
}

INSTANTIATE_TEST_SUITE_P(T1T2T3, RegisterTiming,
                         ::testing::Values(TimingCase{"Prompt", 1000, 1000, 0, true},
                                           TimingCase{"EchoWithinT1", 490'000, 1000, 0, true},
                                           TimingCase{"EchoAfterT1", 510'000, 1000, 0, false},
                                           TimingCase{"AckWithinT2", 1000, 1'450'000, 0, true},
                                           TimingCase{"AckAfterT2", 1000, 1'550'000, 0, false},
                                           TimingCase{"ReplyWithinT3", 1000, 1000, 450'000, true},
                                           TimingCase{"ReplyAfterT3", 1000, 1000, 550'000, false}),
                         [](const ::testing::TestParamInfo<TimingCase>& info) {
                           return std::string(info.param.name);
                         });

TEST(RegisterBarcodeTiming, EchoMustComeWithinFiftyMs) {
  AddressedLine wire;
  wire.link.Addresses().kkmAddressLow = 0x01;
  auto device = std::make_shared<RegisterDevice>(0x01);
  device->Faults().TurnaroundUs(40'000);
  wire.line->Attach(device);
  EXPECT_TRUE(RegisterReadLastBarcode(wire.link));
  device->Faults().TurnaroundUs(60'000);
  EXPECT_FALSE(RegisterReadLastBarcode(wire.link));
}

TEST(RegisterAccountingTiming, AcknowledgementMustComeWithin500Ms) {
  AddressedLine wire;
  auto device = std::make_shared<ScriptedDevice>(0xFE);
  device->ackDelayUs = 600'000;
  device->reply = {0x00, 0x00, 0x00, 0x00, 0x00, 0xFF};
  wire.line->Attach(device);
  EXPECT_FALSE(RegisterReadAccounting(wire.link, 0));
  wire.clock.AdvanceUs(1'000'000);  // let the late answer pass
  device->ackDelayUs = 400'000;
  EXPECT_TRUE(RegisterReadAccounting(wire.link, 0));
}

}  // namespace
}  // namespace zel
