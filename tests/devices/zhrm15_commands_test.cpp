// ЖРМ 1.5 commands against the virtual terminal: bytes on the line, timing,
// success and every failure path.
#include "devices/zhrm15_commands.h"

#include <gtest/gtest.h>

#include <memory>

#include "sim/zhrm15_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::Bytes;
using testing::Concat;

// A 1.5в record: barcode 123, weighed, price 12.30, "Хлеб white", section 3.
const Bytes kBread = {0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x30, 0x31, 0x32,
                      0x33, 0x01, 0x09, 0x00, 0x00, 0x00, 0x12, 0x30, 0x68, 0x6C, 0x65,
                      0x62, 0x20, 0x57, 0x48, 0x49, 0x54, 0x45, 0x00, 0x00, 0x03};

class Zhrm15Commands : public ::testing::Test {
 protected:
  Zhrm15Commands() : wire(10416), device(std::make_shared<Zhrm15Device>(0x0102, 0x5678)) {
    wire.line->Attach(device);
    wire.link.Addresses().zhrmAddress = 0x0102;
    wire.link.Addresses().kkmAddress = 0x5678;
    wire.link.Addresses().kkmAddressLow = 0x78;
  }
  void ExpectParityUntouched() {
    for (Parity p : wire.SentParity()) EXPECT_EQ(p, Parity::None);
    EXPECT_EQ(wire.link.Settings().parity, Parity::None);
  }
  Bytes Main(std::size_t from, std::size_t n) {
    const auto& m = wire.link.Buffers().main;
    return Bytes(m.begin() + from, m.begin() + from + n);
  }
  void PutBreadIntoBuffer() {
    auto& m = wire.link.Buffers().main;
    std::fill(m.begin(), m.end(), 0);
    std::copy(kBread.begin(), kBread.end(), m.begin());
  }

  testing::LineRig wire;
  std::shared_ptr<Zhrm15Device> device;
};

TEST_F(Zhrm15Commands, ReadBlockSendsFrameAndTakesReply) {
  std::copy(kBread.begin(), kBread.end(), device->Record(8).begin());
  ASSERT_TRUE(Zhrm15ReadBlock(wire.link, 2));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x03, 0x08, 0x00, 0x00, 0x00, 0xF4}));
  ExpectParityUntouched();
  EXPECT_EQ(Main(0, 1), Bytes{0x01});
  EXPECT_EQ(Main(1, 32), kBread);
  EXPECT_EQ(Main(33, 96), Bytes(96, 0x00));
  EXPECT_EQ(Main(129, 2), (Bytes{0x2D, 0xFA}));
}

TEST_F(Zhrm15Commands, NoAcknowledgementCostsFiveAttemptsOfVirtualTime) {
  device->Faults().Silent();
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_EQ(wire.SentBytes().size(), 50u);
  EXPECT_GE(wire.MsSince(start), 500.0);
  EXPECT_LT(wire.MsSince(start), 520.0);
}

TEST_F(Zhrm15Commands, WrongEchoFails) {
  device->Faults().WrongEcho();
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_EQ(device->Faults().Requests(), 5);
}

TEST_F(Zhrm15Commands, ReadBlockWithWrongChecksumFails) {
  device->Faults().BadChecksum();
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
}

TEST_F(Zhrm15Commands, ReadBlockOfOneHundredThirtyTwoBytesFailsThoughFirst131CheckOut) {
  device->Faults().ExtraReplyBytes(1);
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
}

TEST_F(Zhrm15Commands, ShortBlockReplyFailsAfter300Ms) {
  device->Faults().TruncateReply(130);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_GE(wire.MsSince(start), 300.0);
  EXPECT_LT(wire.MsSince(start), 320.0);
}

TEST_F(Zhrm15Commands, MissedFirstFrameIsRetriedWithinTheCommand) {
  device->Faults().FailNthRequest(1);
  EXPECT_TRUE(Zhrm15ReadBlock(wire.link, 0));
  EXPECT_EQ(wire.SentBytes().size(), 20u);
  EXPECT_EQ(device->Faults().Requests(), 2);
}

TEST_F(Zhrm15Commands, NoisyBlockReplyFails) {
  device->Faults().ByteNoise(60);
  EXPECT_FALSE(Zhrm15ReadBlock(wire.link, 0));
}

