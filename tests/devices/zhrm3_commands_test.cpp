// ЖРМ 3 / 3+ commands on the simulated line against the virtual terminal:
// the bytes and parity on the wire, the address rules, the waits that may
// time out and those that may not, and every failure path.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "devices/zhrm3_commands.h"
#include "sim/zhrm3_device.h"
#include "support/addressed_line.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::ScriptedDevice;

constexpr uint16_t kNumber0123 = 0x0123;  // address byte 0x23

class Zhrm3Commands : public ::testing::Test {
 protected:
  Zhrm3Commands() : device(std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm3, kNumber0123)) {
    wire.link.Addresses().zhrmAddress = kNumber0123;
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(Zhrm3Commands, ReadRecordZeroOnTheLine) {
  ASSERT_TRUE(Zhrm3ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Mark), Bytes{0x23});
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x03, 0x03, 0x00, 0x00, 0xF9}));
  EXPECT_EQ(wire.SentBytes().front(), 0x23) << "the address goes first";
  EXPECT_EQ(wire.link.Settings().parity, Parity::Space);
}

TEST_F(Zhrm3Commands, ReadRecordPutsRecordAndChecksumInMainBuffer) {
  auto record = device->Record(0x0102);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(Zhrm3ReadRecord(wire.link, 0x0102));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x03, 0x03, 0x02, 0x01, 0xF6}));
  const auto& main = wire.link.Buffers().main;
  EXPECT_EQ(Bytes(main.begin(), main.begin() + 32), Bytes(record.begin(), record.end()));
  EXPECT_EQ(main[32], 0x0F) << "0xFF - (0 + 1 + ... + 31) mod 256";
}

TEST_F(Zhrm3Commands, ReadRecordRereadsPortSettingsWriteKeepsHeldOnes) {
  LineSettings changed = wire.line->Current();
  changed.baud = 19200;
  wire.line->Apply(changed, false);
  ASSERT_TRUE(Zhrm3ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.link.Settings().baud, 19200u);

  wire.link.Settings().baud = 9600;
  wire.link.ApplySettings();
  changed.baud = 38400;
  wire.line->Apply(changed, false);
  ASSERT_TRUE(Zhrm3WriteRecord(wire.link, 0));
  EXPECT_EQ(wire.link.Settings().baud, 9600u);
  EXPECT_EQ(wire.line->Current().baud, 9600u);
}

TEST_F(Zhrm3Commands, WriteRecordSendsWholeFrameFromMainBuffer) {
  auto& main = wire.link.Buffers().main;
  for (std::size_t i = 0; i < 32; ++i) main[4 + i] = static_cast<uint8_t>(i);
  ASSERT_TRUE(Zhrm3WriteRecord(wire.link, 5));
  const Bytes space = wire.SentWith(Parity::Space);
  ASSERT_EQ(space.size(), 37u);
  EXPECT_EQ(Bytes(space.begin(), space.begin() + 4), (Bytes{0x23, 0x04, 0x05, 0x00}));
  EXPECT_EQ(space.back(), 0xE3);
  EXPECT_EQ(wire.spy->writes, (std::vector<std::size_t>{1, 37}));
  const auto stored = device->Record(5);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), Bytes(main.begin() + 4, main.begin() + 36));
}

TEST_F(Zhrm3Commands, AccountingReadAndReset) {
  device->SetAccounting(7, 1500);
  ASSERT_TRUE(Zhrm3ReadAccounting(wire.link, 7));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x04, 0x01, 0x07, 0x00, 0x01, 0xF2}));
  const auto& acc = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(acc.begin(), acc.begin() + 5), (Bytes{0x00, 0x00, 0x15, 0x00, 0xEA}));
  wire.ClearSent();
  ASSERT_TRUE(Zhrm3ResetAccounting(wire.link, 7));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x04, 0x02, 0x07, 0x00, 0x01, 0xF1}));
  EXPECT_EQ(device->Accounting(7), 0u);
}

TEST_F(Zhrm3Commands, LastBarcodeRequestAndAnswer) {
  device->SetLastBarcode("46012345");
  ASSERT_TRUE(Zhrm3RequestLastBarcode(wire.link));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x01, 0x08, 0xF6}));
  wire.link.LinkDelay(20);
  std::array<uint8_t, 13> answer{};
  ASSERT_EQ(wire.link.PortRead(answer), 13u);
  EXPECT_EQ(Bytes(answer.begin(), answer.end()),
            (Bytes{'0', '0', '0', '0', '4', '6', '0', '1', '2', '3', '4', '5', 0xA6}));
}

TEST_F(Zhrm3Commands, LastBarcodeRequestSucceedsWithoutAnyAnswer) {
  device->Faults().Silent();
  EXPECT_TRUE(Zhrm3RequestLastBarcode(wire.link));
}

TEST_F(Zhrm3Commands, TapeBlockInfoOnTheLine) {
  device->Tapes().AddPurchase(false, 0, 1000);
  device->Tapes().CloseCurrent(0x0105, 5, 12, 0);
  ASSERT_TRUE(ReadTapeBlockInfo(wire.link, 1));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x02, 0x05, 0x01, 0xF7}));
  const auto& tape = wire.link.Buffers().tape;
  EXPECT_EQ(Bytes(tape.begin(), tape.end()),
            (Bytes{0x05, 0x01, 0x05, 0x12, 0x00, 0x01, 0x00, 0xE1}));
}

