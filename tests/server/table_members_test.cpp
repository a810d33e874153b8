// AddTovar, SetTop, GetNextTovar and GetNext over the product table.
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace zel::testing {
namespace {

class TableMembers : public ServerTest {
 protected:
  int Add(const ServerValue& section, const ServerValue& price = ServerValue("1.00")) {
    return server.AddTovar(ServerValue("ТОВАР"), price, section, ServerValue("4600000000017"));
  }
};

TEST_F(TableMembers, AddTovarSectionRules) {
  struct Case {
    const char* type;
    const char* section;
    int code;
  };
  const Case cases[] = {
      {"ЖРМ 3", "8", 6},       {"ККМ ЗЕЛ-7Ф", "8", 0}, {"ККМ ЗЕЛ-7Ф", "16", 0},
      {"ККМ ЗЕЛ-7Ф", "17", 6}, {"ЖРМ 1.5", "07", 0},   {"ЖРМ 3", "a1", 6},
      {"ЖРМ 3", "", 6},        {"ЖРМ 3", "0", 6},      {"ЖРМ 2.0", "7", 0},
      {"ЖРМ 3", "-1", 6},      {"ЖРМ 3", " 1", 6},     {"ККМ ЗЕЛ-7Ф", "000000016", 0},
  };
  for (const auto& c : cases) {
    ActivateRange(c.type, 1, 4);
    server.SetTop(1);
    EXPECT_EQ(Add(ServerValue(c.section)), c.code == 0 ? 1 : 0) << c.type << " " << c.section;
    EXPECT_EQ(Code(), c.code) << c.type << " " << c.section;
    if (c.code == 0) {
      EXPECT_EQ(ws.table.Cell(1, kColSection), c.section) << c.type;
    }
  }
}

TEST_F(TableMembers, AddTovarSectionAsAnInteger) {
  ActivateRange("ЖРМ 3", 1, 4);
  EXPECT_EQ(Add(ServerValue(int64_t{5})), 1);
  EXPECT_EQ(ws.table.Cell(1, kColSection), "5");
}

TEST_F(TableMembers, AddTovarPriceRules) {
  struct Case {
    const char* type;
    ServerValue price;
    int code;
    const char* stored;
  };
  const Case cases[] = {
      {"ЖРМ 3", ServerValue("12,5"), 0, "12.50"},
      {"ЖРМ 3", ServerValue("12.345"), 0, "12.35"},
      {"ЖРМ 3", ServerValue(int64_t{1000000}), 0, "1000000.00"},
      {"ККМ ЗЕЛ-7Ф", ServerValue(int64_t{1000000}), 7, ""},
      {"ККМ ЗЕЛ-7Ф", ServerValue("999999.99"), 0, "999999.99"},
      {"ЖРМ 3", ServerValue("9999999.99"), 0, "9999999.99"},
      {"ЖРМ 3", ServerValue("10000000"), 7, ""},
      {"ЖРМ 3", ServerValue(""), 7, ""},
      {"ЖРМ 3", ServerValue("-5"), 7, ""},
      {"ЖРМ 3", ServerValue(" 3 "), 0, "3.00"},
  };
  for (const auto& c : cases) {
    ActivateRange(c.type, 1, 4);
    server.SetTop(1);
    EXPECT_EQ(Add(ServerValue("1"), c.price), c.code == 0 ? 1 : 0)
        << c.type << " " << c.price.Text();
    EXPECT_EQ(Code(), c.code) << c.type << " " << c.price.Text();
    if (c.code == 0) {
      EXPECT_EQ(ws.table.Cell(1, kColPrice), c.stored) << c.price.Text();
    }
  }
}

TEST_F(TableMembers, AddTovarPriceThatIsNoNumberFailsAndStoresNothing) {
  ActivateRange("ЖРМ 3", 1, 4);
  server.SetRange(5, 4);  // code 3
  const std::string before = BaseBytes();
  for (const char* price : {"abc", "1.2.3", "1e5", ","}) {
    EXPECT_THROW(Add(ServerValue("1"), ServerValue(price)), ServerFailure) << price;
  }
  EXPECT_EQ(Code(), kCodeBadRange);
  EXPECT_EQ(server.Variables().TableCursor, 1);
  EXPECT_EQ(ws.table.Cell(1, kColName), "");
  EXPECT_EQ(BaseBytes(), before);
}

TEST_F(TableMembers, AddTovarFillsRowsAtTheCursorAndTheBaseFile) {
  ActivateRange("ЖРМ 3", 21, 23);
  EXPECT_EQ(server.AddTovar(ServerValue("МОЛОКО"), ServerValue("45,9"), ServerValue("07"),
                            ServerValue("4600000000017")),
            1);
  EXPECT_EQ(server.AddTovar(ServerValue(int64_t{42}), ServerValue(int64_t{3}), ServerValue("2"),
                            ServerValue("123")),
            1);
  EXPECT_EQ(ws.table.Cell(1, kColName), "МОЛОКО");
  EXPECT_EQ(ws.table.Cell(1, kColPrice), "45.90");
  EXPECT_EQ(ws.table.Cell(1, kColSection), "07");
  EXPECT_EQ(ws.table.Cell(1, kColBarcode), "460000000001");
  EXPECT_EQ(ws.table.Cell(2, kColName), "42");
  EXPECT_EQ(ws.table.Cell(2, kColBarcode), "123");
  EXPECT_EQ(ws.table.CurrentProductRow, 2);
  EXPECT_EQ(server.Variables().TableCursor, 3);
  const ProductRecord first = Stored(21);
  EXPECT_EQ(first.name, "МОЛОКО");
  EXPECT_EQ(first.price, "45.90");
  EXPECT_EQ(first.barcode, "460000000001");
  // The file's one-character section keeps the value, not the leading zero.
  EXPECT_EQ(first.section, "7");
  EXPECT_EQ(Stored(22).name, "42");
}

TEST_F(TableMembers, AddTovarPastTheRangeEndsTheTable) {
  ActivateRange("ЖРМ 3", 1, 2);
  EXPECT_EQ(Add(ServerValue("1")), 1);
  EXPECT_EQ(Add(ServerValue("1")), 1);
  EXPECT_EQ(Add(ServerValue("1")), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
  EXPECT_EQ(server.SetTop(99), 1);
  EXPECT_EQ(server.Variables().TableCursor, 1);
  EXPECT_EQ(Add(ServerValue("1")), 1);
}

TEST_F(TableMembers, GetNextTovarVisitsEveryRowOnceThenEnds) {
  ActivateRange("ЖРМ 1.5в", 5, 12);
  FillRows(8);
  ASSERT_EQ(server.SetTop(0), 1);
  for (int row = 1; row <= 8; ++row) {
    ASSERT_EQ(server.GetNextTovar(), 1) << row;
    EXPECT_EQ(server.Number(), std::to_string(row + 4));
    EXPECT_EQ(server.Name(), ws.table.Cell(row, kColName));
    EXPECT_EQ(server.Price(), ws.table.Cell(row, kColPrice));
    EXPECT_EQ(server.Section(), ws.table.Cell(row, kColSection));
    EXPECT_EQ(server.Sh_Code(), ws.table.Cell(row, kColBarcode));
    EXPECT_EQ(server.Uchet(), "0.000");
    EXPECT_EQ(server.PrVes(), ws.table.Cell(row, kCol6));
    EXPECT_EQ(server.TovGr(), "0");
  }
  EXPECT_EQ(server.GetNextTovar(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
}

TEST_F(TableMembers, GetNextTovarGivesTheGroupOnTheRegisterOnly) {
  ActivateRange("ККМ ЗЕЛ-7Ф", 1, 1);
  ws.table.SetCell(1, kCol6, "42");
  server.GetNextTovar();
  EXPECT_EQ(server.TovGr(), "42");
  EXPECT_EQ(server.PrVes(), "0");
  ActivateRange("ЖРМ 3", 1, 1);
  ws.table.SetCell(1, kCol6, "1");
  server.SetTop(1);
  server.GetNextTovar();
  EXPECT_EQ(server.TovGr(), "0");
  EXPECT_EQ(server.PrVes(), "0");
}

TEST_F(TableMembers, GetNextOverZeroAccountingEndsAtOnce) {
  ActivateRange("ЖРМ 3", 1, 5);
  for (int row = 1; row <= 5; ++row) ws.table.SetCell(row, kColAccounting, "0.000");
  EXPECT_EQ(server.GetNext(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
  EXPECT_EQ(server.Variables().TableCursor, 1);
}

TEST_F(TableMembers, GetNextSkipsToRowsWithSales) {
  ActivateRange("ЖРМ 3", 1, 6);
  const char* uchet[] = {"0.000", "0,001", "0.000", "", "2.500", "0.000"};
  for (int row = 1; row <= 6; ++row) ws.table.SetCell(row, kColAccounting, uchet[row - 1]);
  server.GetNextTovar();  // loads TovGr/PrVes "0", which GetNext keeps
  server.SetTop(1);
  ASSERT_EQ(server.GetNext(), 1);
  EXPECT_EQ(server.Number(), "2");
  EXPECT_EQ(server.Uchet(), "0,001");
  ASSERT_EQ(server.GetNext(), 1);
  EXPECT_EQ(server.Number(), "5");
  EXPECT_EQ(server.Variables().TableCursor, 6);
  EXPECT_EQ(server.GetNext(), 0);
  EXPECT_EQ(Code(), kCodeEndOfTable);
  EXPECT_EQ(server.Variables().TableCursor, 6);
}

TEST_F(TableMembers, GetNextOverAnAccountingCellThatIsNoNumberFails) {
  ActivateRange("ЖРМ 3", 1, 2);
  ws.table.SetCell(1, kColAccounting, "много");
  server.SetRange(5, 4);  // code 3
  EXPECT_THROW(server.GetNext(), ServerFailure);
  EXPECT_EQ(Code(), kCodeBadRange);
}

TEST_F(TableMembers, RangeFieldsBeingEditedAreRefused) {
  ActivateRange("ЖРМ 3", 1, 4);
  ws.range.SetEndText("4x");
  EXPECT_EQ(server.GetNextTovar(), 0);
  EXPECT_EQ(Code(), kCodeBadRange);
  EXPECT_EQ(Add(ServerValue("1")), 0);
  EXPECT_EQ(server.ClearTable(), 0);
}

}  // namespace
}  // namespace zel::testing
