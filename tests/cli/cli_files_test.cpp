// zelbase-cli file exchange and listings: export, import, show, channels,
// and the demo folder it prepares.
#include <fstream>

#include "base/settings.h"
#include "cli/cli_fixture.h"
#include "common/cp1251.h"

namespace zel::testing {
namespace {

constexpr int kZhrm3 = 5;

void WriteCp1251(const std::filesystem::path& path, const std::string& utf8) {
  std::ofstream(path, std::ios::binary) << Utf8ToCp1251(utf8);
}

using CliFiles = CliTest;

TEST_F(CliFiles, DemoWritesItsSettingsUnderXdgDataHome) {
  CliOptions options;
  options.env = {"XDG_DATA_HOME=" + Folder().string()};
  const CliResult r = RunCli({"--demo", "channels"}, options);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(std::filesystem::exists(Path("ZELBase/demo/ZELBase.ini")));
  EXPECT_TRUE(std::filesystem::exists(Path("ZELBase/demo/Base/Base16.bsd")));
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "Канал  Тип прибора  ЖРМ №  ККМ №     Подключен  Активный");
  EXPECT_EQ(lines[1], "1      ЖРМ 200      0001   00000001  да         да");
  EXPECT_EQ(lines[7], "7      ККМ ЗЕЛ-7Ф   0007   00000007  да         нет");
  EXPECT_EQ(lines[16], "16     ЖРМ 1.5      0016   00000016  нет        нет");
}

TEST_F(CliFiles, ChannelsShowTheSettingsAndTheRunsChannel) {
  PrepareSettings();
  SetSetting(ChannelSection(6), "Set", "1");
  const CliResult r = Demo({"--channel", kZhrm3Channel, "channels"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Lines(r.out);
  EXPECT_TRUE(lines[1].ends_with("да         нет")) << "channel 1 no longer active: " << lines[1];
  EXPECT_TRUE(Contains(lines[5], "ЖРМ 3 ")) << lines[5];
  EXPECT_TRUE(lines[5].ends_with("да         да")) << lines[5];
  EXPECT_TRUE(Contains(lines[6], "нет        нет")) << "channel 6 switched off: " << lines[6];
}

TEST_F(CliFiles, HistoryDiffAndRestoreBringBackTheBaseBeforeARead) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const std::filesystem::path base = Path("Base/Base5.bsd");
  const std::string read = ReadBytes(base);
  ASSERT_EQ(Zhrm3({"clear", "--yes"}).exitCode, 0);

  CliResult r = Zhrm3({"history"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 3u) << r.out;
  EXPECT_TRUE(lines[0].starts_with("Копия  ")) << lines[0];
  EXPECT_TRUE(Contains(lines[1], "-clear.bsd  очистка таблицы  ")) << lines[1];
  EXPECT_TRUE(lines[1].ends_with("  8")) << "eight products differ: " << lines[1];
  const std::string copy = lines[1].substr(0, lines[1].find(' '));

  r = Zhrm3({"diff", copy});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.out, "1      Наименование")) << r.out;

  EXPECT_EQ(Zhrm3({"restore", copy}).exitCode, 2) << "the question needs --yes";
  EXPECT_EQ(Zhrm3({"restore", "Base5-nothing.bsd", "--yes"}).exitCode, 2);
  r = Zhrm3({"restore", copy, "--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(ReadBytes(base) == read);
  EXPECT_EQ(Lines(Zhrm3({"history"}).out).size(), 4u) << "the cleared file was kept too";
}

TEST_F(CliFiles, AReadWhoseCopyCannotBeKeptChangesNothing) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  std::filesystem::remove_all(Path("Base/history"));
  std::ofstream(Path("Base/history")) << "a file where the folder should be";
  std::ifstream in(Path("Base/Base5.bsd"), std::ios::binary);
  const std::string before((std::istreambuf_iterator<char>(in)), {});
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"read"}, std::vector<std::string>{"clear", "--yes"}}) {
    const CliResult r = Zhrm3(command);
    EXPECT_EQ(r.exitCode, 1) << command[0];
    EXPECT_TRUE(Contains(r.err, "Не удалось сохранить копию базы")) << r.err;
  }
  std::ifstream after(Path("Base/Base5.bsd"), std::ios::binary);
  EXPECT_TRUE(std::string((std::istreambuf_iterator<char>(after)), {}) == before);
}

TEST_F(CliFiles, ShowPrintsTheRangeAsColumns) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const CliResult r = Zhrm3({"show"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_TRUE(lines[0].starts_with("N  Наименование  Стоимость  Отдел  Штрих-код")) << lines[0];
  const auto first = BaseRecords(kZhrm3, 0, 1)[0];
  EXPECT_TRUE(lines[1].starts_with("1  ")) << lines[1];
  EXPECT_TRUE(Contains(lines[1], first.name + "  " + first.price)) << lines[1];
  EXPECT_TRUE(Contains(lines[1], first.barcode)) << lines[1];
  EXPECT_TRUE(lines[8].starts_with("8  ")) << lines[8];
}

// A base file cut short: named on stderr, a command that reads the range
// ends with 1, a write sends nothing, and the file keeps its length.
TEST_F(CliFiles, ShortBaseFileIsNamedAndReadingTheRangeEndsWithOne) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const std::filesystem::path file = Path("Base/Base" + std::to_string(kZhrm3) + ".bsd");
  std::filesystem::resize_file(file, 3 * 77);
  const CliResult show = Zhrm3({"show"});
  EXPECT_EQ(show.exitCode, 1);
  EXPECT_TRUE(Contains(show.err, file.string() + " короче диапазона базы: записей в нем 3"))
      << show.err;
  PrepareSettings();
  SetSetting("Диапазон базы", "begin", "0001");
  SetSetting("Диапазон базы", "end", "0008");
  SetSetting(ChannelSection(kZhrm3), "Select", "1");
  // Without --channel and --range the load is the settings' own.
  for (const char* command : {"show", "write"}) {
    const CliResult r = Demo({command});
    EXPECT_EQ(r.exitCode, 1) << command << ": " << r.err;
    EXPECT_TRUE(Contains(r.err, "короче диапазона базы")) << command << ": " << r.err;
  }
  EXPECT_TRUE(Contains(Demo({"write"}).err, "nothing written"));
  EXPECT_EQ(std::filesystem::file_size(file), 3u * 77);
}

