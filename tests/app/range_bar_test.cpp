// The range bar: a changed field holds the window in the range-edited
// sub-state until "Изменить диапазон" or Enter confirms the range.
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include "app/product_grid.h"
#include "app/product_table_model.h"
#include "app_fixture.h"

namespace zel::testing {
namespace {

class RangeBarTest : public AppFixture {
 protected:
  void SetUp() override {
    Start();
    prompts.Clear();
  }

  void Type(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
  }

  bool InRangeEditedState() {
    return !Main().ToolBar1()->isEnabled() && !Main().Button1()->isEnabled() &&
           !Main().StringGrid1()->isEnabled() && Main().Button3()->isEnabled();
  }
};

TEST_F(RangeBarTest, TypingInAFieldDisablesToolbarTableAndSelectBase) {
  Type(Main().Edit12(), "20");
  EXPECT_TRUE(InRangeEditedState());
  // The menus stay usable in this state.
  for (int m = 0; m < 4; ++m) EXPECT_TRUE(Main().MainMenu(m)->menuAction()->isEnabled()) << m;
}

TEST_F(RangeBarTest, ConfirmButtonLoadsTheRangeAndLeavesTheSubState) {
  WriteBaseRecord(1, 11, {"Сыр", "300.00", "1", "", "0.000", "1", "0"});
  Type(Main().Edit11(), "9");
  Type(Main().Edit12(), "16");
  QTest::mouseClick(Main().Button3(), Qt::LeftButton);
  EXPECT_FALSE(InRangeEditedState());
  EXPECT_TRUE(Main().ToolBar1()->isEnabled());
  const ProductTableModel& model = *Main().StringGrid1()->Model();
  ASSERT_EQ(model.rowCount(), 8);
  EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), "9");
  EXPECT_EQ(model.data(model.index(2, 1), Qt::DisplayRole).toString(), "Сыр");
  EXPECT_EQ(Ws().range.CurrentRecord, 9);
  EXPECT_EQ(Ws().range.LastRecord, 16);
}

TEST_F(RangeBarTest, EnterInAFieldActsAsTheConfirmButton) {
  Type(Main().Edit12(), "0100");
  QTest::keyClick(Main().Edit12(), Qt::Key_Return);
  EXPECT_FALSE(InRangeEditedState());
  EXPECT_EQ(Main().StringGrid1()->Model()->rowCount(), 100);
}

TEST_F(RangeBarTest, BlockAlignmentIsWrittenBackIntoTheFields) {
  Type(Main().Edit11(), "0003");
  Type(Main().Edit12(), "0010");
  QTest::keyClick(Main().Edit11(), Qt::Key_Return);
  EXPECT_EQ(Main().Edit11()->text(), "1");
  EXPECT_EQ(Main().Edit12()->text(), "12");
  EXPECT_FALSE(InRangeEditedState());
  EXPECT_EQ(Main().StringGrid1()->Model()->rowCount(), 12);
}

TEST_F(RangeBarTest, RejectedRangeIsResetAndStaysUnconfirmed) {
  Type(Main().Edit11(), "30");
  Type(Main().Edit12(), "20");
  QTest::mouseClick(Main().Button3(), Qt::LeftButton);
  ASSERT_EQ(prompts.shown().size(), 1u);
  EXPECT_EQ(prompts.shown()[0].kind, "error");
  EXPECT_EQ(prompts.shown()[0].text, "Диапазон базы должен быть в пределах 1..4096");
  EXPECT_EQ(Main().Edit11()->text(), "1");
  EXPECT_EQ(Main().Edit12()->text(), "4096");
  EXPECT_TRUE(InRangeEditedState());
}

TEST_F(RangeBarTest, FieldsTakeAtMostFiveCharacters) {
  Type(Main().Edit12(), "1234567");
  EXPECT_EQ(Main().Edit12()->text(), "12345");
  EXPECT_EQ(Ws().range.EndText(), "12345");
}

}  // namespace
}  // namespace zel::testing
