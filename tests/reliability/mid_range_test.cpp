// A device that falls silent in the middle of a range, and a device that
// answers so late that its reply arrives during the next attempt.
#include <gtest/gtest.h>

#include "device_operations.h"
#include "operations/operations.h"

namespace zel::testing {
namespace {

constexpr int kRows = 6;

void PrepareDevice(Rig& rig) {
  rig.SetRange(1, kRows);
  rig.FillRows(kRows);
  rig.Prompts().Answer(Answer::Yes);
  WriteActiveBase(rig.Ws());
  for (int row = 1; row <= kRows; ++row) rig.Ws().table.SetCell(row, kColName, "OLD");
  rig.Prompts().Clear();
}

std::size_t CleanReadReplyBytes(const std::string& type) {
  Rig rig(type);
  PrepareDevice(rig);
  rig.Port().Arm({});
  rig.Prompts().Answer(Answer::No);
  ReadActiveBase(rig.Ws());
  return rig.Port().RepliesCounted();
}

class SilentMidRange : public ::testing::TestWithParam<std::string> {};

TEST_P(SilentMidRange, KeepsTheRowsReadSoFarAndLeavesTheFileAlone) {
  const std::string type = GetParam();
  const std::size_t half = CleanReadReplyBytes(type) / 2;
  Rig rig(type);
  PrepareDevice(rig);
  const std::string before = rig.BaseBytes();
  rig.Port().Arm({FaultSide::Reply, FaultKind::Silence, half});
  rig.Prompts().Answer(Answer::No);
  ReadActiveBase(rig.Ws());
  ASSERT_EQ(rig.Messages().size(), 1u);
  EXPECT_TRUE(IsExchangeFailureMessage(rig.Messages()[0])) << rig.Messages()[0];
  int kept = 0;
  for (int row = 1; row <= kRows; ++row) kept += rig.Ws().table.Cell(row, kColName) != "OLD";
  EXPECT_GT(kept, 0) << "rows read before the silence are kept";
  EXPECT_LT(kept, kRows);
  EXPECT_NE(rig.Ws().table.Cell(1, kColName), "OLD");
  EXPECT_EQ(rig.Ws().table.Cell(kRows, kColName), "OLD");
  EXPECT_EQ(rig.BaseBytes(), before);
  EXPECT_EQ(rig.Ws().run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(rig.Ws().controls.toolbarEnabled);
}

class LateDevice : public ::testing::TestWithParam<std::string> {};

// Every reply comes after the attempt's time-out, so it lands in the next
// attempt; taking it would read the range from replies to other requests.
TEST_P(LateDevice, StaleRepliesAreNeverTakenForTheNextAttempt) {
  for (int64_t lateUs : {900'000, 2'000'000}) {
    Rig rig(GetParam());
    PrepareDevice(rig);
    const std::string before = rig.BaseBytes();
    rig.Device().faults->TurnaroundUs(lateUs);
    rig.Prompts().Answer(Answer::No);
    ReadActiveBase(rig.Ws());
    ASSERT_EQ(rig.Messages().size(), 1u) << lateUs;
    EXPECT_TRUE(IsExchangeFailureMessage(rig.Messages()[0])) << lateUs;
    for (int row = 1; row <= kRows; ++row)
      EXPECT_EQ(rig.Ws().table.Cell(row, kColName), "OLD") << lateUs << " row " << row;
    EXPECT_EQ(rig.BaseBytes(), before) << lateUs;
    EXPECT_EQ(rig.Ws().run.exchangeState, ExchangeState::Idle);
  }
}

INSTANTIATE_TEST_SUITE_P(EveryType, SilentMidRange, ::testing::ValuesIn(AllTypes()),
                         [](const auto& info) { return "Type" + std::to_string(info.index); });
INSTANTIATE_TEST_SUITE_P(EveryType, LateDevice, ::testing::ValuesIn(AllTypes()),
                         [](const auto& info) { return "Type" + std::to_string(info.index); });

}  // namespace
}  // namespace zel::testing
