#include "common/cp1251.h"

#include <gtest/gtest.h>

namespace zel {
namespace {

struct CodecCase {
  const char* utf8;
  const char* cp1251;
};

TEST(Cp1251, EncodesAndDecodes) {
  const CodecCase cases[] = {
      {"Хлеб white", "\xD5\xEB\xE5\xE1 white"},
      {"АЯаяЁё№", "\xC0\xDF\xE0\xFF\xA8\xB8\xB9"},
      {"€ – —", "\x88 \x96 \x97"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Utf8ToCp1251(c.utf8), c.cp1251) << c.utf8;
    EXPECT_EQ(Cp1251ToUtf8(c.cp1251), c.utf8) << c.utf8;
  }
}

TEST(Cp1251, UnmappableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a漢b😀c"), "a?b?c");
  EXPECT_EQ(Utf8ToCp1251("ä"), "?");
}

TEST(Cp1251, MalformedUtf8BecomesQuestionMarks) {
  EXPECT_EQ(Utf8ToCp1251("a\xFF"
                         "b"),
            "a?b");
  EXPECT_EQ(Utf8ToCp1251("\xD0"), "?");            // truncated sequence
  EXPECT_EQ(Utf8ToCp1251("\xC0\x80"), "??");       // overlong NUL
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");  // surrogate
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(Cp1251, LengthsCountCp1251Characters) {
  EXPECT_EQ(Cp1251Length("Молоко 3,2%"), 11u);
  EXPECT_EQ(LeftChars("Молоко 3,2%", 6), "Молоко");
  EXPECT_EQ(LeftChars("abc", 10), "abc");
}

TEST(Cp1251, UpperCaseCoversCyrillicAndLatin) {
  EXPECT_EQ(UpperCase("хлеб white ё"), "ХЛЕБ WHITE Ё");
  EXPECT_EQ(UpperCase("123 №"), "123 №");
}

}  // namespace
}  // namespace zel
