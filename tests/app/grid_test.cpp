// Editing the product table through real key and mouse events: every way of
// confirming a cell runs the cell rules, and a valid cell's row is stored.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "app/product_grid.h"
#include "app/product_table_model.h"
#include "app/tovar_number_form.h"
#include "app_fixture.h"
#include "base/base_ops.h"

namespace zel::testing {
namespace {

class GridTest : public AppFixture {
 protected:
  void SetUp() override {
    WriteProducts();
    Start();
    prompts.Clear();
  }

  void WriteProducts() {
    WriteBaseRecord(1, 1, {"Хлеб", "5.00", "2", "111", "0.000", "1", "0"});
    WriteBaseRecord(1, 2, {"Батон", "7.00", "2", "222", "0.000", "1", "0"});
    WriteBaseRecord(1, 3, {"Сушки", "9.00", "2", "333", "0.000", "1", "0"});
  }

  ProductGrid& Grid() { return *Main().StringGrid1(); }
  const ProductTableModel& Model() { return *Grid().Model(); }
  std::string Cell(int row, int col) {
    return Model().data(Model().IndexOf(row, col), Qt::DisplayRole).toString().toStdString();
  }
  int CurrentRow() { return ProductTableModel::TableRow(Grid().currentIndex()); }

  // Selects a cell without validating anything, as a reload would.
  void Select(int row, int col) { Grid().setCurrentIndex(Model().IndexOf(row, col)); }

  // F2, the text, and `key` typed into the cell editor.
  void TypeInCell(int row, int col, const QString& text, int key) {
    Select(row, col);
    QLineEdit* editor = OpenEditor();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    TypeText(editor, text);
    if (key != 0) QTest::keyClick(editor, static_cast<Qt::Key>(key));
  }

  QLineEdit* OpenEditor() {
    QTest::keyClick(&Grid(), Qt::Key_F2);
    for (QLineEdit* e : Grid().viewport()->findChildren<QLineEdit*>()) {
      if (e->isVisible()) return e;
    }
    return nullptr;
  }

