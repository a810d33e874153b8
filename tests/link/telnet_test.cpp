// Telnet framing and COM-PORT-OPTION commands, byte for byte. Expected bytes
// are typed from RFC 854 and RFC 2217.
#include "link/telnet.h"

#include <gtest/gtest.h>

#include <vector>

namespace zel::telnet {
namespace {

using Bytes = std::vector<uint8_t>;

struct EscapeCase {
  const char* name;
  Bytes data;
  bool crNul;
  Bytes wire;
};

TEST(Telnet, EscapesDataForTheWire) {
  const EscapeCase cases[] = {
      {"plain", {0x12, 0x03, 0xF6}, false, {0x12, 0x03, 0xF6}},
      {"IAC doubled", {0xFF}, false, {0xFF, 0xFF}},
      {"IAC run", {0xFF, 0xFF, 0x01}, false, {0xFF, 0xFF, 0xFF, 0xFF, 0x01}},
      {"binary CR untouched", {0x0D, 0x0A}, false, {0x0D, 0x0A}},
      {"NVT CR gets NUL", {0x0D, 0x41}, true, {0x0D, 0x00, 0x41}},
      {"NVT CR LF", {0x0D, 0x0A}, true, {0x0D, 0x00, 0x0A}},
      {"empty", {}, true, {}},
  };
  for (const auto& c : cases) {
    Bytes out;
    AppendEscaped(c.data, c.crNul, out);
    EXPECT_EQ(out, c.wire) << c.name;
  }
}

struct CommandCase {
  const char* name;
  ComPortCode code;
  Bytes value;
  Bytes wire;
};

TEST(Telnet, ComPortCommandsOnTheWire) {
  const CommandCase cases[] = {
      {"baud 10416",
       ComPortCode::SetBaudRate,
       BaudValue(10416),
       {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x28, 0xB0, 0xFF, 0xF0}},
      {"baud 115200",
       ComPortCode::SetBaudRate,
       BaudValue(115200),
       {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x01, 0xC2, 0x00, 0xFF, 0xF0}},
      {"baud 0xFF in value",
       ComPortCode::SetBaudRate,
       BaudValue(0x0000FFFF),
       {0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0}},
      {"data size 8", ComPortCode::SetDataSize, {8}, {0xFF, 0xFA, 0x2C, 0x02, 0x08, 0xFF, 0xF0}},
      {"parity mark",
       ComPortCode::SetParity,
       {kParityMark},
       {0xFF, 0xFA, 0x2C, 0x03, 0x04, 0xFF, 0xF0}},
      {"parity space",
       ComPortCode::SetParity,
       {kParitySpace},
       {0xFF, 0xFA, 0x2C, 0x03, 0x05, 0xFF, 0xF0}},
      {"stop size 1", ComPortCode::SetStopSize, {1}, {0xFF, 0xFA, 0x2C, 0x04, 0x01, 0xFF, 0xF0}},
      {"DTR on",
       ComPortCode::SetControl,
       {kControlDtrOn},
       {0xFF, 0xFA, 0x2C, 0x05, 0x08, 0xFF, 0xF0}},
      {"RTS off",
       ComPortCode::SetControl,
       {kControlRtsOff},
       {0xFF, 0xFA, 0x2C, 0x05, 0x0C, 0xFF, 0xF0}},
      {"purge both",
       ComPortCode::PurgeData,
       {kPurgeBoth},
       {0xFF, 0xFA, 0x2C, 0x0C, 0x03, 0xFF, 0xF0}},
  };
  for (const auto& c : cases) {
    Bytes out;
    AppendComPort(c.code, c.value, out);
    EXPECT_EQ(out, c.wire) << c.name;
  }
}

TEST(Telnet, VerbsOnTheWire) {
  Bytes out;
  AppendVerb(kWill, kOptComPort, out);
  AppendVerb(kDo, kOptBinary, out);
  EXPECT_EQ(out, (Bytes{0xFF, 0xFB, 0x2C, 0xFF, 0xFD, 0x00}));
}

// Feeds a whole stream; returns the data and a text for each other item.
struct Parsed {
  Bytes data;
  std::vector<Bytes> verbs;  // {verb, option}
  std::vector<Bytes> subs;   // option + payload
};

Parsed ParseAll(const Bytes& stream, bool peerBinary = true) {
  Parser parser;
  parser.SetPeerBinary(peerBinary);
  Parsed out;
  for (uint8_t b : stream) {
    const Item item = parser.Feed(b);
    if (item.kind == ItemKind::Data) out.data.push_back(item.value);
    if (item.kind == ItemKind::Verb) out.verbs.push_back({item.verb, item.value});
    if (item.kind == ItemKind::Sub) out.subs.emplace_back(parser.Sub().begin(), parser.Sub().end());
  }
  return out;
}

TEST(TelnetParser, UnescapesDataAndSplitsCommands) {
  const Parsed p = ParseAll({0x12, 0xFF, 0xFF, 0xFF, 0xFD, 0x2C, 0x34, 0xFF, 0xFA, 0x2C, 0x65, 0x00,
                             0x00, 0x28, 0xB0, 0xFF, 0xF0, 0x56});
  EXPECT_EQ(p.data, (Bytes{0x12, 0xFF, 0x34, 0x56}));
  EXPECT_EQ(p.verbs, (std::vector<Bytes>{{0xFD, 0x2C}}));
  EXPECT_EQ(p.subs, (std::vector<Bytes>{{0x2C, 0x65, 0x00, 0x00, 0x28, 0xB0}}));
}

TEST(TelnetParser, DoubledIacInsideSubNegotiationIsOneByte) {
  const Parsed p =
      ParseAll({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xF0});
  EXPECT_EQ(p.subs, (std::vector<Bytes>{{0x2C, 0x65, 0x00, 0x00, 0xFF, 0xFF}}));
  EXPECT_TRUE(p.data.empty());
}

TEST(TelnetParser, NvtCrNulLosesTheNulOnlyOutsideBinary) {
  EXPECT_EQ(ParseAll({0x0D, 0x00, 0x41}, false).data, (Bytes{0x0D, 0x41}));
  EXPECT_EQ(ParseAll({0x0D, 0x00, 0x41}, true).data, (Bytes{0x0D, 0x00, 0x41}));
  EXPECT_EQ(ParseAll({0x00, 0x0D, 0x0A}, false).data, (Bytes{0x00, 0x0D, 0x0A}));
}

TEST(TelnetParser, IgnoresOtherCommandsAndStraySe) {
  // NOP, GA, a lone SE: no data, no items.
  const Parsed p = ParseAll({0xFF, 0xF1, 0xFF, 0xF9, 0xFF, 0xF0, 0x41});
  EXPECT_EQ(p.data, (Bytes{0x41}));
  EXPECT_TRUE(p.verbs.empty());
  EXPECT_TRUE(p.subs.empty());
}

TEST(TelnetParser, OverlongSubNegotiationIsCutAndTheStreamGoesOn) {
  Bytes stream = {0xFF, 0xFA, 0x2C, 0x6A};
  stream.insert(stream.end(), 1000, 0x55);
  stream.insert(stream.end(), {0xFF, 0xF0, 0x42});
  const Parsed p = ParseAll(stream);
  ASSERT_EQ(p.subs.size(), 1u);
  EXPECT_EQ(p.subs[0].size(), kMaxSubBytes);
  EXPECT_EQ(p.data, (Bytes{0x42}));
}

TEST(TelnetParser, BrokenSubNegotiationResynchronises) {
  // IAC followed by a verb inside a sub-negotiation: the sub is dropped and
  // the verb is read as one.
  const Parsed p = ParseAll({0xFF, 0xFA, 0x2C, 0x65, 0xFF, 0xFB, 0x00, 0x43});
  EXPECT_TRUE(p.subs.empty());
  EXPECT_EQ(p.verbs, (std::vector<Bytes>{{0xFB, 0x00}}));
  EXPECT_EQ(p.data, (Bytes{0x43}));
}

TEST(TelnetParser, EmptySubNegotiationIsNothing) {
  const Parsed p = ParseAll({0xFF, 0xFA, 0xFF, 0xF0, 0x44});
  EXPECT_TRUE(p.subs.empty());
  EXPECT_EQ(p.data, (Bytes{0x44}));
}

}  // namespace
}  // namespace zel::telnet
