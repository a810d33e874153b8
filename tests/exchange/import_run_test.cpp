#include "exchange/import_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "exchange/export_run.h"
#include "exchange_fixture.h"
#include "support/hex.h"

namespace zel {
namespace {

using namespace std::string_view_literals;
using testing::BreadRecord;
using testing::ReadBytes;
using testing::RecordingImportHost;
using testing::WorkspaceTest;
using testing::WriteBytes;
using testing::Zeros;
using Lines = std::vector<std::string>;

int OpenFileCount() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)entry;
    ++count;
  }
  return count;
}

class TextImportTest : public WorkspaceTest {
 protected:
  TextImportResult Import(std::string_view bytes) {
    WriteBytes(path_, bytes);
    return RunTextImport(ws_, host_, path_);
  }

  const std::string path_ = dir_.File("import.txt");
  RecordingImportHost host_;
};

// Five good lines, cp1251: "Хлеб", "Молоко", "Сыр", "Чай", "Соль".
constexpr auto kFiveLines =
    "\xD5\xEB\xE5\xE1;12,50;3;460123456789\r\n"
    "\xCC\xEE\xEB\xEE\xEA\xEE;45.90;1;4601\r\n"
    "\xD1\xFB\xF0;300.00;2;77\r\n"
    "\xD7\xE0\xE9;99.99;7;1\r\n"
    "\xD1\xEE\xEB\xFC;1.00;1;2\r\n"sv;

TEST_F(TextImportTest, FiveValidLinesIntoOneToThreeStopAtTheEndOfTheTable) {
  ShowRange(1, 3);
  const TextImportResult result = Import(kFiveLines);
  EXPECT_EQ(host_.caption, "Импорт данных из файла  " + path_);
  EXPECT_EQ(host_.lines,
            (Lines{"1  Хлеб;12,50;3;460123456789  Ok.", "2  Молоко;45.90;1;4601  Ok.",
                   "3  Сыр;300.00;2;77  Ok.", "Достигнут конец таблицы", "", "", "0 ошибок"}));
  EXPECT_EQ(host_.selected, "0 ошибок");
  EXPECT_EQ(result.accepted, 3);
  EXPECT_TRUE(result.reachedEnd);
  EXPECT_EQ(ws_.table.RecordAt(1),
            (ProductRecord{"Хлеб", "12.50", "3", "460123456789", "0.000", "1", "0"}));
  EXPECT_EQ(ws_.table.Cell(3, kColName), "Сыр");
  EXPECT_EQ(Stored(1), ws_.table.RecordAt(1));
  EXPECT_EQ(Stored(2).name, "Молоко");
  EXPECT_EQ(Stored(3).price, "300.00");
  EXPECT_EQ(Stored(4).name, "");
  EXPECT_TRUE(host_.mainWindowEnabled);
  EXPECT_TRUE(host_.shown);
  EXPECT_EQ(ws_.run.exchangeState, ExchangeState::Idle);
  EXPECT_TRUE(prompts_.shown().empty());
}

TEST_F(TextImportTest, RejectedLinesAreReportedCountedAndLeaveTheRowForTheNextLine) {
  ShowRange(1, 10);
  const TextImportResult result = Import(
      "a;1.00;1;1\r\n"
      "b;12.5;3;1\r\n"
      "c;12.50;8;1\r\n"
      "d;12.50;7;\r\n"
      "e;12.50;7;1234567890123\r\n"
      "f;12.5;8;1\r\n"
      "g;2.00;2;2\r\n");
  EXPECT_EQ(host_.lines,
            (Lines{"1  a;1.00;1;1  Ok.", "?   b;12.5;3;1  Ошибка - Неверный формат цены",
                   "?   c;12.50;8;1  Ошибка - Неверный отдел",
                   "?   d;12.50;7;  Ошибка - Неверный штрих-код",
                   "?   e;12.50;7;1234567890123  Ошибка - Неверный штрих-код",
                   "?   f;12.5;8;1  Ошибка - Неверный формат цены", "2  g;2.00;2;2  Ok.", "", "",
                   "5 ошибок"}));
  EXPECT_EQ(result.errors, 5);
  EXPECT_EQ(ws_.table.Cell(2, kColName), "g");
  EXPECT_EQ(Stored(2).name, "g");
  EXPECT_EQ(ws_.table.Cell(3, kColName), "");
}

