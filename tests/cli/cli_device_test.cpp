// zelbase-cli against the demo network: the device commands, their exit
// codes and what they leave in the base files.
#include <signal.h>

#include <fstream>
#include <regex>

#include "base/settings.h"
#include "cli/cli_fixture.h"

namespace zel::testing {
namespace {

constexpr int kZhrm3 = 5;

TEST(CliUsage, HelpListsCommandsAndExitCodes) {
  const CliResult r = RunCli({"--help"});
  EXPECT_EQ(r.exitCode, 0);
  for (const char* part :
       {"read", "write", "reset-accounting --yes", "tapes save K FILE", "last-barcode", "channels",
        "0  success", "1  device or file failure", "2  bad usage or validation"}) {
    EXPECT_TRUE(Contains(r.out, part)) << part;
  }
  EXPECT_EQ(r.out.back(), '\n');
}

TEST(CliUsage, BadArgumentsExitWithTwoBeforeTouchingAnything) {
  const std::vector<std::vector<std::string>> cases = {
      {}, {"frobnicate"}, {"--channel", "99", "show"}, {"tapes", "read"}, {"show", "--yes"}};
  for (const auto& args : cases) {
    const CliResult r = RunCli(args);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(Contains(r.err, "zelbase-cli: ")) << r.err;
    EXPECT_TRUE(Contains(r.err, "--help")) << r.err;
  }
}

using CliDevice = CliTest;

TEST_F(CliDevice, DataFolderIsMadeOnTheFirstRunButAFileIsBadUsage) {
  const std::filesystem::path fresh = Path("new") / "shop";
  const CliResult made = RunCli({"--data-dir", fresh.string(), "channels"});
  EXPECT_EQ(made.exitCode, 0) << made.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(fresh / "Base" / "Base16.bsd"));

