#include "base/device_types.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

struct TypeCase {
  const char* name;
  int capacity;
  int columns;
  const char* heading6;
  const char* heading7;
  Column6Rule column6;
  int64_t maxPriceCents;
  int sectionMin;
  int sectionMax;
  bool aligned;
  bool tapes;
  bool blockKkm;
  LineFamily family;
};

class DeviceTypeRow : public ::testing::TestWithParam<TypeCase> {};

TEST_P(DeviceTypeRow, MatchesTheTypeTable) {
  const TypeCase& c = GetParam();
  const DeviceType* t = DeviceTypeTable::Find(c.name);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->capacity, c.capacity);
  EXPECT_EQ(t->columnCount, c.columns);
  EXPECT_EQ(t->column6Heading, c.heading6);
  EXPECT_EQ(t->column7Heading, c.heading7);
  EXPECT_EQ(t->column6, c.column6);
  EXPECT_EQ(t->column7, c.columns == 8);
  EXPECT_EQ(t->maxPriceCents, c.maxPriceCents);
  EXPECT_EQ(t->sectionMin, c.sectionMin);
  EXPECT_EQ(t->sectionMax, c.sectionMax);
  EXPECT_EQ(t->blockAligned, c.aligned);
  EXPECT_EQ(t->controlTapes, c.tapes);
  EXPECT_EQ(t->blockKkmShown, c.blockKkm);
  EXPECT_EQ(t->family, c.family);
  EXPECT_TRUE(DeviceTypeTable::IsAcceptedName(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Types, DeviceTypeRow,
    ::testing::Values(TypeCase{"ЖРМ 1.5", 4096, 6, "Весы", "", Column6Rule::None, 999999999, 1, 7,
                               true, false, true, LineFamily::Zhrm15},
                      TypeCase{"ЖРМ 1.5в", 4096, 7, "Весы", "", Column6Rule::ScalesFlag, 999999999,
                               1, 7, true, false, true, LineFamily::Zhrm15},
                      TypeCase{"ЖРМ 2.0", 4096, 6, "", "", Column6Rule::None, 999999999, 1, 7,
                               false, false, true, LineFamily::Zhrm20},
                      TypeCase{"ЖРМ 3", 4096, 7, "Весы", "", Column6Rule::Digits, 999999999, 0, 9,
                               false, true, false, LineFamily::Zhrm3},
                      TypeCase{"ЖРМ 3+", 12288, 7, "Весы", "", Column6Rule::Digits, 999999999, 0, 9,
                               false, true, false, LineFamily::Zhrm3},
                      TypeCase{"ЖРМ 200", 11234, 8, "Тов. группа", "Весы", Column6Rule::Digits,
                               999999999, 0, 9, false, true, false, LineFamily::Zhrm3},
                      TypeCase{"ККМ ЗЕЛ-7Ф", 4000, 7, "Тов. группа", "", Column6Rule::ProductGroup,
                               99999999, 1, 8, false, false, true, LineFamily::Register}));

TEST(DeviceTypeTable, NamesAreExact) {
  EXPECT_EQ(DeviceTypeTable::All().size(), 7u);
  EXPECT_EQ(DeviceTypeTable::Find("ЖРМ 3 "), nullptr);
  EXPECT_EQ(DeviceTypeTable::Find("жрм 3"), nullptr);
  EXPECT_EQ(DeviceTypeTable::Find("ККМ ZEL-7Ф"), nullptr);
  EXPECT_TRUE(DeviceTypeTable::IsAcceptedName("ККМ ZEL-7Ф"));
  EXPECT_FALSE(DeviceTypeTable::IsAcceptedName("ЖРМ 4"));
}

TEST(DeviceTypeTable, UnknownTypeChecksAsA4096Base) {
  const DeviceType& t = DeviceTypeTable::RulesFor("что-то");
  EXPECT_EQ(t.capacity, 4096);
  EXPECT_FALSE(t.blockAligned);
  EXPECT_EQ(DeviceTypeTable::RangeMessage(t, false),
            "Диапазон базы должен быть в пределах 1..4096");
}

TEST(DeviceTypeTable, RangeMessagesInBothDotForms) {
  const auto msg = [](const char* name, bool emptyStart) {
    return DeviceTypeTable::RangeMessage(*DeviceTypeTable::Find(name), emptyStart);
  };
  EXPECT_EQ(msg("ККМ ЗЕЛ-7Ф", false), "Диапазон базы должен быть в пределах 1..4000");
  EXPECT_EQ(msg("ККМ ЗЕЛ-7Ф", true), "Диапазон базы должен быть в пределах 1...4000");
  EXPECT_EQ(msg("ЖРМ 1.5в", true), "Диапазон базы должен быть в пределах 1...4096");
  EXPECT_EQ(msg("ЖРМ 3+", true), "Диапазон базы должен быть в пределах 1...12288");
  EXPECT_EQ(msg("ЖРМ 200", true), "Диапазон базы должен быть в пределах 1..11234");
  EXPECT_EQ(msg("ЖРМ 200", false), "Диапазон базы должен быть в пределах 1..11234");
}

}  // namespace
}  // namespace zel