TEST_F(TextImportTest, ErrorLinesAreSelectedAsTheyArrive) {
  ShowRange(1, 10);
  std::vector<std::string> selections;
  host_.onEvents = [&](int) { selections.push_back(host_.selected); };
  Import("x;1;1;1\r\na;1.00;1;1\r\ny;2;2;2");
  EXPECT_EQ(selections, (Lines{"", "?   x;1;1;1  Ошибка - Неверный формат цены",
                               "?   x;1;1;1  Ошибка - Неверный формат цены"}));
  EXPECT_EQ(host_.selected, "2 ошибок");
}

TEST_F(TextImportTest, EmptyLinesAreSkippedWithoutReportOrError) {
  ShowRange(1, 10);
  const TextImportResult result = Import("\r\n\r\na;1.00;1;1\r\n\r\n\n\r\n");
  EXPECT_EQ(host_.lines, (Lines{"1  a;1.00;1;1  Ok.", "", "", "0 ошибок"}));
  EXPECT_EQ(result.errors, 0);
}

TEST_F(TextImportTest, EmptyFileReportsOnlyTheSummary) {
  ShowRange(1, 10);
  Import("");
  EXPECT_EQ(host_.lines, (Lines{"", "", "0 ошибок"}));
}

TEST_F(TextImportTest, RangeStartingAt100FillsRowOneAndSlot100) {
  ShowRange(100, 110);
  Import("first;5.00;2;100\r\nsecond;6.00;2;101");
  EXPECT_EQ(host_.lines[0], "100  first;5.00;2;100  Ok.");
  EXPECT_EQ(host_.lines[1], "101  second;6.00;2;101  Ok.");
  EXPECT_EQ(ws_.table.Cell(1, kColNumber), "100");
  EXPECT_EQ(ws_.table.Cell(1, kColName), "first");
  EXPECT_EQ(Stored(100).name, "first");
  EXPECT_EQ(Stored(101).barcode, "101");
  EXPECT_EQ(Stored(1).name, "");
}

TEST_F(TextImportTest, StopMidImportKeepsAcceptedLinesInTableAndBaseFile) {
  ShowRange(1, 10);
  host_.onEvents = [&](int round) {
    if (round == 4) host_.stop = true;
  };
  const TextImportResult result = Import(kFiveLines);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.accepted, 3);
  EXPECT_FALSE(host_.shown);
  EXPECT_EQ(host_.lines.size(), 3u);  // no summary
  EXPECT_TRUE(host_.mainWindowEnabled);
  EXPECT_EQ(ws_.table.Cell(3, kColName), "Сыр");
  EXPECT_EQ(ws_.table.Cell(4, kColName), "");
  EXPECT_EQ(Stored(3).name, "Сыр");
  EXPECT_EQ(Stored(4).name, "");
}

TEST_F(TextImportTest, Utf8FileIsReadAsCp1251WithOneNoteAtTheTop) {
  ShowRange(1, 10);
  // "Хлеб" and "Чай" in UTF-8.
  Import("\xD0\xA5\xD0\xBB\xD0\xB5\xD0\xB1;1.00;1;1\r\n\xD0\xA7\xD0\xB0\xD0\xB9;2.00;1;2\r\n");
  EXPECT_EQ(host_.lines, (Lines{std::string(kImportUtf8Note), "1  РҐР»РµР±;1.00;1;1  Ok.",
                                "2  Р§Р°Р№;2.00;1;2  Ok.", "", "", "0 ошибок"}));
  EXPECT_EQ(ws_.table.Cell(1, kColName), "РҐР»РµР±");
}

TEST_F(TextImportTest, UnexpectedErrorClosesTheFileAndEnablesTheMainWindow) {
  ShowRange(1, 10);
  host_.throwOnLine = 1;
  const int filesBefore = OpenFileCount();
  const TextImportResult result = Import(kFiveLines);
  EXPECT_TRUE(result.failed);
  EXPECT_TRUE(host_.mainWindowEnabled);
  EXPECT_EQ(ws_.run.exchangeState, ExchangeState::Idle);
  EXPECT_EQ(OpenFileCount(), filesBefore);
  ASSERT_EQ(prompts_.shown().size(), 1u);
  EXPECT_EQ(prompts_.shown()[0].kind, "error");
  EXPECT_NE(prompts_.shown()[0].text.find("list is full"), std::string::npos);
}

