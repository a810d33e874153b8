// The virtual ЖРМ 1.5 terminal: addressing on a shared line, framing, its
// replies byte for byte and its fault switches.
#include "sim/zhrm15_device.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "devices/zhrm15_commands.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;

class Zhrm15DeviceTest : public ::testing::Test {
 protected:
  Zhrm15DeviceTest() : wire(10416), device(std::make_shared<Zhrm15Device>(0x0012, 0x0001)) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0012;
  }
  void Write(const Bytes& bytes) { wire.link.PortWrite(bytes); }
  Bytes ReadFor(int ms) { return wire.ReadFor(ms); }

  testing::LineRig wire;
  std::shared_ptr<Zhrm15Device> device;
};

TEST_F(Zhrm15DeviceTest, OnlyTheAddressedTerminalAnswers) {
  auto other = std::make_shared<Zhrm15Device>(0x0034);
  wire.line->Attach(other);
  device->Record(0)[0] = 0x11;
  other->Record(0)[0] = 0x22;
  wire.link.Addresses().zhrmAddress = 0x0034;
  ASSERT_TRUE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_EQ(wire.link.Buffers().main[1], 0x22);
  EXPECT_EQ(device->Faults().Requests(), 0);
  wire.link.Addresses().zhrmAddress = 0x0012;
  ASSERT_TRUE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_EQ(wire.link.Buffers().main[1], 0x11);
  EXPECT_EQ(other->Faults().Requests(), 1);
}

TEST_F(Zhrm15DeviceTest, HighAddressByteCounts) {
  wire.link.Addresses().zhrmAddress = 0x0112;
  EXPECT_FALSE(Zhrm15RequestLastBarcode(wire.link));
  EXPECT_EQ(device->Faults().Requests(), 0);
}

TEST_F(Zhrm15DeviceTest, FrameWithWrongChecksumIsIgnored) {
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFB});
  EXPECT_TRUE(ReadFor(100).empty());
}

TEST_F(Zhrm15DeviceTest, HalfFrameFollowedByAPauseIsDropped) {
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05});
  wire.link.LinkDelay(60);
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA});
  const Bytes reply = ReadFor(40);
  ASSERT_EQ(reply.size(), 17u);
  EXPECT_EQ(reply[0], 0xFA);
}

TEST_F(Zhrm15DeviceTest, BarcodeAnswerBytes) {
  device->SetLastBarcode("1234567");
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA});
  EXPECT_EQ(ReadFor(40), (Bytes{0xFA, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35,
                                0x36, 0x37, 0x00, 0x05, 0x9E, 0xFD}));
}

TEST_F(Zhrm15DeviceTest, NothingScannedAnswersZeros) {
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA});
  EXPECT_EQ(ReadFor(40), (Bytes{0xFA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
}

TEST_F(Zhrm15DeviceTest, BlockWithWrongDataChecksumIsRefused) {
  Write({0xF1, 0x00, 0xF2, 0x12, 0x04, 0x00, 0x00, 0x00, 0x00, 0xFB});
  ASSERT_EQ(ReadFor(5), Bytes{0xFB});
  Bytes block(128, 0x11);
  block.push_back(0x00);
  block.push_back(0x00);
  Write(block);
  EXPECT_EQ(ReadFor(140), (Bytes{0x00, 0xFF, 0xFF}));
  EXPECT_EQ(device->Record(0)[0], 0x00);
}

TEST_F(Zhrm15DeviceTest, SeveralAccountingValuesInOneReply) {
  device->SetAccounting(0, 1500);
  device->SetAccounting(1, 12345);
  device->SetAccounting(2, 99999999);
  ASSERT_TRUE(Zhrm15ReadAccounting(wire.link, 0, 3));
  const auto& a = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(a.begin(), a.begin() + 15), (Bytes{0x01, 0x00, 0x15, 0x00, 0x00, 0x45, 0x23, 0x01,
                                                     0x00, 0x99, 0x99, 0x99, 0x99, 0x1C, 0xFD}));
}

TEST_F(Zhrm15DeviceTest, BlockBeyondTheBaseIsNotAcknowledged) {
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 1024));
  EXPECT_TRUE(Zhrm15ReadBlock(wire.link, 1023));
}

TEST_F(Zhrm15DeviceTest, PreambleShorterThanSixIsIgnored) {
  Write({0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x0A, 0x06, 0x00, 0x00, 0x01, 0x00, 0xEE});
  EXPECT_TRUE(ReadFor(20).empty());
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm15DeviceTest, LockFrameOfItsRegisterIsEchoed) {
  Write({0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x0A, 0x06, 0x00, 0x00, 0x01, 0x00, 0xEE});
  EXPECT_EQ(ReadFor(20), Bytes{0xEE});
  EXPECT_TRUE(device->RegisterLocked());
}

TEST_F(Zhrm15DeviceTest, IgnoresBytesAtAnotherSpeed) {
  device->RequireBaud(10416);
  wire.link.Settings().baud = 9600;
  wire.link.ApplySettings();
  EXPECT_FALSE(Zhrm15RequestLastBarcode(wire.link));
  wire.link.Settings().baud = 10416;
  wire.link.ApplySettings();
  EXPECT_TRUE(Zhrm15RequestLastBarcode(wire.link));
}

TEST_F(Zhrm15DeviceTest, TurnaroundDelaysTheAnswer) {
  device->Faults().TurnaroundUs(30'000);
  const int64_t start = wire.clock.NowUs();
  ASSERT_TRUE(Zhrm15RequestLastBarcode(wire.link));
  // Ten frame bytes, 30 ms, the acknowledgement.
  EXPECT_GE(wire.MsSince(start), 9.6 + 30.0 + 0.96);
  EXPECT_LT(wire.MsSince(start), 9.6 + 30.0 + 0.96 + 1.0);
}

TEST_F(Zhrm15DeviceTest, FailNthRequestCountsAddressedRequests) {
  device->Faults().FailNthRequest(2, 2);
  EXPECT_TRUE(Zhrm15ReadAccounting(wire.link, 0, 1));
  EXPECT_TRUE(Zhrm15ReadAccounting(wire.link, 0, 1));
  EXPECT_EQ(device->Faults().Requests(), 4);
  EXPECT_EQ(wire.SentBytes().size(), 40u);
}

TEST_F(Zhrm15DeviceTest, ExtraReplyBytesFollowTheReply) {
  device->Faults().ExtraReplyBytes(3);
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA});
  const Bytes reply = ReadFor(40);
  ASSERT_EQ(reply.size(), 20u);
  EXPECT_EQ(Bytes(reply.end() - 3, reply.end()), (Bytes{0x00, 0x00, 0x00}));
}

TEST_F(Zhrm15DeviceTest, ByteNoiseFlipsEveryNthByte) {
  device->Faults().ByteNoise(2);
  Write({0xF1, 0x00, 0xF2, 0x12, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA});
  const Bytes reply = ReadFor(40);
  ASSERT_EQ(reply.size(), 17u);
  EXPECT_EQ(reply[0], 0xFA);
  EXPECT_EQ(reply[1], 0x01);
  EXPECT_EQ(reply[2], 0x00);
}

TEST_F(Zhrm15DeviceTest, SilentTerminalAndRegisterAnswerNothing) {
  device->Faults().Silent();
  EXPECT_FALSE(Zhrm15RequestLastBarcode(wire.link));
  EXPECT_FALSE(LockRegister(wire.link));
  EXPECT_FALSE(device->RegisterLocked());
}

}  // namespace
}  // namespace zel
