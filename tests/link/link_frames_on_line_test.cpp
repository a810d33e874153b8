// Frames and echo rules on the simulated line: bytes, parity and outcome.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/lambda_device.h"
#include "support/line_rig.h"

namespace zel {
namespace {

using testing::AddressedEcho;
using testing::Bytes;
using testing::LambdaDevice;

class LinkOnLine : public ::testing::Test, protected testing::LineRig {
 protected:
  void AttachDevice(LambdaDevice::Answer answer) {
    device = std::make_shared<LambdaDevice>(std::move(answer));
    line->Attach(device);
  }

  std::shared_ptr<LambdaDevice> device;
};

TEST_F(LinkOnLine, AddressedCommandParityAndBytes) {
  link.Addresses().zhrmAddress = 0x0012;
  AttachDevice(AddressedEcho(0x12));
  EXPECT_TRUE(link.SendAddressedCommand(3, 0x0102));
  EXPECT_EQ(SentBytes(), (Bytes{0x12, 0x03, 0x03, 0x02, 0x01, 0xF6}));
  EXPECT_EQ(SentParity(), (std::vector<Parity>{Parity::Mark, Parity::Space, Parity::Space,
                                               Parity::Space, Parity::Space, Parity::Space}));
  EXPECT_EQ(link.Settings().parity, Parity::Space);
  EXPECT_EQ(line->Current().parity, Parity::Space);
}

TEST_F(LinkOnLine, AddressedCommandWithoutAcknowledgementFails) {
  link.Addresses().zhrmAddress = 0x0012;
  AttachDevice([](uint8_t b, Parity p) { return p == Parity::Mark ? Bytes{b} : Bytes{}; });
  EXPECT_FALSE(link.SendAddressedCommand(3, 0));
  EXPECT_EQ(link.Settings().parity, Parity::Space);
}

TEST_F(LinkOnLine, PrefixedFrameLeavesParityAlone) {
  link.Addresses().zhrmAddress = 0x0102;
  AttachDevice([](uint8_t b, Parity) { return b == 0xF4 ? Bytes{0xF4} : Bytes{}; });
  EXPECT_TRUE(link.SendPrefixedCommand(3, 8, 0));
  EXPECT_EQ(SentBytes(), (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x03, 0x08, 0x00, 0x00, 0x00, 0xF4}));
  for (Parity p : SentParity()) EXPECT_EQ(p, Parity::None);
  EXPECT_EQ(link.Settings().parity, Parity::None);
}

TEST_F(LinkOnLine, PrefixedFrameSucceedsOnThirdAttempt) {
  link.Addresses().zhrmAddress = 0x0102;
  int frames = 0;
  AttachDevice([&frames](uint8_t b, Parity) {
    if (b != 0xF4) return Bytes{};
    return ++frames == 3 ? Bytes{0xF4} : Bytes{0x00};
  });
  EXPECT_TRUE(link.SendPrefixedCommand(3, 8, 0));
  EXPECT_EQ(line->Sent().size(), 30u);
}

TEST_F(LinkOnLine, RegisterLockFrameBytesAndTiming) {
  link.Addresses() = AddressesFromNumbers("0001", "12345678");
  AttachDevice([](uint8_t b, Parity) { return b == 0x21 ? Bytes{0x21} : Bytes{}; });
  const int64_t start = clock.NowUs();
  EXPECT_TRUE(link.SendRegisterLockFrame(0));
  EXPECT_EQ(SentBytes(),
            (Bytes{0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0x0A, 0x06, 0x00, 0x00, 0x78, 0x56, 0x21}));
  for (Parity p : SentParity()) EXPECT_EQ(p, Parity::None);
  // LinkDelay(1), (6) and (8): each more than ms + 1.
  EXPECT_GT(clock.NowUs() - start, (2 + 7 + 9) * 1000);
}

TEST_F(LinkOnLine, RegisterLockFrameWithoutEchoFails) {
  link.Addresses() = AddressesFromNumbers("0001", "12345678");
  EXPECT_FALSE(link.SendRegisterLockFrame(1));
  EXPECT_EQ(line->Sent().back().value, 0x20);  // release frame checksum
}

struct EchoCase {
  const char* name;
  EchoRule rule;
  Bytes answer;  // what the device sends back to the address byte
  bool selected;
};

TEST_F(LinkOnLine, SelectDeviceEchoRules) {
  const EchoCase cases[] = {
      {"compare, right echo", EchoRule::Compare, {0x23}, true},
      {"compare, wrong echo", EchoRule::Compare, {0x24}, false},
      {"compare, silence", EchoRule::Compare, {}, false},
      {"strict, silence", EchoRule::CompareStrict, {}, false},
      {"accept, wrong echo", EchoRule::Accept, {0x99}, true},
      {"accept, silence", EchoRule::Accept, {}, true},
      {"any byte, wrong echo", EchoRule::AnyByte, {0x99}, true},
      {"any byte, silence", EchoRule::AnyByte, {}, false},
  };
  for (const auto& c : cases) {
    line->DetachAll();
    AttachDevice([&c](uint8_t, Parity) { return c.answer; });
    EXPECT_EQ(link.SelectDevice(0x23, 200, c.rule), c.selected) << c.name;
    EXPECT_EQ(line->Sent().back().parity, Parity::Mark) << c.name;
    EXPECT_EQ(link.Settings().parity, Parity::Space) << c.name;
  }
}

TEST_F(LinkOnLine, CompareStrictFailsWithoutWaitingForARead) {
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.SelectDevice(0x23, 500, EchoRule::CompareStrict));
  EXPECT_LT(clock.NowUs() - start, 502'000);
  EXPECT_GT(clock.NowUs() - start, 500'000);
}

TEST_F(LinkOnLine, RepeatRuleResendsWhileDeviceAnswersZero) {
  int asked = 0;
  AttachDevice([&asked](uint8_t b, Parity) { return ++asked <= 3 ? Bytes{0x00} : Bytes{b}; });
  EXPECT_TRUE(link.SelectDevice(0x23, 0, EchoRule::Repeat));
  EXPECT_EQ(SentBytes(), (Bytes{0x23, 0x23, 0x23, 0x23}));
}

TEST_F(LinkOnLine, RepeatRuleFailsAtOnceOnSilence) {
  const int64_t start = clock.NowUs();
  EXPECT_FALSE(link.SelectDevice(0x23, 0, EchoRule::Repeat));
  EXPECT_EQ(line->Sent().size(), 1u);
  EXPECT_LT(clock.NowUs() - start, 25'000);
}

TEST_F(LinkOnLine, RepeatRuleGivesUpOnEndlessZeros) {
  AttachDevice([](uint8_t, Parity) { return Bytes{0x00}; });
  EXPECT_FALSE(link.SelectDevice(0x23, 0, EchoRule::Repeat));
  EXPECT_LE(line->Sent().size(), 64u);
}

TEST_F(LinkOnLine, RepeatRuleComparesTheFirstNonZeroAnswer) {
  AttachDevice([](uint8_t, Parity) { return Bytes{0x24}; });
  EXPECT_FALSE(link.SelectDevice(0x23, 0, EchoRule::Repeat));
}

TEST_F(LinkOnLine, StaleReplyIsPurgedBeforeTheNextAttempt) {
  link.Addresses().zhrmAddress = 0x0102;
  // The first answer arrives only after its attempt gave up, the second on time.
  int frames = 0;
  device = std::make_shared<LambdaDevice>(
      [&frames](uint8_t b, Parity) { return b == 0xF4 && ++frames == 1 ? Bytes{0x77} : Bytes{}; },
      105'000);
  line->Attach(device);
  EXPECT_FALSE(link.SendPrefixedCommand(3, 8, 0));
  EXPECT_EQ(frames, 5);
}

}  // namespace
}  // namespace zel
