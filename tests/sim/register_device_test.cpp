// The virtual cash register at byte level: its address, the status byte and
// checksum of its replies, its memory commands and what it refuses.
#include <gtest/gtest.h>

#include <memory>

#include "sim/device_exchange.h"
#include "sim/register_device.h"

namespace zel {
namespace {

using testing::AddressedLine;
using testing::Bytes;
using testing::Concat;
using testing::Exchange;
using testing::Mark;
using testing::Space;

class RegisterDeviceTest : public ::testing::Test {
 protected:
  RegisterDeviceTest() : device(std::make_shared<RegisterDevice>(0x01)) {
    wire.line->Attach(device);
  }

  AddressedLine wire;
  std::shared_ptr<RegisterDevice> device;
};

TEST_F(RegisterDeviceTest, AnswersAddressFFMinusNumber) {
  EXPECT_EQ(Exchange(wire, {Mark({0xFE})}), Bytes{0xFE});
  EXPECT_EQ(Exchange(wire, {Mark({0x01})}), Bytes{});
  auto last = std::make_shared<RegisterDevice>(0x99);
  wire.line->Attach(last);
  EXPECT_EQ(Exchange(wire, {Mark({0x66})}), Bytes{0x66});
}

TEST_F(RegisterDeviceTest, ReplyIsStatusDataAndChecksum) {
  device->SetAccounting(0, 1500);
  EXPECT_EQ(Exchange(wire, {Mark({0xFE}), Space({0x04, 0x04, 0x00, 0x00, 0x04, 0xF3})}),
            (Bytes{0xFE, 0xF3, 0x00, 0x00, 0x00, 0x15, 0x00, 0xEA}));
  device->Faults().StatusByte(0x10);
  EXPECT_EQ(Exchange(wire, {Mark({0xFE}), Space({0x04, 0x04, 0x00, 0x00, 0x04, 0xF3})}),
            (Bytes{0xFE, 0xF3, 0x10, 0x00, 0x00, 0x15, 0x00, 0xDA}));
}

TEST_F(RegisterDeviceTest, MemoryWriteSetsTheCounter) {
  device->SetAccounting(2, 5000);
  EXPECT_EQ(Exchange(wire, {Mark({0xFE}),
                            Space({0x08, 0x03, 0x02, 0x00, 0x04, 0x00, 0x01, 0x23, 0x45, 0x85})}),
            (Bytes{0xFE, 0x85}));
  EXPECT_EQ(device->Accounting(2), 12'345u);
}

TEST_F(RegisterDeviceTest, BarcodeIsTwelveCharactersAtTheirAddress) {
  device->SetLastBarcode("4601234567890");
  EXPECT_EQ(Exchange(wire, {Mark({0xFE}), Space({0x04, 0x06, 0xD9, 0x2A, 0x0C, 0xE6})}),
            Concat({{0xFE, 0xE6, 0x00},
                    Bytes{'4', '6', '0', '1', '2', '3', '4', '5', '6', '7', '8', '9'},
                    {0x88}}));
}

TEST_F(RegisterDeviceTest, RefusedRequestsGetOnlyTheAddressEcho) {
  struct Case {
    const char* name;
    Bytes body;
  };
  const Case cases[] = {{"other memory address", {0x04, 0x06, 0xD8, 0x2A, 0x0C, 0xE7}},
                        {"record beyond 4000", {0x03, 0x02, 0xA0, 0x0F, 0x4B}},
                        {"field size not 4", {0x04, 0x04, 0x00, 0x00, 0x02, 0xF5}},
                        {"bad checksum", {0x03, 0x02, 0x00, 0x00, 0xFB}},
                        {"ЖРМ read command", {0x03, 0x03, 0x00, 0x00, 0xF9}}};
  for (const Case& c : cases) {
    EXPECT_EQ(Exchange(wire, {Mark({0xFE}), Space(c.body)}), Bytes{0xFE}) << c.name;
  }
}

TEST_F(RegisterDeviceTest, SilentAndWrongEcho) {
  device->Faults().WrongEcho();
  EXPECT_EQ(Exchange(wire, {Mark({0xFE})}), Bytes{0xFF});
  device->Faults().Silent();
  EXPECT_EQ(Exchange(wire, {Mark({0xFE}), Space({0x03, 0x02, 0x00, 0x00, 0xFA})}), Bytes{});
}

}  // namespace
}  // namespace zel
