// The virtual ЖРМ 3 family terminal at byte level: whom it answers, how it
// takes a request apart, what it refuses, and its control tape.
#include <gtest/gtest.h>

#include <memory>

#include "sim/device_exchange.h"
#include "sim/zhrm3_device.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::Concat;
using testing::Exchange;
using testing::Mark;
using testing::Space;

class Zhrm3DeviceTest : public ::testing::Test {
 protected:
  void Use(Zhrm3FamilyModel model) {
    device = std::make_shared<Zhrm3Device>(model, 0x1234);
    wire.line->DetachAll();
    wire.line->Attach(device);
  }
  void SetUp() override { Use(Zhrm3FamilyModel::Zhrm3); }

  AddressedLine wire;
  std::shared_ptr<Zhrm3Device> device;
};

TEST_F(Zhrm3DeviceTest, EchoesOnlyItsOwnAddress) {
  EXPECT_EQ(Exchange(wire, {Mark({0x34})}), Bytes{0x34});
  EXPECT_EQ(Exchange(wire, {Mark({0x12})}), Bytes{});
  EXPECT_EQ(Exchange(wire, {Space({0x34})}), Bytes{}) << "an address needs mark parity";
}

TEST_F(Zhrm3DeviceTest, AcknowledgesBodyWithItsChecksumThenReplies) {
  device->SetAccounting(0, 1500);
  EXPECT_EQ(Exchange(wire, {Mark({0x34}), Space({0x04, 0x01, 0x00, 0x00, 0x01, 0xF9})}),
            (Bytes{0x34, 0xF9, 0x00, 0x00, 0x15, 0x00, 0xEA}));
}

TEST_F(Zhrm3DeviceTest, RefusedRequestsGetOnlyTheAddressEcho) {
  struct Case {
    const char* name;
    Bytes body;
  };
  const Case cases[] = {{"bad checksum", {0x03, 0x03, 0x00, 0x00, 0xF8}},
                        {"unknown command", {0x01, 0x09, 0xF5}},
                        {"record beyond 4096", {0x03, 0x03, 0x00, 0x10, 0xE9}},
                        {"read with extra argument", {0x04, 0x03, 0x00, 0x00, 0x00, 0xF8}},
                        {"tape block 0", {0x02, 0x05, 0x00, 0xF8}},
                        {"zero length", {0x00, 0xFF}}};
  for (const Case& c : cases) {
    EXPECT_EQ(Exchange(wire, {Mark({0x34}), Space(c.body)}), Bytes{0x34}) << c.name;
  }
}

TEST_F(Zhrm3DeviceTest, AddressByteInsideBodyDropsTheRequest) {
  EXPECT_EQ(
      Exchange(wire, {Mark({0x34}), Space({0x03, 0x03}), Mark({0x55}), Space({0x00, 0x00, 0xF9})}),
      Bytes{0x34});
}

TEST_F(Zhrm3DeviceTest, BodyWithoutSelectionIsIgnored) {
  EXPECT_EQ(Exchange(wire, {Space({0x03, 0x03, 0x00, 0x00, 0xF9})}), Bytes{});
}

TEST_F(Zhrm3DeviceTest, CapacityAndRecordSizeFollowTheModel) {
  struct Case {
    Zhrm3FamilyModel model;
    std::size_t capacity, recordBytes, blocks;
  };
  const Case cases[] = {{Zhrm3FamilyModel::Zhrm3, 4096, 32, 18},
                        {Zhrm3FamilyModel::Zhrm3Plus, 12288, 32, 8},
                        {Zhrm3FamilyModel::Zhrm200, 11234, 35, 8}};
  for (const Case& c : cases) {
    Use(c.model);
    EXPECT_EQ(device->Capacity(), c.capacity);
    EXPECT_EQ(device->Record(c.capacity - 1).size(), c.recordBytes);
    EXPECT_TRUE(device->Record(c.capacity).empty());
    EXPECT_EQ(device->Tapes().BlockCount(), c.blocks);
  }
}

TEST_F(Zhrm3DeviceTest, WriteOfWrongRecordSizeIsRefused) {
  Use(Zhrm3FamilyModel::Zhrm200);
  Bytes frame = {0x23, 0x04, 0x00, 0x00};
  frame.resize(36, 0x11);
  unsigned sum = 0;
  for (uint8_t b : frame) sum += b;
  frame.push_back(static_cast<uint8_t>(0xFF - (sum & 0xFF)));
  EXPECT_EQ(Exchange(wire, {Mark({0x34}), Space(frame)}), Bytes{0x34});
  EXPECT_EQ(device->Record(0)[0], 0x00);
}

TEST_F(Zhrm3DeviceTest, ZeroEchoesComeBeforeTheEcho) {
  device->ZeroEchoes(2);
  EXPECT_EQ(Exchange(wire, {Mark({0x34})}), Bytes{0x00});
  EXPECT_EQ(Exchange(wire, {Mark({0x34})}), Bytes{0x00});
  EXPECT_EQ(Exchange(wire, {Mark({0x34})}), Bytes{0x34});
  EXPECT_EQ(Exchange(wire, {Mark({0x34})}), Bytes{0x00}) << "counted per selection";
}

TEST_F(Zhrm3DeviceTest, NoScannedBarcodeIsTwelveZeroCharacters) {
  EXPECT_EQ(Exchange(wire, {Mark({0x34}), Space({0x01, 0x08, 0xF6})}),
            Concat({{0x34, 0xF6}, Bytes(12, 0x30), {0xBF}}));
}

TEST(ControlTapes, BlocksClosedCurrentAndEnd) {
  sim::ControlTapes tapes(8);
  tapes.AddPurchase(false, 0, 1000);
  ASSERT_TRUE(tapes.CloseCurrent(0x0102, 31, 12, 99));
  tapes.AddPurchase(true, 0x7FFF, 999'999);
  EXPECT_EQ(tapes.BlockInfo(1), (std::array<uint8_t, 7>{0x02, 0x01, 0x31, 0x12, 0x99, 0x01, 0x00}));
  EXPECT_EQ(tapes.BlockInfo(2), (std::array<uint8_t, 7>{0xFF, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00}));
  EXPECT_EQ(tapes.BlockInfo(3), (std::array<uint8_t, 7>{0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00}));
  std::array<uint8_t, 5> entry{};
  ASSERT_TRUE(tapes.Purchase(2, 1, entry));
  EXPECT_EQ(entry, (std::array<uint8_t, 5>{0xFF, 0xFF, 0x99, 0x99, 0x99}));
  EXPECT_FALSE(tapes.Purchase(2, 2, entry));
  EXPECT_FALSE(tapes.Purchase(3, 1, entry));
  EXPECT_FALSE(tapes.Purchase(1, 0, entry));
}

TEST(ControlTapes, FullTapeHasNoCurrentBlock) {
  sim::ControlTapes tapes(2);
  ASSERT_TRUE(tapes.CloseCurrent(1, 1, 1, 1));
  ASSERT_TRUE(tapes.CloseCurrent(2, 1, 1, 1));
  EXPECT_FALSE(tapes.CloseCurrent(3, 1, 1, 1));
  EXPECT_FALSE(tapes.AddPurchase(false, 0, 1));
  EXPECT_EQ(tapes.BlockInfo(3)[1], 0xFF);
  tapes.Clear();
  EXPECT_EQ(tapes.BlockInfo(1)[1], 0x00) << "after erasing, block 1 is current";
}

}  // namespace
}  // namespace zel
