// ЖРМ 200 commands on the simulated line: the repeat rule of the address
// phase (0x00 answers, then the echo), its bound, and the 35-byte record.
#include <gtest/gtest.h>

#include <memory>

#include "devices/zhrm200_commands.h"
#include "devices/zhrm3_commands.h"
#include "sim/zhrm3_device.h"
#include "support/addressed_line.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::ScriptedDevice;

class Zhrm200Commands : public ::testing::Test {
 protected:
  Zhrm200Commands() : device(std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm200, 0x0042)) {
    wire.link.Addresses().zhrmAddress = 0x0042;
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(Zhrm200Commands, ReadRecordOnTheLine) {
  auto record = device->Record(0);
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = static_cast<uint8_t>(0x10 + i);
  ASSERT_TRUE(Zhrm200ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Mark), Bytes{0x42});
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x03, 0x03, 0x00, 0x00, 0xF9}));
  const auto& main = wire.link.Buffers().main;
  EXPECT_EQ(Bytes(main.begin(), main.begin() + 35), Bytes(record.begin(), record.end()));
}

TEST_F(Zhrm200Commands, ZerosBeforeTheEchoAreAnsweredByResending) {
  device->ZeroEchoes(3);
  ASSERT_TRUE(Zhrm200ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.SentWith(Parity::Mark), (Bytes{0x42, 0x42, 0x42, 0x42}));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x03, 0x03, 0x00, 0x00, 0xF9}));
}

TEST_F(Zhrm200Commands, ZerosForEverEndInBoundedTime) {
  device->ZeroEchoes(-1);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm200ReadRecord(wire.link, 0));
  EXPECT_LT(device->AddressBytesSeen(), 1000);
  EXPECT_LT(wire.MsSince(start), 10'000.0);
  EXPECT_TRUE(wire.SentWith(Parity::Space).empty()) << "no body without an echo";
}

TEST_F(Zhrm200Commands, NoAnswerWithinTwentyMsFailsAfterOneAddressByte) {
  device->Faults().Silent();
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm200ReadRecord(wire.link, 0));
  EXPECT_EQ(device->AddressBytesSeen(), 1);
  EXPECT_LT(wire.MsSince(start), 30.0);
}

TEST_F(Zhrm200Commands, WrongEchoAfterZerosFails) {
  device->ZeroEchoes(2);
  device->Faults().WrongEcho();
  EXPECT_FALSE(Zhrm200ReadRecord(wire.link, 0));
}

TEST_F(Zhrm200Commands, WriteRecordSendsFortyByteFrame) {
  auto& main = wire.link.Buffers().main;
  for (std::size_t i = 0; i < 35; ++i) main[4 + i] = static_cast<uint8_t>(i);
  device->ZeroEchoes(1);
  ASSERT_TRUE(Zhrm200WriteRecord(wire.link, 0x0203));
  const Bytes space = wire.SentWith(Parity::Space);
  ASSERT_EQ(space.size(), 40u);
  EXPECT_EQ(Bytes(space.begin(), space.begin() + 4), (Bytes{0x26, 0x04, 0x03, 0x02}));
  EXPECT_EQ(space.back(), 0x7D);
  const auto stored = device->Record(0x0203);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), Bytes(main.begin() + 4, main.begin() + 39));
}

TEST_F(Zhrm200Commands, AccountingReadAndReset) {
  device->SetAccounting(2, 12'345'678);
  ASSERT_TRUE(Zhrm200ReadAccounting(wire.link, 2));
  EXPECT_EQ(wire.SentWith(Parity::Space), (Bytes{0x04, 0x01, 0x02, 0x00, 0x01, 0xF7}));
  const auto& acc = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(acc.begin(), acc.begin() + 4), (Bytes{0x12, 0x34, 0x56, 0x78}));
  ASSERT_TRUE(Zhrm200ResetAccounting(wire.link, 2));
  EXPECT_EQ(device->Accounting(2), 0u);
}

TEST_F(Zhrm200Commands, FailurePaths) {
  struct Case {
    const char* name;
    bool (*command)(Link&, uint16_t);
    bool hasReply;
  };
  const Case cases[] = {{"read", Zhrm200ReadRecord, true},
                        {"write", Zhrm200WriteRecord, false},
                        {"accounting", Zhrm200ReadAccounting, true},
                        {"reset", Zhrm200ResetAccounting, false}};
  for (const Case& c : cases) {
    auto fresh = std::make_shared<Zhrm3Device>(Zhrm3FamilyModel::Zhrm200, 0x0042);
    wire.line->DetachAll();
    wire.line->Attach(fresh);
    fresh->Faults().BadChecksum();
    EXPECT_EQ(c.command(wire.link, 1), !c.hasReply) << c.name << " bad checksum";
    fresh->Faults().BadChecksum(false).FailNthRequest(2);
    EXPECT_FALSE(c.command(wire.link, 1)) << c.name << " ignored request";
    fresh->Faults().WrongEcho();
    EXPECT_FALSE(c.command(wire.link, 1)) << c.name << " wrong echo";
  }
}

// The accounting reply may take up to two seconds; its acknowledgement not.
TEST(Zhrm200Timing, AccountingReplyMayComeLateAcknowledgementMayNot) {
  AddressedLine wire;
  wire.link.Addresses().zhrmAddress = 0x0042;
  auto device = std::make_shared<ScriptedDevice>(0x42);
  device->reply = {0x00, 0x00, 0x15, 0x00, 0xEA};
  device->replyDelayUs = 1'500'000;
  wire.line->Attach(device);
  EXPECT_TRUE(Zhrm200ReadAccounting(wire.link, 0));
  device->ackDelayUs = 250'000;
  device->replyDelayUs = 0;
  EXPECT_FALSE(Zhrm200ReadAccounting(wire.link, 0));
}

TEST(Zhrm200Timing, ReadRecordAcknowledgementWaitIsIgnored) {
  AddressedLine wire;
  wire.link.Addresses().zhrmAddress = 0x0042;
  auto device = std::make_shared<ScriptedDevice>(0x42);
  device->reply.assign(35, 0x00);
  device->reply.push_back(0xFF);
  device->ackDelayUs = 210'000;
  wire.line->Attach(device);
  EXPECT_TRUE(Zhrm200ReadRecord(wire.link, 0));
}

}  // namespace
}  // namespace zel