TEST_F(Zhrm15Commands, WriteBlockSendsFrameThenBytesAfterTenMs) {
  PutBreadIntoBuffer();
  ASSERT_TRUE(Zhrm15WriteBlock(wire.link, 2));
  const Bytes sent = wire.SentBytes();
  ASSERT_EQ(sent.size(), 140u);
  EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 10),
            (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x04, 0x08, 0x00, 0x00, 0x00, 0xF3}));
  EXPECT_EQ(Bytes(sent.begin() + 10, sent.begin() + 138), Concat({kBread, Bytes(96, 0x00)}));
  EXPECT_EQ(Bytes(sent.begin() + 138, sent.end()), (Bytes{0x2E, 0xFA}));
  ExpectParityUntouched();
  // Acknowledgement (1 ms turnaround + one byte), then more than 11 ms.
  const auto& s = wire.line->Sent();
  EXPECT_GE(s[10].endUs - s[9].endUs, 1000 + 960 + 11000);
  EXPECT_LT(s[10].endUs - s[9].endUs, 15000);
  const auto stored = device->Record(8);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), kBread);
  EXPECT_EQ(Main(0, 32), kBread);
  EXPECT_EQ(Main(128, 2), (Bytes{0x2E, 0xFA}));
}

TEST_F(Zhrm15Commands, WriteBlockWithoutAcknowledgementSendsNoData) {
  PutBreadIntoBuffer();
  device->Faults().Silent();
  EXPECT_FALSE(Zhrm15WriteBlock(wire.link, 0));
  EXPECT_EQ(wire.SentBytes().size(), 50u);
}

TEST_F(Zhrm15Commands, WriteBlockRefusedByStatusFails) {
  PutBreadIntoBuffer();
  device->Faults().StatusByte(2);
  EXPECT_FALSE(Zhrm15WriteBlock(wire.link, 0));
}

TEST_F(Zhrm15Commands, WriteBlockWithoutStatusReplyFailsAfter300Ms) {
  PutBreadIntoBuffer();
  device->Faults().TruncateReply(0);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm15WriteBlock(wire.link, 0));
  EXPECT_GE(wire.MsSince(start), 300.0);
}

// The 140 bytes take about 134 ms at 10416 baud; the 300 ms count from the last.
TEST_F(Zhrm15Commands, WriteBlockStatusBudgetCountsFromTheLastByteSent) {
  for (const auto& [answerAfterMs, accepted] : {std::pair{290, true}, std::pair{310, false}}) {
    PutBreadIntoBuffer();
    wire.line->ClearSent();
    device->Faults().StoreDelayUs(int64_t{answerAfterMs} * 1000 - device->Faults().Turnaround());
    EXPECT_EQ(Zhrm15WriteBlock(wire.link, 2), accepted) << answerAfterMs;
    ASSERT_EQ(wire.line->Sent().size(), 140u);
  }
}

TEST_F(Zhrm15Commands, RetriedWriteSendsTheSameRecords) {
  PutBreadIntoBuffer();
  device->Faults().StatusByte(2);
  EXPECT_FALSE(Zhrm15WriteBlock(wire.link, 1));
  device->Faults().StatusByte(0);
  ASSERT_TRUE(Zhrm15WriteBlock(wire.link, 1));
  const auto stored = device->Record(4);
  EXPECT_EQ(Bytes(stored.begin(), stored.end()), kBread);
}

TEST_F(Zhrm15Commands, ReadAccountingSendsFrameAndTakesSevenBytes) {
  device->SetAccounting(5, 1500);
  ASSERT_TRUE(Zhrm15ReadAccounting(wire.link, 5, 1));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x01, 0x05, 0x00, 0x01, 0x00, 0xF8}));
  ExpectParityUntouched();
  const auto& a = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(a.begin(), a.begin() + 7), (Bytes{0x01, 0x00, 0x15, 0x00, 0x00, 0xE9, 0xFF}));
}

TEST_F(Zhrm15Commands, ReadAccountingWithWrongChecksumFails) {
  device->Faults().BadChecksum();
  EXPECT_FALSE(Zhrm15ReadAccounting(wire.link, 5, 1));
}

