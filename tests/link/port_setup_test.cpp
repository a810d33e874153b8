#include "link/port_setup.h"

#include <gtest/gtest.h>

#include <memory>

#include "sim/simulated_line.h"
#include "support/scripted_prompts.h"

namespace zel {
namespace {

using testing::ScriptedPrompts;

class PortSetupTest : public ::testing::Test {
 protected:
  PortSetupTest()
      : line(std::make_shared<SimulatedLine>(clock)), setup(link, DefaultPortOpener(line)) {
    setup.comPaths[0] = "sim";
    setup.comPaths[2] = "/nonexistent/ttyS2";
  }

  VirtualClock clock;
  std::shared_ptr<SimulatedLine> line;
  Link link;
  PortSetup setup;
  ScriptedPrompts prompts;
};

TEST_F(PortSetupTest, StartupOpenAppliesBasicSettings) {
  line->SetDtr(true);  // as Linux leaves it after the open
  setup.OpenAtStartup();
  ASSERT_TRUE(link.PortValid());
  EXPECT_FALSE(line->Dtr());
  const LineSettings s = line->Current();
  EXPECT_EQ(s.baud, 9600u);
  EXPECT_EQ(s.dataBits, 8);
  EXPECT_EQ(s.parity, Parity::None);
  EXPECT_EQ(s.stopBits, 1);
  EXPECT_EQ(s.flags, 0x2081);
  EXPECT_EQ(link.Timeouts().readIntervalMs, 1);
  EXPECT_EQ(link.Timeouts().readTotalPerByteMs, 3);
  EXPECT_EQ(link.Timeouts().writeTotalConstantMs, 20);
}

TEST_F(PortSetupTest, StartupOpenOfMissingPortShowsNothing) {
  setup.comIndex = 2;
  setup.OpenAtStartup();
  EXPECT_FALSE(link.PortValid());
  EXPECT_FALSE(link.SendAddressedCommand(3, 0));
}

TEST_F(PortSetupTest, SetPReportsBusyOrAbsentPortOrNoneChecked) {
  for (int comIndex : {2, -1}) {
    setup.OpenAtStartup();
    ASSERT_TRUE(link.PortValid());
    setup.comIndex = comIndex;  // -1: no COM button checked, COM1 ("sim") is not opened
    ScriptedPrompts shown;
    EXPECT_FALSE(setup.set_p(shown)) << comIndex;
    EXPECT_EQ(shown.texts(), std::vector<std::string>{"Порт уже используется или недоступен !"});
    EXPECT_FALSE(link.PortValid()) << comIndex;
    setup.OpenAtStartup();
    EXPECT_FALSE(link.PortValid()) << comIndex;
    setup.comIndex = 0;
  }
}

TEST_F(PortSetupTest, SetPReportsSuccess) {
  line->SetDtr(true);
  EXPECT_TRUE(setup.set_p(prompts));
  EXPECT_FALSE(line->Dtr());
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, "information");
  EXPECT_EQ(prompts.shown()[0].text, "Порт проинициализирован !");
  EXPECT_TRUE(link.PortValid());
}

struct ProfileCase {
  const char* name;
  LineFamily family;
  ProfileContext context;
  std::string speedIn;
  uint32_t baud;
  std::string speedOut;
  bool dtr;
  uint16_t flags;
  Parity parity;
};

TEST_F(PortSetupTest, LineProfiles) {
  const ProfileCase cases[] = {
      {"1.5", LineFamily::Zhrm15, ProfileContext::ChannelActivated, "57600", 10416, "57600", true,
       0x2081, Parity::None},
      {"2.0 ignores the box", LineFamily::Zhrm20, ProfileContext::DialogClosed, "115200", 19200,
       "115200", true, 0x2081, Parity::None},
      {"3+ with 4800", LineFamily::Zhrm3, ProfileContext::DialogClosed, "4800", 9600, "9600", false,
       0x2081, Parity::Space},
      {"3 with 115200", LineFamily::Zhrm3, ProfileContext::ChannelActivated, "115200", 115200,
       "115200", false, 0x2081, Parity::None},
      {"register from dialog", LineFamily::Register, ProfileContext::DialogClosed, "38400", 9600,
       "38400", false, 0x0001, Parity::Space},
      {"register on channel change", LineFamily::Register, ProfileContext::ChannelActivated, "",
       9600, "", false, 0x2081, Parity::Space},
  };
  for (const auto& c : cases) {
    setup.OpenAtStartup();
    link.SetParity(Parity::Space);  // as after an addressed exchange
    setup.speedText = c.speedIn;
    setup.ApplyLineProfile(c.family, c.context);
    const LineSettings s = line->Current();
    EXPECT_EQ(s.baud, c.baud) << c.name;
    EXPECT_EQ(setup.speedText, c.speedOut) << c.name;
    EXPECT_EQ(line->Dtr(), c.dtr) << c.name;
    EXPECT_EQ(s.flags, c.flags) << c.name;
    EXPECT_EQ(s.RtsHandshake(), c.flags == 0x2081) << c.name;
    EXPECT_EQ(s.parity, c.parity) << c.name;
  }
}

TEST_F(PortSetupTest, ReopenAppliesTheProfileInForce) {
  const std::pair<LineFamily, uint32_t> cases[] = {{LineFamily::Zhrm15, 10416},
                                                   {LineFamily::Zhrm20, 19200}};
  for (const auto& [family, baud] : cases) {
    setup.OpenAtStartup();
    setup.ApplyLineProfile(family);
    setup.ResetPort();
    setup.ReopenWithProfile();
    ASSERT_TRUE(link.PortValid());
    EXPECT_EQ(line->Current().baud, baud);
    EXPECT_TRUE(line->Dtr());
  }
  setup.ApplyLineProfile(LineFamily::Register, ProfileContext::DialogClosed);
  setup.ResetPort();
  setup.ReopenWithProfile();
  EXPECT_EQ(line->Current().flags, kFlagsBinaryOnly);
  EXPECT_FALSE(line->Dtr());
}

TEST_F(PortSetupTest, MySetupSetsMarkOrSpace) {
  setup.OpenAtStartup();
  setup.MySetup(true);
  EXPECT_EQ(line->Current().parity, Parity::Mark);
  setup.MySetup(false);
  EXPECT_EQ(line->Current().parity, Parity::Space);
}

TEST_F(PortSetupTest, ResetPortReleasesThePort) {
  setup.OpenAtStartup();
  setup.ResetPort();
  EXPECT_FALSE(link.PortValid());
  EXPECT_EQ(line.use_count(), 2);  // ours and the opener's copy
}

}  // namespace
}  // namespace zel