  void SendKey(QWidget* to, QEvent::Type type, int key, Qt::KeyboardModifiers mods) {
    QKeyEvent event(type, key, mods);
    QCoreApplication::sendEvent(to, &event);
  }
  void CtrlDigit(int digit) {
    SendKey(&Grid(), QEvent::KeyPress, Qt::Key_0 + digit, Qt::ControlModifier);
  }
  void ReleaseCtrl() { SendKey(&Grid(), QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier); }
};

struct EditCase {
  const char* what;
  int row;
  int col;
  const char* typed;
  int key;
  const char* cellAfter;
  std::vector<ScriptedPrompts::Shown> shown;
  const char* storedAfter;  ///< the column's text in the base file afterwards
  int rowAfter;
};

std::string StoredColumn(const ProductRecord& r, int col) {
  switch (col) {
    case 1:
      return r.name;
    case 2:
      return r.price;
    case 3:
      return r.section;
    case 4:
      return r.barcode;
    default:
      return r.column6;
  }
}

TEST_F(GridTest, ConfirmingKeysRunTheCellRules) {
  const EditCase cases[] = {
      {"price with comma", 1, 2, "12,5", Qt::Key_Return, "12.50", {}, "12.50", 1},
      {"price with letters",
       1,
       2,
       "12a",
       Qt::Key_Return,
       "0.00",
       {{"message", "Неверный формат цены"}},
       "5.00",
       1},
      {"section out of range",
       2,
       3,
       "8",
       Qt::Key_Enter,
       "1",
       {{"information", "Неверный номер отдела"}},
       "2",
       2},
      {"section then down", 2, 3, "5", Qt::Key_Down, "5", {}, "5", 3},
      {"price with letters then Tab",
       1,
       2,
       "abc",
       Qt::Key_Tab,
       "0.00",
       {{"message", "Неверный формат цены"}},
       "5.00",
       1},
      {"section then Shift+Tab", 2, 3, "6", Qt::Key_Backtab, "6", {}, "6", 2},
      {"name then up", 3, 1, "Чай", Qt::Key_Up, "Чай", {}, "Чай", 2},
      {"duplicate barcode",
       1,
       4,
       "333",
       Qt::Key_Return,
       "333",
       {{"information", "Товар с данным ШК уже существует."}},
       "111",
       1},
  };
  for (const EditCase& c : cases) {
    SCOPED_TRACE(c.what);
    prompts.Clear();
    TypeInCell(c.row, c.col, QString::fromUtf8(c.typed), c.key);
    EXPECT_EQ(Cell(c.row, c.col), c.cellAfter);
    EXPECT_EQ(prompts.shown(), c.shown);
    EXPECT_EQ(StoredColumn(StoredRecord(1, c.row), c.col), c.storedAfter);
    EXPECT_EQ(CurrentRow(), c.rowAfter);
    WriteProducts();  // the next case starts from the same file and table
    LoadBaseFile(Ws());
  }
}

TEST_F(GridTest, DownAfterARejectedCellShowsItsMessageOnce) {
  TypeInCell(1, 2, "x", Qt::Key_Down);
  EXPECT_EQ(CountShown("Неверный формат цены"), 1);
  EXPECT_EQ(CurrentRow(), 2);
}

TEST_F(GridTest, SelectingAnotherCellValidatesTheCellLeft) {
  TypeInCell(2, 2, "1,5", 0);  // still editing
  const QRect target = Grid().visualRect(Model().IndexOf(3, 1));
  QTest::mouseClick(Grid().viewport(), Qt::LeftButton, {}, target.center());
  EXPECT_EQ(Cell(2, 2), "1.50");
  EXPECT_EQ(StoredRecord(1, 2).price, "1.50");
  EXPECT_EQ(CurrentRow(), 3);
  EXPECT_EQ(Ws().table.CurrentProductCol, 1);
}

TEST_F(GridTest, LeavingTheTableValidatesTheCell) {
  TypeInCell(1, 3, "9", 0);
  Main().Edit11()->setFocus(Qt::MouseFocusReason);
  QCoreApplication::processEvents();
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Неверный номер отдела"});
  EXPECT_EQ(Cell(1, 3), "1");
}

TEST_F(GridTest, AccountingAndNumberColumnsCannotBeEdited) {
  EXPECT_FALSE(Model().flags(Model().IndexOf(1, kColAccounting)) & Qt::ItemIsEditable);
  EXPECT_FALSE(Model().flags(Model().IndexOf(1, kColNumber)) & Qt::ItemIsEditable);
  EXPECT_TRUE(Model().flags(Model().IndexOf(1, kColBarcode)) & Qt::ItemIsEditable);
  Select(1, kColAccounting);
  EXPECT_EQ(OpenEditor(), nullptr);
}

TEST_F(GridTest, ReturnWithoutEditingStoresTheRowAsShown) {
  Ws().table.SetCell(2, kColName, "Батон нарезной");
  Select(2, kColName);
  QTest::keyClick(&Grid(), Qt::Key_Return);
  EXPECT_EQ(StoredRecord(1, 2).name, "Батон нарезной");
}

TEST_F(GridTest, CtrlDigitsJumpToTheProductAndShowThePopup) {
  Select(1, 1);
  CtrlDigit(1);
  CtrlDigit(2);
  EXPECT_EQ(CurrentRow(), 12);
  TTovarNumberForm* popup = windows->TovarNumberForm();
  EXPECT_TRUE(popup->isVisible());
  EXPECT_EQ(popup->Edit1()->text(), "12");
  EXPECT_EQ(popup->pos(), Main().TovarNumberPosition());
  EXPECT_TRUE(prompts.shown().empty());
  ReleaseCtrl();
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(Ws().numberEntry.Value(), 0);
}

TEST_F(GridTest, NumberOutsideTheRangeOnlyUpdatesThePopup) {
  for (int d : {5, 0, 0}) CtrlDigit(d);
  ASSERT_EQ(CurrentRow(), 500);
  CtrlDigit(0);  // 5000 lies beyond 1..4096
  EXPECT_EQ(CurrentRow(), 500);
  EXPECT_EQ(windows->TovarNumberForm()->Edit1()->text(), "5000");
}

TEST_F(GridTest, PopupStartsEmptyAgainAfterCtrlIsReleased) {
  CtrlDigit(7);
  ReleaseCtrl();
  CtrlDigit(3);
  EXPECT_EQ(windows->TovarNumberForm()->Edit1()->text(), "3");
  EXPECT_EQ(CurrentRow(), 3);
}

TEST_F(GridTest, KeypadDigitsDoNotJump) {
  Select(1, 1);
  SendKey(&Grid(), QEvent::KeyPress, Qt::Key_4, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_FALSE(windows->TovarNumberForm()->isVisible());
  EXPECT_EQ(CurrentRow(), 1);
}

TEST_F(GridTest, CtrlDigitInsideTheEditorStillJumps) {
  Select(1, 1);
  QLineEdit* editor = OpenEditor();
  ASSERT_NE(editor, nullptr);
  SendKey(editor, QEvent::KeyPress, Qt::Key_2, Qt::ControlModifier);
  EXPECT_EQ(CurrentRow(), 2);
  EXPECT_TRUE(windows->TovarNumberForm()->isVisible());
}

TEST_F(GridTest, TypingInTheAccountingColumnKeepsTheCursor) {
  Ws().table.SetCell(3, kColAccounting, "9.000");
  Select(1, kColAccounting);
  TypeText(&Grid(), QStringLiteral("9"));
  EXPECT_EQ(CurrentRow(), 1);
  EXPECT_EQ(Grid().currentIndex().column(), kColAccounting);
}

TEST_F(GridTest, CtrlTabLeavesTheTableAndValidatesTheCell) {
  Main().activateWindow();
  Grid().setFocus(Qt::OtherFocusReason);
  const int page = Main().PageControl1()->currentIndex();
  TypeInCell(1, 3, "9", 0);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(prompts.texts(), std::vector<std::string>{"Неверный номер отдела"});
  EXPECT_FALSE(Grid().isAncestorOf(QApplication::focusWidget()));
  EXPECT_NE(QApplication::focusWidget(), &Grid());
  EXPECT_EQ(Main().PageControl1()->currentIndex(), page);

  Grid().setFocus(Qt::OtherFocusReason);
  QTest::keyClick(&Grid(), Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_NE(QApplication::focusWidget(), &Grid());
  EXPECT_EQ(Main().PageControl1()->currentIndex(), page);
}

}  // namespace
}  // namespace zel::testing
