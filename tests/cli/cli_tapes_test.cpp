// zelbase-cli control-tape commands on the demo ЖРМ 3 and ЖРМ 200.
#include <regex>

#include "base/settings.h"
#include "cli/cli_fixture.h"

namespace zel::testing {
namespace {

constexpr const char* kReminder = "Внимание: перед чтением контрольной ленты";

class CliTapes : public CliTest {
 protected:
  CliResult Tapes(const std::vector<std::string>& args, const char* channel = kZhrm3Channel) {
    std::vector<std::string> all = {"--channel", channel, "tapes"};
    all.insert(all.end(), args.begin(), args.end());
    return Demo(all);
  }
};

TEST_F(CliTapes, ListPrintsTheClosedBlocksAndTheCurrentOne) {
  const CliResult r = Tapes({"list"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 5u) << r.out;  // heading, three closed tapes, the current one
  EXPECT_EQ(lines[0], "КЛ  Номер КЛ  Дата вывода  Кол-во покупок");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex("1   101       01\\.12\\.26     \\d+")))
      << lines[1];
  EXPECT_TRUE(std::regex_match(lines[4], std::regex("4   Текущая\\s+4"))) << lines[4];
}

TEST_F(CliTapes, ReadPrintsThePurchasesOfTheChosenBlock) {
  const auto blocks = Lines(Tapes({"list"}).out);
  const int count = std::stoi(blocks[2].substr(blocks[2].find_last_of(' ') + 1));
  const CliResult r = Tapes({"read", "2"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, kReminder)) << "reminded by default";
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), static_cast<std::size_t>(count) + 1) << r.out;
  EXPECT_TRUE(lines[0].starts_with("№ в базе  Наименование")) << lines[0];
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_TRUE(std::regex_match(lines[i], std::regex("\\d+ .*(Продажа|Возврат)"))) << lines[i];
  }
}

TEST_F(CliTapes, ReadHonoursTheStoredReminderMode) {
  PrepareSettings();
  SetSetting(kGeneralSection, "Напоминание 3", "2");
  const CliResult r = Tapes({"read", "1"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(Contains(r.err, kReminder)) << r.err;
}

TEST_F(CliTapes, ReadOfABlockBeyondTheListIsAValidationFailure) {
  const CliResult r = Tapes({"read", "9"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "block 9 is not in the list of 4 blocks")) << r.err;
}

TEST_F(CliTapes, SaveListWritesCsvOrText) {
  ASSERT_EQ(Tapes({"save-list", Path("blocks.csv").string()}).exitCode, 0);
  const auto csv = Lines(Utf8(ReadBytes(Path("blocks.csv"))));
  ASSERT_EQ(csv.size(), 5u);
  EXPECT_EQ(csv[0], "№ КЛ;Дата вывода;Кол-во покупок;");
  EXPECT_TRUE(std::regex_match(csv[1], std::regex("\"101\";01\\.12\\.26;\\d+;"))) << csv[1];

  ASSERT_EQ(Tapes({"save-list", "--format", "txt", Path("blocks").string()}).exitCode, 0);
  const auto text = Lines(Utf8(ReadBytes(Path("blocks.txt"))));
  ASSERT_EQ(text.size(), 5u);
  EXPECT_EQ(text[0], "№ КЛ       Дата вывода   Кол-во покупок");
}

TEST_F(CliTapes, SaveWritesTheTapeHeadedByItsBlock) {
  const CliResult r = Tapes({"save", "1", Path("tape.txt").string()});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Lines(Utf8(ReadBytes(Path("tape.txt"))));
  ASSERT_GT(lines.size(), 6u);
  EXPECT_EQ(lines[0], "№ КЛ .......... 101");
  EXPECT_EQ(lines[1], "Дата вывода ... 01.12.26");
}

TEST_F(CliTapes, SaveWithoutAFileTypeIsBadUsage) {
  EXPECT_EQ(Tapes({"save-list", Path("blocks").string()}).exitCode, 2);
  EXPECT_EQ(Tapes({"save", "1", Path("tape.zlb").string()}).exitCode, 2);
}

TEST_F(CliTapes, ClearNeedsYesThenErases) {
  const CliResult refused = Tapes({"clear"}, kZhrm200Channel);
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(Contains(refused.err, "Хотите очистить блок КЛ ?")) << refused.err;
  const CliResult r = Tapes({"clear", "--yes"}, kZhrm200Channel);
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(CliTapes, DeviceWithoutTapesIsRefused) {
  const CliResult r = Tapes({"list"}, "2");
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "the active device is ЖРМ 1.5")) << r.err;
}

TEST_F(CliTapes, SilentDeviceIsADeviceFailure) {
  PrepareSettings();
  SetSetting(ChannelSection(5), "ЖРМ", "0099");
  const CliResult list = Tapes({"list"});
  EXPECT_EQ(list.exitCode, 1);
  EXPECT_TRUE(Contains(list.err, "Ошибка: Ошибка RS-232 или неверный номер ЖРМ 3(+)")) << list.err;
  const CliResult erase = Tapes({"clear", "--yes"});
  EXPECT_EQ(erase.exitCode, 1);
  EXPECT_TRUE(Contains(erase.err, "Информация: Ошибка RS232 или неверный номер ЖРМ 3"))
      << erase.err;
}

}  // namespace
}  // namespace zel::testing
