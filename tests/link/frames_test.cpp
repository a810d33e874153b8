#include "link/frames.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/addresses.h"

namespace zel {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(Frames, PrefixedFrameForZhrm0102) {
  const auto f = PrefixedFrame(0x0102, 3, 8, 0);
  EXPECT_EQ(Bytes(f.begin(), f.end()),
            (Bytes{0xF1, 0x01, 0xF2, 0x02, 0x03, 0x08, 0x00, 0x00, 0x00, 0xF4}));
}

TEST(Frames, AddressedRecordBodies) {
  EXPECT_EQ(RecordBody(3, 0), (Bytes{0x03, 0x03, 0x00, 0x00, 0xF9}));
  EXPECT_EQ(RecordBody(3, 0x0102), (Bytes{0x03, 0x03, 0x02, 0x01, 0xF6}));
  const Bytes args = {0xD9, 0x2A, 0x0C};
  EXPECT_EQ(AddressedBody(6, args), (Bytes{0x04, 0x06, 0xD9, 0x2A, 0x0C, 0xE6}));
}

TEST(Frames, RegisterLockFrameCarriesKkmAddress) {
  const DeviceAddresses a = AddressesFromNumbers("0001", "12345678");
  EXPECT_EQ(a.RegisterAddressByte(), 0x87);
  const auto f = RegisterLockFrame(0, a.kkmAddress);
  EXPECT_EQ(Bytes(f.begin(), f.end()), (Bytes{0x0A, 0x06, 0x00, 0x00, 0x78, 0x56, 0x21}));
}

TEST(Frames, Checksums) {
  const Bytes none;
  EXPECT_EQ(Checksum8(none), 0xFF);
  EXPECT_EQ(Checksum8(Bytes{0x03, 0x03, 0x00, 0x00}), 0xF9);
  EXPECT_EQ(Checksum8(Bytes{0xFF, 0x01}), 0xFF);  // the sum wraps at 8 bits
  EXPECT_EQ(Checksum16(Bytes{0x01, 0x05, 0xDC}), 0xFF1D);
  EXPECT_EQ(Checksum16(Bytes(131, 0xFF)), 0xFFFF - 131 * 255);
}

struct AddressCase {
  const char* zhrm;
  const char* kkm;
  uint16_t zhrmAddress;
  uint16_t kkmAddress;
  uint8_t registerByte;
};

TEST(Addresses, DerivedFromNumbers) {
  const AddressCase cases[] = {
      {"0012", "00000001", 0x0012, 0x0001, 0xFE},
      {"1234", "00000000", 0x1234, 0x0000, 0xFF},
      {"0123", "00000099", 0x0123, 0x0099, 0x66},
      {"9999", "12345678", 0x9999, 0x5678, 0x87},
  };
  for (const auto& c : cases) {
    const DeviceAddresses a = AddressesFromNumbers(c.zhrm, c.kkm);
    EXPECT_EQ(a.zhrmAddress, c.zhrmAddress) << c.zhrm;
    EXPECT_EQ(a.kkmAddress, c.kkmAddress) << c.kkm;
    EXPECT_EQ(a.RegisterAddressByte(), c.registerByte) << c.kkm;
  }
}

TEST(Addresses, DefaultsBeforeAnyNumber) {
  const DeviceAddresses a;
  EXPECT_EQ(a.zhrmAddress, 0);
  EXPECT_EQ(a.kkmAddressLow, 1);
  EXPECT_EQ(a.RegisterAddressByte(), 0xFE);
}

}  // namespace
}  // namespace zel