TEST_F(Zhrm3Commands, TapeRecordOnTheLine) {
  device->Tapes().CloseCurrent(1, 1, 1, 1);
  device->Tapes().AddPurchase(true, 5, 1500);
  ASSERT_TRUE(ReadTapeRecord(wire.link, 1, 2));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x05, 0x06, 0x02, 0x01, 0x00, 0x01, 0xF0}));
  const auto& tape = wire.link.Buffers().tape;
  EXPECT_EQ(Bytes(tape.begin(), tape.begin() + 6), (Bytes{0x80, 0x05, 0x00, 0x15, 0x00, 0x65}));
}

TEST_F(Zhrm3Commands, ClearTapeBlocksErasesEveryBlock) {
  device->Tapes().CloseCurrent(1, 1, 1, 1);
  ASSERT_TRUE(ClearTapeBlocks(wire.link));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x01, 0x07, 0xF7}));
  EXPECT_EQ(device->Tapes().ClosedCount(), 0u);
}

TEST_F(Zhrm3Commands, ForeignAddressGetsNoAnswer) {
  wire.link.Addresses().zhrmAddress = 0x0124;
  EXPECT_FALSE(Zhrm3ReadRecord(wire.link, 0));
  EXPECT_EQ(device->AddressBytesSeen(), 0);
}

// The accounting read and the barcode request accept any echo of the
// address; every other command compares it.
TEST(Zhrm3AddressRule, WrongAddressEchoFailsOnlyComparingCommands) {
  AddressedLine wire;
  wire.link.Addresses().zhrmAddress = 0x0023;
  auto device = std::make_shared<ScriptedDevice>(0x23);
  wire.line->Attach(device);
  device->echo = 0x5A;
  device->reply = {0x00, 0x00, 0x15, 0x00, 0xEA};
  EXPECT_TRUE(Zhrm3ReadAccounting(wire.link, 7));
  device->reply.assign(32, 0x00);
  device->reply.push_back(0xFF);
  EXPECT_FALSE(Zhrm3ReadRecord(wire.link, 0));
  device->echo = 0x23;
  EXPECT_TRUE(Zhrm3ReadRecord(wire.link, 0));
}

// One row per command: the outcome under each fault switch of the terminal.
struct FaultRow {
  const char* name;
  std::function<bool(Link&)> command;
  bool hasReply;
  bool lateAckOk;  // acknowledgement after 210 ms: only "ignored" waits survive it
};

class Zhrm3Faults : public Zhrm3Commands, public ::testing::WithParamInterface<FaultRow> {
 protected:
  void SetUp() override {
    device->Tapes().AddPurchase(false, 1, 1000);
    device->Tapes().CloseCurrent(1, 1, 1, 1);
  }
  bool Run() { return GetParam().command(wire.link); }
};

TEST_P(Zhrm3Faults, ServedWithoutFault) {
  EXPECT_TRUE(Run());
}

TEST_P(Zhrm3Faults, SilentDeviceFails) {
  device->Faults().Silent();
  EXPECT_FALSE(Run());
}

TEST_P(Zhrm3Faults, WrongEchoFails) {
  device->Faults().WrongEcho();
  EXPECT_FALSE(Run());
}

TEST_P(Zhrm3Faults, BadChecksumFailsOnlyDataReplies) {
  device->Faults().BadChecksum();
  EXPECT_EQ(Run(), !GetParam().hasReply);
}

TEST_P(Zhrm3Faults, TruncatedReplyFailsOnlyDataReplies) {
  device->Faults().TruncateReply(3);
  EXPECT_EQ(Run(), !GetParam().hasReply);
}

TEST_P(Zhrm3Faults, ExtraBytesAfterReplyAreHarmless) {
  device->Faults().ExtraReplyBytes(2);
  EXPECT_TRUE(Run());
}

TEST_P(Zhrm3Faults, IgnoredRequestFailsAndNextOneIsServed) {
  device->Faults().FailNthRequest(1);
  EXPECT_FALSE(Run());
  EXPECT_TRUE(Run());
}

TEST_P(Zhrm3Faults, NoiseOnEveryByteFails) {
  device->Faults().ByteNoise(1);
  EXPECT_FALSE(Run());
}

TEST_P(Zhrm3Faults, LateAnswersPassOnlyIgnoredWaits) {
  device->Faults().TurnaroundUs(210'000);
  EXPECT_EQ(Run(), GetParam().lateAckOk);
}

TEST_P(Zhrm3Faults, AnswersAfterEveryWaitFail) {
  device->Faults().TurnaroundUs(600'000);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Run());
  EXPECT_LT(wire.MsSince(start), 1500.0);
}

TEST_P(Zhrm3Faults, UnpluggedPortFailsAtOnce) {
  wire.line->SetUnplugged(true);
  EXPECT_FALSE(Run());
}

INSTANTIATE_TEST_SUITE_P(
    EveryCommand, Zhrm3Faults,
    ::testing::Values(
        FaultRow{"ReadRecord", [](Link& l) { return Zhrm3ReadRecord(l, 1); }, true, true},
        FaultRow{"WriteRecord", [](Link& l) { return Zhrm3WriteRecord(l, 1); }, false, false},
        FaultRow{"ReadAccounting", [](Link& l) { return Zhrm3ReadAccounting(l, 1); }, true, false},
        FaultRow{"ResetAccounting", [](Link& l) { return Zhrm3ResetAccounting(l, 1); }, false,
                 true},
        FaultRow{"TapeBlockInfo", [](Link& l) { return ReadTapeBlockInfo(l, 1); }, true, false},
        FaultRow{"TapeRecord", [](Link& l) { return ReadTapeRecord(l, 1, 1); }, true, false},
        FaultRow{"ClearTapes", [](Link& l) { return ClearTapeBlocks(l); }, false, false}),
    [](const ::testing::TestParamInfo<FaultRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zel