struct ExportCase {
  std::string format;   ///< --format value, empty for none
  std::string given;    ///< FILE operand
  std::string written;  ///< the name after completion
  std::string start;    ///< the file's first bytes, as UTF-8
  std::size_t lines;    ///< text lines, or 77-byte records for ZEL_Base
};

TEST_F(CliFiles, ExportWritesEachFormatUnderItsCompletedName) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const ExportCase cases[] = {
      {"csv", "a", "a.csv", "номер;наименование;цена;отдел;штрих-код;учет;\r\n1;\"", 9},
      {"txt", "b.TXT", "b.txt", "номер   наименование", 10},
      {"", "c.zlb", "c.zlb", "", 8},
      {"", "d.CSV", "d.csv", "номер;", 9},
  };
  for (const ExportCase& c : cases) {
    std::vector<std::string> args = {"export", Path(c.given).string()};
    if (!c.format.empty()) args.insert(args.end(), {"--format", c.format});
    const CliResult r = Zhrm3(args);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::string bytes = ReadBytes(Path(c.written));
    EXPECT_EQ(Utf8(bytes).rfind(c.start, 0), 0u) << c.written;
    const std::size_t count = c.written.ends_with(".zlb") ? bytes.size() / 77 : Lines(bytes).size();
    EXPECT_EQ(count, c.lines) << c.written;
  }
}

TEST_F(CliFiles, ExportWithoutAFileTypeIsBadUsage) {
  const CliResult r = Zhrm3({"export", Path("out").string()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_FALSE(std::filesystem::exists(Path("out")));
}

TEST_F(CliFiles, ExportIntoAMissingFolderFails) {
  const CliResult r = Zhrm3({"export", Path("no/such/x.csv").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, " - Снимите защиту от записи!")) << r.err;
}

TEST_F(CliFiles, TextImportReportsEveryLineAndStoresTheAccepted) {
  const auto file = Path("in.txt");
  WriteCp1251(file, "Хлеб;12,50;1;4601;\r\nМолоко;9.5;2;4602\r\n\r\nСыр;100.00;3;4603\r\n");
  const CliResult r = Zhrm3({"import", file.string()});
  EXPECT_EQ(r.exitCode, 2) << "a rejected line is a validation failure";
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 6u) << r.out;
  EXPECT_EQ(lines[0], "1  Хлеб;12,50;1;4601;  Ok.");
  EXPECT_EQ(lines[1], "?   Молоко;9.5;2;4602  Ошибка - Неверный формат цены");
  EXPECT_EQ(lines[2], "2  Сыр;100.00;3;4603  Ok.");
  EXPECT_EQ(lines[5], "1 ошибок");
  const auto records = BaseRecords(kZhrm3, 0, 3);
  EXPECT_EQ(records[0].name, "Хлеб");
  EXPECT_EQ(records[0].price, "12.50");
  EXPECT_EQ(records[1].name, "Сыр");
  EXPECT_EQ(records[2].name, "");
}

TEST_F(CliFiles, TextImportOfValidLinesSucceeds) {
  const auto file = Path("in.txt");
  WriteCp1251(file, "Хлеб;12.50;1;4601\r\nСыр;100.00;3;4603\r\n");
  const CliResult r = Zhrm3({"import", file.string()});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Lines(r.out).back(), "0 ошибок");
}

TEST_F(CliFiles, TextImportBeyondTheRangeIsAValidationFailure) {
  const auto file = Path("in.txt");
  WriteCp1251(file, "A;1.00;1;1\r\nB;2.00;1;2\r\nC;3.00;1;3\r\n");
  const CliResult r = Demo({"--channel", kZhrm3Channel, "--range", "1-2", "import", file.string()});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.out, "Достигнут конец таблицы")) << r.out;
  EXPECT_EQ(BaseRecords(kZhrm3, 1, 1)[0].name, "B");
}

TEST_F(CliFiles, ImportOfAMissingFileFails) {
  const CliResult r = Zhrm3({"import", Path("none.txt").string()});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "Информация: Файл не найден")) << r.err;
}

TEST_F(CliFiles, ZelBaseExportAndImportRestoreTheRange) {
  ASSERT_EQ(Zhrm3({"read", "--with-accounting"}).exitCode, 0);
  const auto before = BaseRecords(kZhrm3, 0, 8);
  const std::string file = Path("copy.zlb").string();
  ASSERT_EQ(Zhrm3({"export", file}).exitCode, 0);
  ASSERT_EQ(Zhrm3({"clear", "--yes"}).exitCode, 0);
  ASSERT_NE(BaseRecords(kZhrm3, 0, 8), before);
  const CliResult r = Zhrm3({"import", file});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  const auto after = BaseRecords(kZhrm3, 0, 8);
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(after[i].name, before[i].name);
    EXPECT_EQ(after[i].price, before[i].price);
    EXPECT_EQ(after[i].barcode, before[i].barcode);
    EXPECT_EQ(after[i].accounting, before[i].accounting);
  }
}

}  // namespace
}  // namespace zel::testing
