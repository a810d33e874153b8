#include "base/cell_rules.h"

#include <gtest/gtest.h>

#include "base/product_number_entry.h"
#include "support/scripted_prompts.h"

namespace zel {
namespace {

using Shown = testing::ScriptedPrompts::Shown;

struct CellCase {
  const char* type;
  int col;
  const char* typed;
  const char* after;  // cell text afterwards
  CellOutcome outcome;
  Shown box;  // kind "" when no box
};

class ValidateCellTest : public ::testing::TestWithParam<CellCase> {};

TEST_P(ValidateCellTest, CellOutcomeAndMessage) {
  const CellCase& c = GetParam();
  ProductTable table;
  table.SetCell(3, c.col, c.typed);
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(ValidateCell(table, 3, c.col, c.type, prompts), c.outcome);
  EXPECT_EQ(table.Cell(3, c.col), c.after);
  if (c.box.kind.empty()) {
    EXPECT_TRUE(prompts.shown().empty());
  } else {
    EXPECT_EQ(prompts.shown(), std::vector<Shown>{c.box});
  }
}

const Shown kNone{"", ""};
const Shown kPrice{"message", "Неверный формат цены"};
const Shown kSection{"information", "Неверный номер отдела"};
const Shown kGroup{"information", "Неверный номер товарной группы"};
const Shown kScales{"information", "Неверный признак работы с весами"};
constexpr CellOutcome kSave = CellOutcome::SaveRow;
constexpr CellOutcome kKeep = CellOutcome::NotSaved;

INSTANTIATE_TEST_SUITE_P(
    Price, ValidateCellTest,
    ::testing::Values(CellCase{"ЖРМ 3", 2, "12,5", "12.50", kSave, kNone},
                      CellCase{"ЖРМ 3", 2, "12.5", "12.50", kSave, kNone},
                      CellCase{"ЖРМ 3", 2, ",5", "0.50", kSave, kNone},
                      CellCase{"ЖРМ 3", 2, "7", "7.00", kSave, kNone},
                      CellCase{"ЖРМ 3", 2, "0.005", "0.01", kSave, kNone},
                      CellCase{"ККМ ЗЕЛ-7Ф", 2, "1000000", "0.00", kKeep, kPrice},
                      CellCase{"ККМ ЗЕЛ-7Ф", 2, "999999.99", "999999.99", kSave, kNone},
                      CellCase{"ЖРМ 1.5", 2, "1000000", "1000000.00", kSave, kNone},
                      CellCase{"ЖРМ 200", 2, "9999999.99", "9999999.99", kSave, kNone},
                      CellCase{"ЖРМ 200", 2, "9999999.991", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "10000000", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "99999999999999999999999", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "12 р", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "-5", "0.00", kKeep, kPrice},
                      CellCase{"ЖРМ 3", 2, "1.2.3", "1.2.3", kKeep,
                               Shown{"error", "Неверный формат цены"}}));

INSTANTIATE_TEST_SUITE_P(Section, ValidateCellTest,
                         ::testing::Values(CellCase{"ККМ ЗЕЛ-7Ф", 3, "8", "8", kSave, kNone},
                                           CellCase{"ЖРМ 1.5", 3, "8", "1", kKeep, kSection},
                                           CellCase{"ЖРМ 1.5", 3, "7", "7", kSave, kNone},
                                           CellCase{"ЖРМ 3", 3, "0", "0", kSave, kNone},
                                           CellCase{"ККМ ЗЕЛ-7Ф", 3, "0", "1", kKeep, kSection},
                                           CellCase{"ЖРМ 200", 3, "9", "9", kSave, kNone},
                                           CellCase{"ЖРМ 3", 3, "12", "1", kKeep, kSection},
                                           CellCase{"ЖРМ 3", 3, "", "1", kKeep, kSection},
                                           CellCase{"ЖРМ 3", 3, "a", "1", kKeep, kSection}));

INSTANTIATE_TEST_SUITE_P(Columns5To7, ValidateCellTest,
                         ::testing::Values(CellCase{"ЖРМ 3", 5, "12.000", "12.000", kKeep, kNone},
                                           CellCase{"ККМ ЗЕЛ-7Ф", 6, "150", "0", kSave, kGroup},
                                           CellCase{"ККМ ЗЕЛ-7Ф", 6, "100", "100", kSave, kNone},
                                           CellCase{"ЖРМ 1.5в", 6, "2", "0", kSave, kScales},
                                           CellCase{"ЖРМ 1.5в", 6, "1", "1", kSave, kNone},
                                           CellCase{"ЖРМ 3", 6, "150", "150", kSave, kNone},
                                           CellCase{"ЖРМ 3", 6, "1a", "0", kSave, kGroup},
                                           CellCase{"ЖРМ 200", 6, "", "0", kSave, kGroup},
                                           CellCase{"ЖРМ 200", 7, "1x", "1x", kSave, kNone},
                                           CellCase{"ЖРМ 200", 7, "2", "0", kSave, kNone},
                                           CellCase{"ЖРМ 200", 7, "", "0", kSave, kNone},
                                           CellCase{"ЖРМ 3", 1, "любое имя", "любое имя", kSave,
                                                    kNone}));

TEST(ValidateCell, DuplicateBarcodeStaysUnsaved) {
  ProductTable table;
  table.SetCell(7, kColBarcode, "4600000000017");
  table.SetCell(2, kColBarcode, "4600000000017");
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(ValidateCell(table, 2, kColBarcode, "ЖРМ 3", prompts), CellOutcome::NotSaved);
  EXPECT_EQ(table.Cell(2, kColBarcode), "4600000000017");
  EXPECT_EQ(prompts.shown(),
            (std::vector<Shown>{{"information", "Товар с данным ШК уже существует."}}));
}

TEST(ValidateCell, BarcodeOfItsOwnRowOrNoneIsSaved) {
  ProductTable table;
  table.SetCell(2, kColBarcode, "123");
  table.SetCell(5, kColBarcode, "нет товара");
  table.SetCell(6, kColBarcode, "нет товара");
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(ValidateCell(table, 2, kColBarcode, "ЖРМ 3", prompts), CellOutcome::SaveRow);
  EXPECT_EQ(ValidateCell(table, 5, kColBarcode, "ЖРМ 3", prompts), CellOutcome::SaveRow);
  EXPECT_EQ(ValidateCell(table, 9, kColBarcode, "ЖРМ 3", prompts), CellOutcome::SaveRow);
  EXPECT_TRUE(prompts.shown().empty());
}

TEST(ValidateCell, DuplicateSearchCoversTheLastRow) {
  ProductTable table;
  table.SetCell(12288, kColBarcode, "77");
  table.SetCell(1, kColBarcode, "77");
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(ValidateCell(table, 1, kColBarcode, "ЖРМ 3+", prompts), CellOutcome::NotSaved);
}

TEST(ValidateCell, RowsBeyondTheLoadedRangeHoldNothing) {
  ProductTable table;
  table.SetCell(100, kColBarcode, "77");
  table.SetRowCount(13);  // a smaller range is loaded
  table.SetCell(1, kColBarcode, "77");
  testing::ScriptedPrompts prompts;
  EXPECT_EQ(ValidateCell(table, 1, kColBarcode, "ЖРМ 3", prompts), CellOutcome::SaveRow);
}

TEST(ProductNumberEntry, CtrlOneCtrlTwoJumpsToRow12) {
  ProductNumberEntry entry;
  EXPECT_EQ(entry.CtrlDigit(1, 1, 4096), 1);
  EXPECT_EQ(entry.CtrlDigit(2, 1, 4096), 12);
  EXPECT_TRUE(entry.PopupVisible());
  EXPECT_EQ(entry.PopupText(), "12");
  entry.CtrlReleased();
  EXPECT_EQ(entry.Value(), 0);
  EXPECT_FALSE(entry.PopupVisible());
}

TEST(ProductNumberEntry, RowCountsFromTheRangeStart) {
  ProductNumberEntry entry;
  EXPECT_EQ(entry.CtrlDigit(1, 100, 200), std::nullopt);
  EXPECT_EQ(entry.CtrlDigit(5, 100, 200), std::nullopt);
  EXPECT_EQ(entry.CtrlDigit(0, 100, 200), 51);
}

TEST(ProductNumberEntry, OutsideTheRangeOnlyUpdatesThePopup) {
  ProductNumberEntry entry;
  EXPECT_EQ(entry.CtrlDigit(0, 1, 4096), std::nullopt);  // 0 is no product
  EXPECT_EQ(entry.CtrlDigit(5, 1, 12), 5);
  EXPECT_EQ(entry.CtrlDigit(0, 1, 12), std::nullopt);
  EXPECT_EQ(entry.PopupText(), "050");
  entry.CtrlReleased();
  EXPECT_EQ(entry.CtrlDigit(7, 1, 12), 7);
  EXPECT_EQ(entry.PopupText(), "7");  // cleared when shown again
}

TEST(ProductNumberEntry, EndlessDigitsNeitherOverflowNorMatch) {
  ProductNumberEntry entry;
  for (int i = 0; i < 1000; ++i) entry.CtrlDigit(9, 1, 12288);
  EXPECT_EQ(entry.CtrlDigit(1, 1, 12288), std::nullopt);
  EXPECT_GT(entry.Value(), 12288);
  EXPECT_LE(entry.PopupText().size(), 32u);
}

TEST(PriceText, FormatsHundredths) {
  EXPECT_EQ(FormatPriceCents(0), "0.00");
  EXPECT_EQ(FormatPriceCents(5), "0.05");
  EXPECT_EQ(FormatPriceCents(999999999), "9999999.99");
}

}  // namespace
}  // namespace zel