TEST_F(TextImportTest, MainWindowIsDisabledAndServerBusyWhileLinesAreRead) {
  ShowRange(1, 10);
  std::vector<bool> enabled;
  std::vector<ExchangeState> states;
  host_.onEvents = [&](int) {
    enabled.push_back(host_.mainWindowEnabled);
    states.push_back(ws_.run.exchangeState);
  };
  Import("a;1.00;1;1\r\nb;1.00;1;1");
  EXPECT_EQ(enabled, (std::vector<bool>{false, false}));
  EXPECT_EQ(states, (std::vector<ExchangeState>{ExchangeState::Busy, ExchangeState::Busy}));
  EXPECT_TRUE(host_.mainWindowEnabled);
}

TEST_F(TextImportTest, FailingBaseWriteEndsTheImportWithoutOkOrSummary) {
  ShowRange(1, 10);
  std::filesystem::remove_all(dir_.path() / "Base");
  WriteBytes(dir_.path() / "Base", "not a folder");
  const TextImportResult result = Import(kFiveLines);
  EXPECT_TRUE(result.failed);
  EXPECT_TRUE(host_.lines.empty());
  EXPECT_TRUE(host_.mainWindowEnabled);
  ASSERT_FALSE(prompts_.shown().empty());
  EXPECT_EQ(prompts_.shown().back().kind, "error");
}

TEST_F(TextImportTest, TableShowingAnotherRangeIsReloadedFirst) {
  ShowRange(1, 10);
  ws_.range.SetStartText("20");
  ws_.range.SetEndText("21");
  ASSERT_TRUE(BeginImport(ws_, host_));
  Import("a;1.00;1;1");
  EXPECT_EQ(host_.lines[0], "20  a;1.00;1;1  Ok.");
  EXPECT_EQ(ws_.table.Cell(1, kColNumber), "20");
  EXPECT_EQ(Stored(20).name, "a");
  EXPECT_EQ(Stored(1).name, "");
}

TEST_F(TextImportTest, BeginImportClearsTheStopRequestAndChecksTheRange) {
  host_.stop = true;
  EXPECT_TRUE(BeginImport(ws_, host_));
  EXPECT_FALSE(host_.stop);
  ws_.range.SetStartText("0");
  EXPECT_FALSE(BeginImport(ws_, host_));
  EXPECT_EQ(prompts_.texts(), Lines{"Диапазон базы должен быть в пределах 1..4096"});
}

TEST_F(TextImportTest, MissingFileSaysFileNotFound) {
  EXPECT_FALSE(ImportFromFile(ws_, host_, dir_.File("none.txt"), 0));
  EXPECT_FALSE(ImportFromFile(ws_, host_, dir_.path().string(), 1));
  EXPECT_EQ(prompts_.shown(),
            (std::vector<testing::ScriptedPrompts::Shown>{{"information", "Файл не найден"},
                                                          {"information", "Файл не найден"}}));
  EXPECT_FALSE(host_.shown);
}

TEST_F(TextImportTest, ImportFromFileRunsTheTextImportForTheTextType) {
  ShowRange(1, 10);
  WriteBytes(path_, "a;1.00;1;1");
  EXPECT_TRUE(ImportFromFile(ws_, host_, path_, 0));
  EXPECT_EQ(host_.lines.back(), "0 ошибок");
}

class ZelBaseImportTest : public WorkspaceTest {
 protected:
  const std::string path_ = dir_.File("base.zlb");
};

