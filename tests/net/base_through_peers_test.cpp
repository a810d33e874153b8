// A base written to a device and read back through each RFC 2217 server
// must come out exactly as it does on the in-process line: the same device
// records, table rows, boxes and base file, and no complaint from the port.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "base_round_trip.h"
#include "link/clock.h"
#include "rfc2217_peer.h"
#include "typed_device.h"

namespace zel::testing {
namespace {

struct TypeCase {
  const char* type;
  const char* name;  ///< for the test's name
};

const TypeCase kTypes[] = {{"ЖРМ 1.5", "Zhrm15"},  {"ЖРМ 1.5в", "Zhrm15v"}, {"ЖРМ 2.0", "Zhrm20"},
                           {"ЖРМ 3", "Zhrm3"},     {"ЖРМ 3+", "Zhrm3Plus"}, {"ЖРМ 200", "Zhrm200"},
                           {"ККМ ЗЕЛ-7Ф", "Kkm7F"}};

using Param = std::tuple<TypeCase, Peer>;

void PrintTo(const TypeCase& c, std::ostream* os) {
  *os << c.name;
}

std::function<std::vector<std::string>()> RecordsOf(const TypedDevice& d) {
  return [d] {
    std::vector<std::string> out;
    for (int n = 0; n < kRoundTripRecords; ++n) out.push_back(d.record(n));
    return out;
  };
}

// The same operations on the simulated line and the virtual clock.
RoundTrip InProcess(const std::string& type) {
  VirtualClock clock;
  auto line = std::make_shared<SimulatedLine>(clock);
  const TypedDevice device = MakeTypedDevice(type);
  line->Attach(device.device);
  return WriteThenRead(
      type, [line](const std::string&) -> std::shared_ptr<BytePort> { return line; }, "sim",
      RecordsOf(device));
}

class BaseThroughPeer : public ::testing::TestWithParam<Param> {};

TEST_P(BaseThroughPeer, WriteAndReadComeOutAsOnTheInProcessLine) {
  const auto& [typeCase, peer] = GetParam();
  const std::string type = typeCase.type;
  const std::string ser2net = Ser2netProcess::Find();
  if (peer == Peer::Ser2net && ser2net.empty()) GTEST_SKIP() << "ser2net is not installed";

  const RoundTrip expected = InProcess(type);
  ASSERT_NE(expected.records, RecordsOf(MakeTypedDevice(type))()) << "nothing was written";
  for (const std::string& row : expected.rows) ASSERT_FALSE(row.starts_with("OLD|")) << row;
  for (const std::string& box : expected.shown) ASSERT_TRUE(box.starts_with("yesno")) << box;

  const TypedDevice device = MakeTypedDevice(type);

  Rfc2217Peer server(peer, device.device, ser2net);
  ASSERT_FALSE(server.Path().empty()) << server.Problem();
  const auto records = [&server, all = RecordsOf(device)] {
    std::vector<std::string> out;
    server.Inspect([&] { out = all(); });
    return out;
  };
  const RoundTrip got = WriteThenRead(type, DefaultPortOpener(nullptr), server.Path(), records);

  ASSERT_TRUE(got.portOpened);
  EXPECT_EQ(got.portProblem, "");
  EXPECT_EQ(got.records, expected.records);
  EXPECT_EQ(got.rows, expected.rows);
  EXPECT_EQ(got.shown, expected.shown);
  EXPECT_TRUE(got.baseFile == expected.baseFile) << "the base files differ";
}

INSTANTIATE_TEST_SUITE_P(TypesAndPeers, BaseThroughPeer,
                         ::testing::Combine(::testing::ValuesIn(kTypes),
                                            ::testing::Values(Peer::TestServer, Peer::Ser2net)),
                         [](const ::testing::TestParamInfo<Param>& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  PeerName(std::get<1>(info.param));
                         });

}  // namespace
}  // namespace zel::testing
