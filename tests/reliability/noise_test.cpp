// Seeded random bit errors over a write and a read of each family: every
// record arrives as sent or the operation ends with its message; records an
// 8-bit checksum let through are counted and printed.
#include <gtest/gtest.h>

#include <cstdio>

#include "fault_rig.h"
#include "noise_run.h"

namespace zel::testing {
namespace {

// The whole memory of each family: 4096 records, 4000 on the cash register.
int RecordsOf(const std::string& type) {
  return type == "ККМ ЗЕЛ-7Ф" ? 4000 : 4096;
}

class NoisyLine : public ::testing::TestWithParam<std::string> {};

TEST_P(NoisyLine, EveryRecordArrivesOrTheOperationSaysSo) {
  std::printf(
      "type            rate  records  bits  write: end, wrong unnoticed/in a reported run"
      "  read: the same\n");
  for (double rate : {1e-4, 1e-3}) {
    const NoiseFigures f = RunNoisyRoundTrip(GetParam(), RecordsOf(GetParam()), rate, 20261207);
    std::printf("%s\n", FormatNoiseFigures(GetParam(), rate, f).c_str());
    EXPECT_GT(f.bitsFlipped, 0u) << rate;
    EXPECT_TRUE(f.settled) << rate;
  }
}

INSTANTIATE_TEST_SUITE_P(EveryType, NoisyLine, ::testing::ValuesIn(AllTypes()),
                         [](const auto& info) { return "Type" + std::to_string(info.index); });

}  // namespace
}  // namespace zel::testing
