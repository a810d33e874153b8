// The range bar: a changed field holds the window in the range-edited
// sub-state until "Изменить диапазон" or Enter confirms the range.
#include <algorithm>
#include <vector>

#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

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

// The darkest pixel of each toolbar button as drawn: a disabled glyph has no
// dark strokes left, whatever its colours.
std::vector<int> DarkestPixels(QToolBar* toolbar) {
  std::vector<int> darkest;
  for (QAction* action : toolbar->actions()) {
    QWidget* button = toolbar->widgetForAction(action);
    if (!qobject_cast<QToolButton*>(button)) continue;
    const QImage image = button->grab().toImage();
    int least = 255;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) least = std::min(least, qGray(image.pixel(x, y)));
    }
    darkest.push_back(least);
  }
  return darkest;
}

TEST_F(RangeBarTest, DisabledToolbarGlyphsAreFaded) {
  Main().show();
  const std::vector<int> enabled = DarkestPixels(Main().ToolBar1());
  ASSERT_EQ(enabled.size(), 11u);
  // The list, preview and exit glyphs are drawn in black.
  EXPECT_LT(*std::min_element(enabled.begin(), enabled.end()), 40);
  Type(Main().Edit12(), "20");
  ASSERT_TRUE(InRangeEditedState());
  const std::vector<int> disabled = DarkestPixels(Main().ToolBar1());
  for (size_t i = 0; i < disabled.size(); ++i) EXPECT_GT(disabled[i], 110) << "button " << i;
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
