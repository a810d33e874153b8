#include "base/range.h"

#include <gtest/gtest.h>

#include "base_test_support.h"

namespace zel {
namespace {

struct RangeCase {
  const char* type;
  const char* start;
  const char* end;
  bool ok;
  const char* fieldStart;  // fields afterwards
  const char* fieldEnd;
  const char* message;  // error box, "" when none
};

class CheckBaseRangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(CheckBaseRangeTest, FieldsRecordsAndMessage) {
  const RangeCase& c = GetParam();
  ControlState controls;
  RangeFields range(controls);
  range.SetStartText(c.start);
  range.SetEndText(c.end);
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(CheckBaseRange(range, c.type, prompts), c.ok);
  EXPECT_EQ(range.StartText(), c.fieldStart);
  EXPECT_EQ(range.EndText(), c.fieldEnd);
  EXPECT_EQ(range.CurrentRecord, std::stoi(c.fieldStart));
  EXPECT_EQ(range.LastRecord, std::stoi(c.fieldEnd));
  if (*c.message) {
    ASSERT_EQ(prompts.shown().size(), 1u);
    EXPECT_EQ(prompts.shown()[0], (testing::ScriptedPrompts::Shown{"error", c.message}));
  } else {
    EXPECT_TRUE(prompts.shown().empty());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, CheckBaseRangeTest,
    ::testing::Values(RangeCase{"ЖРМ 1.5", "0003", "0010", true, "1", "12", ""},
                      RangeCase{"ЖРМ 1.5в", "5", "5", true, "5", "8", ""},
                      RangeCase{"ЖРМ 2.0", "0003", "0010", true, "0003", "0010", ""},
                      RangeCase{"ЖРМ 3+", "5000", "12288", true, "5000", "12288", ""},
                      RangeCase{"ЖРМ 2.0", "5000", "5000", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1..4096"},
                      RangeCase{"ККМ ЗЕЛ-7Ф", "", "10", false, "1", "4000",
                                "Диапазон базы должен быть в пределах 1...4000"},
                      RangeCase{"ЖРМ 3", "", "10", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1...4096"},
                      RangeCase{"ЖРМ 3+", "", "10", false, "1", "12288",
                                "Диапазон базы должен быть в пределах 1...12288"},
                      RangeCase{"ЖРМ 200", "", "10", false, "1", "11234",
                                "Диапазон базы должен быть в пределах 1..11234"},
                      RangeCase{"ЖРМ 3", "30", "20", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1..4096"},
                      RangeCase{"ККМ ЗЕЛ-7Ф", "1a", "20", false, "1", "4000",
                                "Диапазон базы должен быть в пределах 1..4000"},
                      RangeCase{"ЖРМ 3", "1", "", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1..4096"},
                      RangeCase{"ЖРМ 3", "1", "-5", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1..4096"},
                      RangeCase{"ЖРМ 3", "0", "5", false, "1", "4096",
                                "Диапазон базы должен быть в пределах 1..4096"},
                      RangeCase{"ЖРМ 200", "1", "11235", false, "1", "11234",
                                "Диапазон базы должен быть в пределах 1..11234"},
                      RangeCase{"ЖРМ 3+", "1", "99999999999999999999", false, "1", "12288",
                                "Диапазон базы должен быть в пределах 1..12288"},
                      RangeCase{"ККМ ЗЕЛ-7Ф", "4000", "4000", true, "4000", "4000", ""}));

TEST(RangeFields, ChangedTextEntersTheEditedState) {
  ControlState controls;
  int notified = 0;
  controls.onChanged = [&] { ++notified; };
  RangeFields range(controls);
  range.SetStartText("0001");  // unchanged: no event
  EXPECT_EQ(notified, 0);
  EXPECT_TRUE(controls.toolbarEnabled);
  range.SetEndText("100");
  EXPECT_EQ(notified, 1);
  EXPECT_FALSE(controls.toolbarEnabled);
  EXPECT_FALSE(controls.selectBaseEnabled);
  EXPECT_FALSE(controls.tableEnabled);
  EXPECT_TRUE(controls.confirmRangeEnabled);
  EXPECT_TRUE(controls.menusEnabled);  // an operation can still start from the menu
}

TEST(RangeFields, AlignmentCountsAsAChange) {
  ControlState controls;
  RangeFields range(controls);
  range.SetStartText("3");
  range.SetEndText("10");
  LeaveRangeEdited(controls);
  testing::ScriptedPrompts prompts;
  ASSERT_TRUE(CheckBaseRange(range, "ЖРМ 1.5", prompts));
  EXPECT_TRUE(controls.confirmRangeEnabled);
  EXPECT_FALSE(controls.tableEnabled);
}

TEST(SetEnabledAll, ReloadsCurrentRecordAndEnablesAll) {
  ControlState controls;
  RangeFields range(controls);
  range.SetStartText("17");
  testing::RecordingProgress progress;
  DisableForOperation(controls);
  range.CurrentRecord = 250;  // advanced by an operation
  SetEnabledAll(controls, range, progress);
  EXPECT_EQ(range.CurrentRecord, 17);
  EXPECT_EQ(progress.calls, std::vector<std::string>{"hide"});
  EXPECT_TRUE(controls.toolbarEnabled);
  EXPECT_TRUE(controls.menusEnabled);
  EXPECT_TRUE(controls.rangePanelEnabled);
  EXPECT_TRUE(controls.selectBaseEnabled);
  EXPECT_FALSE(controls.tableEnabled);  // the range was never confirmed
}

TEST(SetEnabledAll, NonNumericStartKeepsTheRecord) {
  ControlState controls;
  RangeFields range(controls);
  range.SetStartText("x");
  range.CurrentRecord = 9;
  testing::RecordingProgress progress;
  SetEnabledAll(controls, range, progress);
  EXPECT_EQ(range.CurrentRecord, 9);
}

TEST(ParseRecordNumber, DigitsOnly) {
  EXPECT_EQ(ParseRecordNumber("0042"), 42);
  EXPECT_EQ(ParseRecordNumber(""), std::nullopt);
  EXPECT_EQ(ParseRecordNumber(" 4"), std::nullopt);
  EXPECT_GT(*ParseRecordNumber("123456789012345678901234567890"), 12288);
}

}  // namespace
}  // namespace zel