TEST_F(ZelBaseImportTest, TypedRecordFillsRowOneAndSlot100) {
  ShowRange(100, 102);
  WriteBytes(path_, BreadRecord("\x02"
                                "42\x00"sv));
  RecordingImportHost host;
  ASSERT_TRUE(ImportFromFile(ws_, host, path_, 1));
  EXPECT_FALSE(host.shown);
  EXPECT_EQ(ws_.table.RecordAt(1),
            (ProductRecord{"Хлеб", "12.50", "3", "460123456789", "1.500", "1", "0"}));
  EXPECT_EQ(Stored(100), ws_.table.RecordAt(1));
  EXPECT_EQ(Stored(101).name, "");
}

TEST_F(ZelBaseImportTest, CashRegisterTakesTheGroup) {
  ws_.device.typeText = "ККМ ЗЕЛ-7Ф";
  ShowRange(1, 2);
  WriteBytes(path_, BreadRecord("\x02"
                                "42\x00"sv));
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  EXPECT_EQ(ws_.table.Cell(1, kCol6), "42");
  EXPECT_EQ(Stored(1).column6, "42");
}

TEST_F(ZelBaseImportTest, ExportThenImportRestoresColumnsOneToFive) {
  ShowRange(1, 4);
  const std::string name40 = "АБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯабвгдежз";
  const std::vector<ProductRecord> rows = {
      {name40, "9999999.99", "9", "123456789012", "99999.999", "7", "1"},
      {"Сок \"Сад;сад\"", "12.50", "0", "", "0.000", "0", "0"},
      {"", "0.00", "1", "нет товара", "1.5", "12", "0"},
      {"№ 5 ёЁ", "1.00", "5", "4601", "2.000", "3", "1"},
  };
  for (int i = 0; i < 4; ++i) ws_.table.SetRecord(i + 1, rows[static_cast<std::size_t>(i)]);
  ASSERT_TRUE(
      ExportRows(ws_.table, 4, ws_.device.typeText, ExportFormat::ZelBase, path_, prompts_));
  for (int i = 1; i <= 4; ++i) ws_.table.SetRecord(i, {"x", "x", "x", "x", "x", "x", "x"});
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  for (int i = 1; i <= 4; ++i) {
    ProductRecord expected = rows[static_cast<std::size_t>(i - 1)];
    expected.name = expected.name.substr(0, expected.name == name40 ? 68 : std::string::npos);
    expected.column6 = "x";
    expected.column7 = "x";
    EXPECT_EQ(ws_.table.RecordAt(i), expected) << i;
    EXPECT_EQ(Stored(i), expected) << i;
  }
}

TEST_F(ZelBaseImportTest, OnlyRecordsInsideTheRangeAreTakenAndAPartialRecordIsIgnored) {
  std::string file;
  for (int i = 0; i < 5; ++i)
    file += BreadRecord(
        "\x01"
        "0\x00\x00"sv);
  file +=
      "\x03"
      "abc";
  WriteBytes(path_, file);
  ShowRange(1, 3);
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  EXPECT_EQ(Stored(3).name, "Хлеб");
  EXPECT_EQ(Stored(4).name, "");
  ShowRange(1, 8);
  ws_.table.SetCell(7, kColName, "kept");
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  EXPECT_EQ(Stored(5).name, "Хлеб");
  EXPECT_EQ(ws_.table.Cell(6, kColName), "");
  EXPECT_EQ(ws_.table.Cell(7, kColName), "kept");
  EXPECT_EQ(Stored(7).name, "kept");
}

TEST_F(ZelBaseImportTest, DamagedLengthByteIsCutToTheCapacity) {
  std::string record = BreadRecord(
      "\x01"
      "0\x00\x00"sv);
  record[0] = '\xC8';  // name length 200 of 34
  record.replace(5, 30, std::string(30, 'n'));
  WriteBytes(path_, record);
  ShowRange(1, 1);
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  EXPECT_EQ(ws_.table.Cell(1, kColName), "Хлеб" + std::string(30, 'n'));
}

TEST_F(ZelBaseImportTest, EmptyFileChangesNoRow) {
  ShowRange(1, 2);
  ws_.table.SetCell(1, kColName, "kept");
  WriteBytes(path_, "");
  ASSERT_TRUE(RunZelBaseImport(ws_, path_));
  EXPECT_EQ(ws_.table.Cell(1, kColName), "kept");
  EXPECT_TRUE(prompts_.shown().empty());
}

}  // namespace
}  // namespace zel
