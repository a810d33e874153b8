#include "sim/demo/demo_products.h"

#include <array>
#include <cstdio>
#include <string>

#include "common/cp1251.h"

namespace zel {
namespace {

struct Kind {
  const char* name;
  int minPrice;  // roubles
  int maxPrice;
  int section;
  bool weighed;
};

constexpr std::array<Kind, 32> kKinds = {{
    {"Хлеб Бородинский", 35, 70, 1, false},
    {"Батон нарезной", 30, 60, 1, false},
    {"Булочка сдобная", 15, 35, 1, false},
    {"Молоко 3,2%", 60, 110, 2, false},
    {"Кефир 1%", 55, 95, 2, false},
    {"Сметана 20%", 70, 140, 2, false},
    {"Творог 9%", 90, 190, 2, false},
    {"Масло сливочное", 150, 320, 2, false},
    {"Сыр Российский", 500, 900, 3, true},
    {"Сыр Голландский", 550, 950, 3, true},
    {"Колбаса Докторская", 450, 800, 3, true},
    {"Сосиски молочные", 300, 550, 3, true},
    {"Ветчина", 500, 850, 3, true},
    {"Яблоки", 90, 200, 4, true},
    {"Бананы", 100, 180, 4, true},
    {"Картофель", 30, 70, 4, true},
    {"Морковь", 30, 80, 4, true},
    {"Лук репчатый", 25, 60, 4, true},
    {"Сахар песок", 70, 120, 5, false},
    {"Соль поваренная", 15, 40, 5, false},
    {"Гречка ядрица", 80, 160, 5, false},
    {"Рис круглый", 70, 140, 5, false},
    {"Макароны", 50, 120, 5, false},
    {"Чай черный", 80, 350, 6, false},
    {"Кофе молотый", 250, 700, 6, false},
    {"Печенье", 60, 150, 6, false},
    {"Конфеты", 300, 900, 6, true},
    {"Шоколад", 70, 180, 6, false},
    {"Сок яблочный", 90, 180, 7, false},
    {"Вода минеральная", 40, 90, 7, false},
    {"Пиво светлое", 70, 160, 7, false},
    {"Квас", 60, 120, 7, false},
}};

std::string Digits(std::mt19937& rng, int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += static_cast<char>('0' + rng() % 10);
  return s;
}

std::string Price(std::mt19937& rng, const Kind& k) {
  const int roubles =
      k.minPrice + static_cast<int>(rng() % static_cast<unsigned>(k.maxPrice - k.minPrice + 1));
  char buf[32];
  std::snprintf(buf, sizeof buf, "%d.%02d", roubles, static_cast<int>(rng() % 10) * 10);
  return buf;
}

}  // namespace

std::vector<ProductRecord> DemoProducts(std::mt19937& rng, int count, int nameChars) {
  std::vector<ProductRecord> out;
  out.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    const Kind& k = kKinds[static_cast<std::size_t>(i) % kKinds.size()];
    ProductRecord r;
    const std::string variant =
        i < static_cast<int>(kKinds.size()) ? "" : " " + std::to_string(i / kKinds.size() + 1);
    r.name = LeftChars(std::string(k.name) + variant, static_cast<std::size_t>(nameChars));
    r.price = Price(rng, k);
    r.section = std::to_string(k.section);
    // Weighed goods carry a weight code "20" + five-digit product code + "00000".
    r.barcode = k.weighed ? "20" + Digits(rng, 5) + "00000" : "46" + Digits(rng, 10);
    r.column6 = k.weighed ? "1" : "0";
    r.column7 = k.weighed ? "1" : "0";
    out.push_back(r);
  }
  return out;
}

}  // namespace zel