  std::ofstream(Path("plain")) << "x";
  const CliResult file = RunCli({"--data-dir", Path("plain").string(), "channels"});
  EXPECT_EQ(file.exitCode, 2);
  EXPECT_TRUE(Contains(file.err, "is not a folder")) << file.err;
}

TEST_F(CliDevice, ReadStoresTheRangeAndNothingElse) {
  const CliResult r = Zhrm3({"read"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Читать одновременно с товароучетом ? Нет")) << r.err;
  const auto records = BaseRecords(kZhrm3, 0, 9);
  for (int i = 0; i < 8; ++i) {
    EXPECT_FALSE(records[i].name.empty()) << i;
    EXPECT_FALSE(records[i].barcode.empty()) << i;
    EXPECT_EQ(records[i].accounting, records[8].accounting) << "no accounting asked for";
  }
  EXPECT_EQ(records[8].name, "");
}

TEST_F(CliDevice, ReadWithAccountingFillsTheCounters) {
  ASSERT_EQ(Zhrm3({"read", "--with-accounting"}).exitCode, 0);
  const auto records = BaseRecords(kZhrm3, 0, 9);
  int counted = 0;
  for (int i = 0; i < 8; ++i) counted += records[i].accounting != records[8].accounting;
  EXPECT_GT(counted, 0);
}

TEST_F(CliDevice, ReadAccountingAndResetWithYes) {
  ASSERT_EQ(Zhrm3({"read-accounting"}).exitCode, 0);
  auto records = BaseRecords(kZhrm3, 0, 8);
  int counted = 0;
  for (const auto& rec : records) counted += rec.accounting != "0.000";
  ASSERT_GT(counted, 0);

  const CliResult refused = Zhrm3({"reset-accounting"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(Contains(refused.err, "Хотите очистить блок товароучета ?")) << refused.err;
  EXPECT_TRUE(Contains(refused.err, "--yes")) << refused.err;
  EXPECT_EQ(BaseRecords(kZhrm3, 0, 8), records) << "a refused reset stores nothing";

  ASSERT_EQ(Zhrm3({"reset-accounting", "--yes"}).exitCode, 0);
  for (const auto& rec : BaseRecords(kZhrm3, 0, 8)) EXPECT_EQ(rec.accounting, "0.000");
}

TEST_F(CliDevice, WriteSendsTheRangeAndTracesIt) {
  const std::string trace = Path("trace.log").string();
  const CliResult r =
      Demo({"--trace", trace, "--channel", kZhrm3Channel, "--range", "1-4", "write"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "Действительно хотите записать базу ? Да")) << r.err;
  EXPECT_TRUE(Contains(ReadBytes(trace), " TX ")) << "the write reached the line";
}

TEST_F(CliDevice, WriteWithLockOnAZhrm20) {
  const CliResult r = Demo({"--channel", "4", "--range", "1-2", "write", "--lock"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
}

TEST_F(CliDevice, ClearNeedsYesAndEmptiesTheRange) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const CliResult refused = Zhrm3({"clear"});
  EXPECT_EQ(refused.exitCode, 2);
  EXPECT_TRUE(Contains(refused.err, "Действительно хотите очистить таблицу?")) << refused.err;
  EXPECT_NE(BaseRecords(kZhrm3, 0, 1)[0].name, "");

  ASSERT_EQ(Zhrm3({"clear", "--yes"}).exitCode, 0);
  for (const auto& rec : BaseRecords(kZhrm3, 0, 8)) EXPECT_EQ(rec.name, "");
}

TEST_F(CliDevice, SettingsAreReadButNeverChanged) {
  PrepareSettings();
  const std::string before = ReadBytes(Path(kSettingsFileName));
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  EXPECT_EQ(ReadBytes(Path(kSettingsFileName)), before);
}

TEST_F(CliDevice, WrongDeviceNumberIsADeviceFailure) {
  PrepareSettings();
  SetSetting(ChannelSection(kZhrm3), "ЖРМ", "0099");
  const CliResult read = Zhrm3({"read"});
  EXPECT_EQ(read.exitCode, 1);
  EXPECT_TRUE(Contains(read.err, "Ошибка: Ошибка RS-232 или неверный номер ЖРМ 3\n")) << read.err;
  EXPECT_EQ(BaseRecords(kZhrm3, 0, 1)[0].name, "") << "a failed read stores nothing";
  EXPECT_EQ(Zhrm3({"write"}).exitCode, 1);
  EXPECT_EQ(Zhrm3({"read-accounting"}).exitCode, 1);
}

TEST_F(CliDevice, InvalidDeviceNumberIsAValidationFailure) {
  PrepareSettings();
  SetSetting(ChannelSection(kZhrm3), "ЖРМ", "00x5");
  const CliResult r = Zhrm3({"read"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "Неверный номер ЖРМ !!!")) << r.err;
}

TEST_F(CliDevice, RangeBeyondTheTypeIsAValidationFailure) {
  const CliResult r = Demo({"--channel", kZhrm3Channel, "--range", "1-99999", "read"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "Ошибка: Диапазон базы должен быть в пределах 1..4096")) << r.err;
}

TEST_F(CliDevice, SwitchedOffChannelIsRefused) {
  const CliResult r = Demo({"--channel", "9", "read"});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(Contains(r.err, "channel 9 is switched off")) << r.err;
}

TEST_F(CliDevice, LastBarcodeIsLookedUpInTheRange) {
  ASSERT_EQ(Zhrm3({"read"}).exitCode, 0);
  const CliResult r = Zhrm3({"last-barcode"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::smatch m;
  const std::string line = Lines(r.out).at(0);
  ASSERT_TRUE(std::regex_match(line, m, std::regex("(\\d+)  (.*)"))) << line;
  const auto records = BaseRecords(kZhrm3, 0, 8);
  std::string expected = "Код в базе отсутствует.";
  for (int i = 0; i < 8; ++i) {
    if (records[i].barcode == m[1]) expected = "Номер товара - " + std::to_string(i + 1);
  }
  EXPECT_EQ(m[2], expected);
}

TEST_F(CliDevice, LastBarcodeWatchRunsUntilInterrupted) {
  CliProcess p({"--demo", "--data-dir", Folder().string(), "--channel", kZhrm3Channel,
                "last-barcode", "--watch"});
  std::string line;
  ASSERT_TRUE(p.ReadOutLine(line));
  EXPECT_TRUE(std::regex_match(line, std::regex("\\d+  .+"))) << line;
  p.Signal(SIGINT);
  EXPECT_EQ(p.Finish().exitCode, 0);
}

TEST_F(CliDevice, InterruptStopsAReadAndReportsIt) {
  // ЖРМ 1.5 at 10416 baud: 300 products take long enough to be interrupted.
  CliOptions terminal;
  terminal.stderrOnTerminal = true;
  CliProcess p(
      {"--demo", "--data-dir", Folder().string(), "--channel", "2", "--range", "1-300", "read"},
      terminal);
  // The first block of four is in; the count is in products, not blocks.
  ASSERT_TRUE(p.WaitForErr("Чтение базы  1% (4/300)"));
  p.Signal(SIGINT);
  const CliResult r = p.Finish();
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(Contains(r.err, "zelbase-cli: stopped")) << r.err;
  EXPECT_NE(BaseRecords(2, 0, 1)[0].name, "") << "a stop stores what was read";
}

TEST_F(CliDevice, ProgressLineOnlyWhenStderrIsATerminal) {
  CliOptions terminal;
  terminal.stderrOnTerminal = true;
  const CliResult onTerminal =
      Demo({"--channel", kZhrm3Channel, "--range", "1-8", "read"}, terminal);
  EXPECT_EQ(onTerminal.exitCode, 0);
  EXPECT_TRUE(Contains(onTerminal.err, "\rЧтение базы")) << onTerminal.err;
  EXPECT_TRUE(Contains(onTerminal.err, "\x1b[K"));

  const CliResult onPipe = Zhrm3({"read"});
  EXPECT_EQ(onPipe.exitCode, 0);
  EXPECT_FALSE(Contains(onPipe.err, "Чтение базы")) << onPipe.err;
  EXPECT_FALSE(Contains(onPipe.err, "\x1b[K"));
}

TEST_F(CliDevice, UnwritableTraceFileIsAFileFailure) {
  const CliResult r = Demo({"--trace", Path("no/such/dir/t.log").string(), "channels"});
  EXPECT_EQ(r.exitCode, 1);
}

}  // namespace
}  // namespace zel::testing
