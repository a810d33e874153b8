// ЖРМ 2.0 commands against the virtual terminal: bytes and parity on the
// line, success and every failure path.
#include "devices/zhrm20_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "sim/zhrm20_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;
using testing::Concat;

// Barcode 201, price 12.30, section 3, "Хлеб white".
const Bytes kBread = {0x00, 0x00, 0x00, 0x00, 0x02, 0x01, 0x00, 0x00, 0x00, 0x12, 0x30, 0x03,
                      0x68, 0x6C, 0x65, 0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00};

class Zhrm20Commands : public ::testing::Test {
 protected:
  Zhrm20Commands() : wire(9600), device(std::make_shared<Zhrm20Device>(0x0102)) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0102;
  }
  // Address byte with mark parity, everything after it with space parity.
  void ExpectAddressedParity() {
    const auto parity = wire.SentParity();
    ASSERT_FALSE(parity.empty());
    EXPECT_EQ(parity[0], Parity::Mark);
    for (std::size_t i = 1; i < parity.size(); ++i) EXPECT_EQ(parity[i], Parity::Space) << i;
    EXPECT_EQ(wire.link.Settings().parity, Parity::Space);
  }
  Bytes Buffer(const auto& buffer, std::size_t n) {
    return Bytes(buffer.begin(), buffer.begin() + n);
  }

  testing::LineRig wire;
  std::shared_ptr<Zhrm20Device> device;
};

TEST_F(Zhrm20Commands, ReadRecordSendsAddressedBodyAndTakesReply) {
  std::copy(kBread.begin(), kBread.end(), device->Record(5).begin());
  uint8_t status = 0;
  ASSERT_TRUE(Zhrm20ReadRecord(wire.link, 5, &status));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x03, 0x05, 0x00, 0xF4}));
  ExpectAddressedParity();
  EXPECT_EQ(status, 1);
  EXPECT_EQ(Buffer(wire.link.Buffers().main, 27), Concat({{0x01}, kBread, {0x7A, 0xFC}}));
}

TEST_F(Zhrm20Commands, ReadRecordWithStatusTwoFailsAndKeepsTheStatus) {
  device->Faults().StatusByte(2);
  uint8_t status = 0;
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5, &status));
  EXPECT_EQ(status, 2);
  EXPECT_EQ(wire.link.Buffers().main[0], 2);
}

TEST_F(Zhrm20Commands, SilentDeviceFailsAfterTheAddressEchoWait) {
  device->Faults().Silent();
  uint8_t status = 9;
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5, &status));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(wire.SentBytes(), Bytes{0x02});
  EXPECT_GE(wire.MsSince(start), 500.0);
  EXPECT_LT(wire.MsSince(start), 510.0);
}

TEST_F(Zhrm20Commands, WrongAcknowledgementFails) {
  device->Faults().WrongEcho();
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5));
}

TEST_F(Zhrm20Commands, ReadRecordWithWrongChecksumFails) {
  device->Faults().BadChecksum();
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5));
}

TEST_F(Zhrm20Commands, ShortRecordReplyFailsAfter150MsIdle) {
  device->Faults().TruncateReply(26);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5));
  // Six request bytes and 27 reply bytes at about 1.15 ms each, then the idle limit.
  EXPECT_GE(wire.MsSince(start), 150.0 + 30.0);
  EXPECT_LT(wire.MsSince(start), 195.0);
}

TEST_F(Zhrm20Commands, IgnoredRequestFailsAndTheNextSucceeds) {
  device->Faults().FailNthRequest(1);
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 5));
  EXPECT_TRUE(Zhrm20ReadRecord(wire.link, 5));
}

TEST_F(Zhrm20Commands, RecordBeyondTheBaseIsNotAcknowledged) {
  EXPECT_FALSE(Zhrm20ReadRecord(wire.link, 4096));
}

