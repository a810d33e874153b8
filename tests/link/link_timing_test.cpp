// Timing primitives of the link layer on the simulated line, in virtual time.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include "support/lambda_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::LambdaDevice;

class LinkTiming : public ::testing::Test, protected testing::LineRig {
 protected:
  void SetUp() override {
    link.SetEventPump([this] { ++pumps; });
  }
  int64_t ElapsedUs(int64_t since) { return clock.NowUs() - since; }

  int pumps = 0;
};

TEST_F(LinkTiming, WaitForBytesAlreadyQueuedReturnsWithoutEvents) {
  const uint8_t bytes[] = {1, 2, 3};
  line->SendToMaster(bytes, clock.NowUs());
  clock.AdvanceUs(10'000);
  const int64_t start = clock.NowUs();
  EXPECT_TRUE(link.WaitForBytes(3, 100));
  EXPECT_EQ(pumps, 0);
  EXPECT_EQ(ElapsedUs(start), 0);
}

TEST_F(LinkTiming, EventsRunBetweenStepsCountForTheNextSlice) {
  link.EventsRan();
  const int64_t ranUs = clock.NowUs();
  uint8_t b = 1;
  line->SendToMaster(std::span(&b, 1), ranUs + 2'000);
  EXPECT_TRUE(link.WaitForBytes(1, 100));
  EXPECT_EQ(pumps, 0);
  ASSERT_EQ(link.PortRead(std::span(&b, 1)), 1u);
  // A wait that outlasts the slice still runs them.
  line->SendToMaster(std::span(&b, 1), ranUs + 8'000);
  EXPECT_TRUE(link.WaitForBytes(1, 100));
  EXPECT_EQ(pumps, 1);
}

TEST_F(LinkTiming, WaitForBytesFailsAfterMoreThanTimeout) {
  const uint8_t bytes[] = {1};
  line->SendToMaster(bytes, clock.NowUs());
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.WaitForBytes(2, 100));
  EXPECT_GT(ElapsedUs(start), 100'000);
  EXPECT_LT(ElapsedUs(start), 101'000);
  EXPECT_GT(pumps, 0);
  EXPECT_EQ(link.BytesInQueue(), 1u);
}

TEST_F(LinkTiming, WaitForBytesReturnsWhenTheLastByteArrives) {
  const uint8_t bytes[] = {1, 2};
  line->SendToMaster(bytes, clock.NowUs() + 30'000);
  const int64_t start = clock.NowUs();
  EXPECT_TRUE(link.WaitForBytes(2, 100));
  // Two bytes of 10 bits at 9600 baud after a 30 ms pause.
  EXPECT_EQ(ElapsedUs(start), 30'000 + 2 * 1042);
}

TEST_F(LinkTiming, ReadWithTimeoutKeepsGoingWhileBytesTrickle) {
  constexpr int kIdleMs = 50;
  for (int i = 0; i < 20; ++i) {
    const uint8_t b = static_cast<uint8_t>(i);
    line->SendToMaster(std::span(&b, 1), clock.NowUs() + (i + 1) * (kIdleMs - 1) * 1000 - 1042);
  }
  uint8_t dst[20] = {};
  std::size_t got = 0;
  EXPECT_TRUE(link.ReadWithTimeout(dst, 20, kIdleMs, &got));
  EXPECT_EQ(got, 20u);
  EXPECT_EQ(dst[19], 19);
}

TEST_F(LinkTiming, ReadWithTimeoutFailsAfterIdleGap) {
  const uint8_t first = 7;
  line->SendToMaster(std::span(&first, 1), clock.NowUs());
  const uint8_t late = 8;
  line->SendToMaster(std::span(&late, 1), clock.NowUs() + 60'000);
  uint8_t dst[2] = {};
  std::size_t got = 0;
  EXPECT_FALSE(link.ReadWithTimeout(dst, 2, 50, &got));
  EXPECT_EQ(got, 1u);
}

TEST_F(LinkTiming, ReadWithTimeoutOfZeroBytesSucceedsAtOnce) {
  uint8_t dst[1];
  const int64_t start = clock.NowUs();
  EXPECT_TRUE(link.ReadWithTimeout(dst, 0, 100));
  EXPECT_EQ(ElapsedUs(start), 0);
}

TEST_F(LinkTiming, LinkDelayLastsMoreThanMsPlusOne) {
  for (int ms : {0, 1, 5, 20}) {
    const int64_t start = clock.NowUs();
    link.LinkDelay(ms);
    EXPECT_GT(ElapsedUs(start), (ms + 1) * 1000);
    EXPECT_LE(ElapsedUs(start), (ms + 1) * 1000 + 1);
  }
  EXPECT_EQ(pumps, 0);
}

TEST_F(LinkTiming, PortReadStopsAtTotalTimeout) {
  uint8_t dst[10];
  const int64_t start = clock.NowUs();
  EXPECT_EQ(link.PortRead(dst), 0u);
  EXPECT_EQ(ElapsedUs(start), (3 * 10 + 20) * 1000);
}

TEST_F(LinkTiming, PortReadStopsAfterSilenceBetweenBytes) {
  const uint8_t burst[] = {1, 2, 3};
  line->SendToMaster(burst, clock.NowUs());
  const uint8_t late = 4;
  line->SendToMaster(std::span(&late, 1), clock.NowUs() + 20'000);
  uint8_t dst[10];
  EXPECT_EQ(link.PortRead(dst), 3u);
}

TEST_F(LinkTiming, FloodingDeviceCannotOverrunARead) {
  std::vector<uint8_t> flood(5000, 0x55);
  line->SendToMaster(flood, clock.NowUs());
  clock.AdvanceUs(10'000'000);
  std::array<uint8_t, 200> dst{};
  EXPECT_EQ(link.PortRead(dst), 200u);
  uint8_t small[7];
  std::size_t got = 0;
  EXPECT_TRUE(link.ReadWithTimeout(small, 100, 10, &got));  // count clamped to the buffer
  EXPECT_EQ(got, 7u);
}

TEST_F(LinkTiming, FivePrefixedAttemptsCostVirtualNotRealTime) {
  const auto realStart = std::chrono::steady_clock::now();
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.SendPrefixedCommand(3, 0, 0));
  const int64_t virtualUs = ElapsedUs(start);
  EXPECT_GT(virtualUs, 5 * 100'000);
  EXPECT_LT(virtualUs, 5 * 115'000);
  EXPECT_EQ(line->Sent().size(), 50u);
  EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::milliseconds(200));
}

TEST(LinkWithoutPort, EveryExchangeFailsAtOnce) {
  Link link;
  std::array<uint8_t, 4> dst{};
  EXPECT_FALSE(link.WaitForBytes(1, 100'000));
  EXPECT_FALSE(link.ReadWithTimeout(dst, 4, 100'000));
  EXPECT_EQ(link.PortRead(dst), 0u);
  EXPECT_FALSE(link.SendPrefixedCommand(3, 0, 0));
  EXPECT_FALSE(link.SendAddressedCommand(3, 0));
  EXPECT_FALSE(link.SendRegisterLockFrame(0));
  EXPECT_FALSE(link.SelectDevice(0x12, 200'000, EchoRule::Compare));
  link.SetParity(Parity::Mark);
  link.Purge();
  link.PortWrite(dst);
  EXPECT_EQ(link.BytesInQueue(), 0u);
}

TEST_F(LinkTiming, UnpluggedLineFailsWithoutWaiting) {
  line->SetUnplugged(true);
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.WaitForBytes(1, 1000));
  EXPECT_FALSE(link.SendPrefixedCommand(3, 0, 0));
  EXPECT_EQ(ElapsedUs(start), 0);
}

}  // namespace
}  // namespace zel
