// The virtual ЖРМ 2.0 terminal: selection by the mark-parity address byte on
// a shared line, its replies byte for byte and its fault switches.
#include "sim/zhrm20_device.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "devices/zhrm20_commands.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;

class Zhrm20DeviceTest : public ::testing::Test {
 protected:
  Zhrm20DeviceTest() : wire(9600), device(std::make_shared<Zhrm20Device>(0x0012)) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0012;
  }
  void Write(Parity parity, const Bytes& bytes) {
    wire.link.SetParity(parity);
    wire.link.PortWrite(bytes);
  }
  Bytes ReadFor(int ms) { return wire.ReadFor(ms); }

  testing::LineRig wire;
  std::shared_ptr<Zhrm20Device> device;
};

TEST_F(Zhrm20DeviceTest, OnlyTheAddressedTerminalAnswers) {
  auto other = std::make_shared<Zhrm20Device>(0x0034);
  wire.line->Attach(other);
  device->Record(0)[23] = 0x11;
  other->Record(0)[23] = 0x22;
  wire.link.Addresses().zhrmAddress = 0x0034;
  ASSERT_TRUE(Zhrm20ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.link.Buffers().main[24], 0x22);
  EXPECT_EQ(device->Faults().Requests(), 0);
  wire.link.Addresses().zhrmAddress = 0x0012;
  ASSERT_TRUE(Zhrm20ReadRecord(wire.link, 0));
  EXPECT_EQ(wire.link.Buffers().main[24], 0x11);
  EXPECT_EQ(other->Faults().Requests(), 1);
}

TEST_F(Zhrm20DeviceTest, EchoesOnlyItsOwnAddress) {
  Write(Parity::Mark, {0x34});
  EXPECT_TRUE(ReadFor(10).empty());
  Write(Parity::Mark, {0x12});
  EXPECT_EQ(ReadFor(10), Bytes{0x12});
}

TEST_F(Zhrm20DeviceTest, BodyWithoutAddressIsIgnored) {
  Write(Parity::Space, {0x03, 0x05, 0x00, 0x00, 0xF7});
  EXPECT_TRUE(ReadFor(40).empty());
}

TEST_F(Zhrm20DeviceTest, BodyWithWrongChecksumIsNotAcknowledged) {
  Write(Parity::Mark, {0x12});
  Write(Parity::Space, {0x03, 0x05, 0x00, 0x00, 0xF8});
  EXPECT_EQ(ReadFor(40), Bytes{0x12});
}

TEST_F(Zhrm20DeviceTest, EachRequestNeedsItsAddress) {
  Write(Parity::Mark, {0x12});
  Write(Parity::Space, {0x03, 0x07, 0x00, 0x00, 0xF5});
  ASSERT_EQ(ReadFor(20), (Bytes{0x12, 0xF5}));
  Write(Parity::Space, {0x03, 0x06, 0x00, 0x00, 0xF6});
  EXPECT_TRUE(ReadFor(20).empty());
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm20DeviceTest, AnotherAddressDeselects) {
  Write(Parity::Mark, {0x12, 0x34});
  Write(Parity::Space, {0x03, 0x06, 0x00, 0x00, 0xF6});
  EXPECT_EQ(ReadFor(20), Bytes{0x12});
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm20DeviceTest, BytesWithoutParityDropTheRequest) {
  Write(Parity::Mark, {0x12});
  Write(Parity::None, {0x03, 0x06, 0x00, 0x00, 0xF6});
  EXPECT_EQ(ReadFor(20), Bytes{0x12});
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm20DeviceTest, AccountingValueBigEndian) {
  device->SetAccounting(0, 0x01020304);
  ASSERT_TRUE(Zhrm20ReadAccounting(wire.link, 0));
  const auto& a = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(a.begin(), a.begin() + 7), (Bytes{0x01, 0x01, 0x02, 0x03, 0x04, 0xF4, 0xFF}));
}

TEST_F(Zhrm20DeviceTest, WriteOfWrongLengthIsNotAcknowledged) {
  const Bytes ten(10, 0x33);
  EXPECT_FALSE(wire.link.SendAddressedCommand(4, 0, ten));
  EXPECT_EQ(device->Record(0)[0], 0x00);
}

TEST_F(Zhrm20DeviceTest, UnknownCommandIsNotAcknowledged) {
  EXPECT_FALSE(wire.link.SendAddressedCommand(9, 0));
}

TEST_F(Zhrm20DeviceTest, BarcodeAnswerBytes) {
  device->SetLastBarcode("1234567");
  ASSERT_TRUE(Zhrm20RequestLastBarcode(wire.link));
  std::array<uint8_t, 16> answer{};
  ASSERT_TRUE(wire.link.ReadWithTimeout(answer, 16, 50));
  EXPECT_EQ(Bytes(answer.begin(), answer.end()),
            (Bytes{0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32, 0x33, 0x34, 0x35, 0x36, 0x37, 0x00,
                   0x05, 0x9E, 0xFD}));
}

TEST_F(Zhrm20DeviceTest, SilentTerminalDoesNotEchoItsAddress) {
  device->Faults().Silent();
  Write(Parity::Mark, {0x12});
  EXPECT_TRUE(ReadFor(20).empty());
}

TEST_F(Zhrm20DeviceTest, WrongEchoSpoilsAddressAndAcknowledgement) {
  device->Faults().WrongEcho();
  Write(Parity::Mark, {0x12});
  Write(Parity::Space, {0x03, 0x06, 0x00, 0x00, 0xF6});
  EXPECT_EQ(ReadFor(20), (Bytes{0x13, 0xF7}));
}

TEST_F(Zhrm20DeviceTest, ExtraReplyBytesFollowTheReply) {
  device->Faults().ExtraReplyBytes(2);
  ASSERT_TRUE(Zhrm20ResetAccounting(wire.link, 0));
  EXPECT_EQ(ReadFor(10), (Bytes{0x00, 0x00}));
}

TEST_F(Zhrm20DeviceTest, StatusByteKeepsChecksumRight) {
  device->Faults().StatusByte(2);
  uint8_t status = 0;
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 0, &status));
  const auto& m = wire.link.Buffers().main;
  // Status 2 and 24 zero bytes: check word 0xFFFD.
  EXPECT_EQ(m[0], 0x02);
  EXPECT_EQ(m[25], 0xFD);
  EXPECT_EQ(m[26], 0xFF);
}

}  // namespace
}  // namespace zel