TEST_F(Zhrm20Commands, WriteRecordSendsTwentyFourDataBytes) {
  auto& main = wire.link.Buffers().main;
  std::copy(kBread.begin(), kBread.end(), main.begin());
  ASSERT_TRUE(Zhrm20WriteRecord(wire.link, 5));
  EXPECT_EQ(wire.SentBytes(), Concat({{0x02, 0x1B, 0x04, 0x05, 0x00}, kBread, {0x57}}));
  ExpectAddressedParity();
  const auto stored = device->Record(5);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), kBread);
  EXPECT_EQ(Buffer(main, 24), kBread);
}

TEST_F(Zhrm20Commands, WriteRecordWithOtherStatusFails) {
  std::copy(kBread.begin(), kBread.end(), wire.link.Buffers().main.begin());
  device->Faults().StatusByte(2);
  EXPECT_FALSE(Zhrm20WriteRecord(wire.link, 5));
}

TEST_F(Zhrm20Commands, WriteRecordWithoutStatusReplyFails) {
  device->Faults().TruncateReply(2);
  EXPECT_FALSE(Zhrm20WriteRecord(wire.link, 5));
}

TEST_F(Zhrm20Commands, ReadAccountingTakesSevenBytes) {
  device->SetAccounting(5, 1500);
  ASSERT_TRUE(Zhrm20ReadAccounting(wire.link, 5));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x01, 0x05, 0x00, 0xF6}));
  ExpectAddressedParity();
  EXPECT_EQ(Buffer(wire.link.Buffers().accounting, 7),
            (Bytes{0x01, 0x00, 0x00, 0x05, 0xDC, 0x1D, 0xFF}));
}

TEST_F(Zhrm20Commands, ReadAccountingWithWrongChecksumFails) {
  device->Faults().BadChecksum();
  EXPECT_FALSE(Zhrm20ReadAccounting(wire.link, 5));
}

TEST_F(Zhrm20Commands, AccountingReplyMissingAfterEarlierReadFails) {
  device->SetAccounting(5, 1500);
  ASSERT_TRUE(Zhrm20ReadAccounting(wire.link, 5));
  device->Faults().TruncateReply(0);
  EXPECT_FALSE(Zhrm20ReadAccounting(wire.link, 5));
}

TEST_F(Zhrm20Commands, ResetAccountingClearsCounter) {
  device->SetAccounting(5, 1500);
  ASSERT_TRUE(Zhrm20ResetAccounting(wire.link, 5));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x02, 0x05, 0x00, 0xF5}));
  ExpectAddressedParity();
  EXPECT_EQ(device->Accounting(5), 0u);
}

TEST_F(Zhrm20Commands, ResetAccountingWithOtherStatusFails) {
  device->Faults().StatusByte(2);
  EXPECT_FALSE(Zhrm20ResetAccounting(wire.link, 5));
}

TEST_F(Zhrm20Commands, ResetWithoutReplyFailsDespiteEarlierStatusInBuffer) {
  ASSERT_TRUE(Zhrm20ResetAccounting(wire.link, 5));
  device->Faults().TruncateReply(0);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm20ResetAccounting(wire.link, 5));
  EXPECT_GE(wire.MsSince(start), 100.0);
}

TEST_F(Zhrm20Commands, LockAndUnlockAreAcknowledgedCommands) {
  ASSERT_TRUE(Zhrm20LockRegister(wire.link));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x06, 0x00, 0x00, 0xF6}));
  ExpectAddressedParity();
  EXPECT_TRUE(device->RegisterLocked());
  wire.line->ClearSent();
  ASSERT_TRUE(Zhrm20UnlockRegister(wire.link));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x07, 0x00, 0x00, 0xF5}));
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm20Commands, LockWithWrongAcknowledgementFails) {
  device->Faults().WrongEcho();
  EXPECT_FALSE(Zhrm20LockRegister(wire.link));
}

TEST_F(Zhrm20Commands, LockWithoutAcknowledgementFails) {
  device->Faults().FailNthRequest(1);
  EXPECT_FALSE(Zhrm20LockRegister(wire.link));
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm20Commands, RequestLastBarcodeSendsBody) {
  ASSERT_TRUE(Zhrm20RequestLastBarcode(wire.link));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0x02, 0x03, 0x05, 0x00, 0x00, 0xF7}));
  ExpectAddressedParity();
}

}  // namespace
}  // namespace zel