TEST_F(Zhrm15Commands, ShortAccountingReplyFailsAfter200Ms) {
  device->Faults().TruncateReply(6);
  const int64_t start = wire.clock.NowUs();
  EXPECT_FALSE(Zhrm15ReadAccounting(wire.link, 5, 1));
  EXPECT_GE(wire.MsSince(start), 200.0);
  EXPECT_LT(wire.MsSince(start), 220.0);
}

TEST_F(Zhrm15Commands, ReadAccountingWithoutAcknowledgementFails) {
  device->Faults().Silent();
  EXPECT_FALSE(Zhrm15ReadAccounting(wire.link, 5, 1));
}

TEST_F(Zhrm15Commands, AccountingCountBeyondTheBufferSendsNothing) {
  EXPECT_FALSE(Zhrm15ReadAccounting(wire.link, 0, 4));
  EXPECT_FALSE(Zhrm15ReadAccounting(wire.link, 0, 0));
  EXPECT_TRUE(wire.SentBytes().empty());
}

TEST_F(Zhrm15Commands, ResetAccountingSendsFrameAndClearsCounter) {
  device->SetAccounting(5, 1500);
  ASSERT_TRUE(Zhrm15ResetAccounting(wire.link, 5, 1));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x02, 0x05, 0x00, 0x01, 0x00, 0xF7}));
  ExpectParityUntouched();
  EXPECT_EQ(device->Accounting(5), 0u);
  const auto& a = wire.link.Buffers().accounting;
  EXPECT_EQ(Bytes(a.begin(), a.begin() + 3), (Bytes{0x01, 0xFE, 0xFF}));
}

TEST_F(Zhrm15Commands, ResetAccountingWithOtherStatusFails) {
  device->Faults().StatusByte(2);
  EXPECT_FALSE(Zhrm15ResetAccounting(wire.link, 5, 1));
}

TEST_F(Zhrm15Commands, ResetWithoutReplyFailsDespiteEarlierStatusInBuffer) {
  ASSERT_TRUE(Zhrm15ResetAccounting(wire.link, 5, 1));
  device->Faults().TruncateReply(0);
  EXPECT_FALSE(Zhrm15ResetAccounting(wire.link, 6, 1));
}

TEST_F(Zhrm15Commands, RequestLastBarcodeSendsFrame) {
  ASSERT_TRUE(Zhrm15RequestLastBarcode(wire.link));
  EXPECT_EQ(wire.SentBytes(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x05, 0x00, 0x00, 0x00, 0x00, 0xFA}));
  ExpectParityUntouched();
}

TEST_F(Zhrm15Commands, RequestLastBarcodeWithoutAcknowledgementFails) {
  device->Faults().Silent();
  EXPECT_FALSE(Zhrm15RequestLastBarcode(wire.link));
}

TEST_F(Zhrm15Commands, LockRegisterSendsPreambleAndFrame) {
  ASSERT_TRUE(LockRegister(wire.link));
  EXPECT_EQ(wire.SentBytes(),
            (Bytes{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x0A, 0x06, 0x00, 0x00, 0x78, 0x56, 0x21}));
  ExpectParityUntouched();
  EXPECT_TRUE(device->RegisterLocked());
  const auto& s = wire.line->Sent();
  EXPECT_GE(s[6].endUs - s[0].endUs, 7000);
}

TEST_F(Zhrm15Commands, UnlockRegisterSendsArgumentOne) {
  ASSERT_TRUE(LockRegister(wire.link));
  wire.line->ClearSent();
  ASSERT_TRUE(UnlockRegister(wire.link));
  EXPECT_EQ(wire.SentBytes(),
            (Bytes{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x0A, 0x06, 0x01, 0x00, 0x78, 0x56, 0x20}));
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm15Commands, LockOfAnotherRegisterGetsNoEcho) {
  wire.link.Addresses().kkmAddress = 0x1234;
  EXPECT_FALSE(LockRegister(wire.link));
  EXPECT_FALSE(device->RegisterLocked());
}

TEST_F(Zhrm15Commands, LockWithWrongEchoFails) {
  device->Faults().WrongEcho();
  EXPECT_FALSE(LockRegister(wire.link));
}

}  // namespace
}  // namespace zel
