#include "base/settings.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base_test_support.h"
#include "common/cp1251.h"
#include "support/hex.h"

namespace zel {
namespace {

using testing::Hex;

const char* const kMissingMessage =
    "Не удалось открыть файл ZELBase.ini\rвсе установки программы будут приведены в исходные.";

class SettingsTest : public testing::WorkspaceTest {
 protected:
  std::filesystem::path IniPath() const { return dir.path() / "ZELBase.ini"; }
  // Writes the settings file from UTF-8 lines.
  void WriteIni(const std::string& utf8) {
    IniFile ini = IniFile::Parse(Utf8ToCp1251(utf8));
    std::string error;
    ASSERT_TRUE(ini.Save(IniPath(), error)) << error;
  }
  IniFile Disk() const {
    IniFile ini;
    EXPECT_TRUE(ini.Load(IniPath()));
    return ini;
  }

  Settings settings{dir.path()};
};

TEST_F(SettingsTest, NoFileGivesDefaultsAndCom5) {
  ASSERT_TRUE(settings.Load(ws));
  ASSERT_FALSE(prompts.shown().empty());
  EXPECT_EQ(prompts.shown()[0], (testing::ScriptedPrompts::Shown{"information", kMissingMessage}));
  EXPECT_EQ(port.comIndex, 4);
  EXPECT_EQ(openedPaths, std::vector<std::string>{"/dev/ttyS4"});
  EXPECT_EQ(port.speedText, "9600");
  EXPECT_EQ(ws.channels.activeChannel, 1);
  EXPECT_FALSE(ws.channels.Channel(1).disconnected);
  for (int n = 2; n <= 16; ++n) EXPECT_TRUE(ws.channels.Channel(n).disconnected) << n;
  EXPECT_EQ(ws.device.typeText, "ЖРМ 1.5");
  EXPECT_EQ(ws.device.zhrmNumber, "0001");
  EXPECT_EQ(ws.device.kkmNumber, "00000001");
  EXPECT_EQ(ws.device.baseFileName, "Base1.bsd");
  EXPECT_EQ(ws.range.StartText(), "1");  // "0001" aligned to blocks for ЖРМ 1.5
  EXPECT_EQ(ws.range.EndText(), "4096");
  EXPECT_EQ(ws.options.reminderMode, 1);
  EXPECT_TRUE(ws.options.reminderMenuTicked);
  EXPECT_FALSE(ws.options.blockKkm);
  EXPECT_EQ(ws.channels.frontPage, 1);
  for (int n = 1; n <= 16; ++n) EXPECT_TRUE(std::filesystem::exists(BasePath(n))) << n;
  EXPECT_TRUE(ws.controls.tableEnabled);
  EXPECT_FALSE(ws.controls.confirmRangeEnabled);
  EXPECT_EQ(ws.table.RowCount(), 4097);
  EXPECT_EQ(ws.channels.reactionsEnabled, true);
}

TEST_F(SettingsTest, SavePosAfterNoFileWritesEveryKey) {
  settings.Load(ws);
  ASSERT_TRUE(settings.SavePos(ws));
  const IniFile ini = Disk();
  EXPECT_EQ(ini.Find("Настройка Com-порта", "Com5"), "1");
  EXPECT_EQ(ini.Find("Настройка Com-порта", "Com1"), "0");
  EXPECT_EQ(ini.Find("Настройка Com-порта", "Com8Path"), "/dev/ttyS7");
  EXPECT_EQ(ini.Find("Настройка Com-порта", "BaudRate"), "9600");
  EXPECT_EQ(ini.Find("Диапазон базы", "begin"), "1");
  EXPECT_EQ(ini.Find("Диапазон базы", "end"), "4096");
  EXPECT_EQ(ini.Find("Общие", "BlockKKM"), "0");
  EXPECT_EQ(ini.Find("Общие", "Напоминание 3"), "1");
  EXPECT_EQ(ini.Find("Общие", "ActivePage"), "1");
  EXPECT_EQ(ini.Find("Активный ЖРМ", "Верс"), "ЖРМ 1.5");
  EXPECT_EQ(ini.Find("ЖРМ 1 конт", "Select"), "1");
  EXPECT_EQ(ini.Find("ЖРМ 1 конт", "Set"), "0");
  EXPECT_EQ(ini.Find("ЖРМ 16 конт", "Set"), "1");
  EXPECT_EQ(ini.Find("ЖРМ 16 конт", "ЖРМ"), "0016");
  EXPECT_EQ(ini.Find("ЖРМ 16 конт", "ККМ"), "00000016");
  EXPECT_EQ(ini.Find("ЖРМ 16 конт", "Верс"), "ЖРМ 1.5");
}

TEST_F(SettingsTest, LoadRunsOnce) {
  ASSERT_TRUE(settings.Load(ws));
  prompts.Clear();
  EXPECT_FALSE(settings.Load(ws));
  EXPECT_TRUE(prompts.shown().empty());
}

TEST_F(SettingsTest, FileOnDiskIsCp1251WithCrLf) {
  settings.Load(ws);
  ASSERT_TRUE(settings.SavePos(ws));
  const std::string bytes = testing::ReadBytes(IniPath());
  EXPECT_NE(bytes.find(Hex("5B C6 D0 CC 20 31 20 EA EE ED F2 5D 0D 0A")), std::string::npos)
      << "[ЖРМ 1 конт]";
  EXPECT_NE(bytes.find(Hex("CD E0 EF EE EC E8 ED E0 ED E8 E5 20 33 3D 31 0D 0A")),
            std::string::npos)
      << "Напоминание 3=1";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\n') {
      ASSERT_TRUE(i > 0 && bytes[i - 1] == '\r') << "bare LF at " << i;
    }
  }
}

TEST_F(SettingsTest, HigherOfTwoSelectedChannelsWins) {
  WriteIni(
      "[ЖРМ 2 конт]\nSet=0\nSelect=1\nВерс=ЖРМ 3\n[ЖРМ 5 конт]\nSet=0\nSelect=1\nВерс=ЖРМ 2.0\n");
  settings.Load(ws);
  EXPECT_EQ(ws.channels.activeChannel, 5);
  EXPECT_FALSE(ws.channels.Channel(2).activeMark);
  EXPECT_FALSE(ws.channels.Channel(1).activeMark);
  EXPECT_EQ(ws.device.typeText, "ЖРМ 2.0");
  EXPECT_EQ(ws.device.baseFileName, "Base5.bsd");
}

TEST_F(SettingsTest, NoSelectedChannelShowsActiveZhrmAndLoadsBase16) {
  WriteIni(
      "[ЖРМ 1 конт]\nSelect=0\n[Активный ЖРМ]\nЖРМ=0077\nККМ=00000077\nВерс=ЖРМ 3\n"
      "[Диапазон базы]\nbegin=5\nend=9\n");
  settings.Load(ws);
  EXPECT_EQ(ws.channels.activeChannel, 0);
  EXPECT_EQ(ws.device.zhrmNumber, "0077");
  EXPECT_EQ(ws.device.typeText, "ЖРМ 3");
  EXPECT_EQ(ws.device.baseFileName, "Base16.bsd");
  EXPECT_EQ(ws.table.Cell(1, 0), "5");
  EXPECT_EQ(ws.table.RowCount(), 6);
}

struct PageCase {
  const char* value;
  int page;
};

class ActivePageTest : public SettingsTest, public ::testing::WithParamInterface<PageCase> {};

TEST_P(ActivePageTest, OutOfRangeOpensOnPage1) {
  WriteIni(std::string("[Общие]\nActivePage=") + GetParam().value + "\n");
  settings.Load(ws);
  EXPECT_EQ(ws.channels.frontPage, GetParam().page);
}

INSTANTIATE_TEST_SUITE_P(Pages, ActivePageTest,
                         ::testing::Values(PageCase{"0", 1}, PageCase{"17", 1}, PageCase{"16", 16},
                                           PageCase{"5", 5}, PageCase{"x", 1}));

TEST_F(SettingsTest, ReminderModeOutsideOneToThreeKeepsMode1) {
  WriteIni("[Общие]\nНапоминание 3=7\n");
  settings.Load(ws);
  EXPECT_EQ(ws.options.reminderMode, 1);
  EXPECT_TRUE(ws.options.reminderMenuTicked);
}

TEST_F(SettingsTest, ReminderMode3UnticksTheMenuItem) {
  WriteIni("[Общие]\nнапоминание 3=3\nBlockKKM=1\n");
  settings.Load(ws);
  EXPECT_EQ(ws.options.reminderMode, 3);
  EXPECT_FALSE(ws.options.reminderMenuTicked);
  EXPECT_TRUE(ws.options.blockKkm);
}

TEST_F(SettingsTest, ComKeysLastTrueWinsAndAllFalseOpensNothing) {
  WriteIni("[Настройка Com-порта]\nCom3=1\nCom5=0\nCom3Path=/dev/ttyUSB0\nBaudRate=38400\n");
  settings.Load(ws);
  EXPECT_EQ(port.comIndex, 2);
  EXPECT_EQ(openedPaths, std::vector<std::string>{"/dev/ttyUSB0"});
  EXPECT_EQ(port.speedText, "38400");
}

TEST_F(SettingsTest, AllComKeysFalseChoosesNoPort) {
  std::string text = "[Настройка Com-порта]\n";
  for (int i = 1; i <= 8; ++i) text += "Com" + std::to_string(i) + "=0\n";
  WriteIni(text);
  settings.Load(ws);
  EXPECT_EQ(port.comIndex, -1);
  EXPECT_TRUE(openedPaths.empty());
  ASSERT_TRUE(settings.SavePos(ws));
  EXPECT_EQ(Disk().Find("Настройка Com-порта", "Com1"), "0");
}

TEST_F(SettingsTest, ActiveAndDisconnectedChannelHandsTheMarkOn) {
  WriteIni("[ЖРМ 1 конт]\nSet=0\nSelect=0\n[ЖРМ 4 конт]\nSet=1\nSelect=1\n");
  settings.Load(ws);
  EXPECT_EQ(ws.channels.activeChannel, 1);
  EXPECT_TRUE(ws.channels.Channel(4).disconnected);
  EXPECT_FALSE(ws.channels.Channel(4).controlsShown);
}

TEST_F(SettingsTest, OnlyChannelActiveAndDisconnectedStaysConnected) {
  WriteIni("[ЖРМ 1 конт]\nSet=1\nSelect=1\nВерс=ЖРМ 3\n");
  settings.Load(ws);
  EXPECT_FALSE(ws.channels.Channel(1).disconnected);
  EXPECT_EQ(ws.channels.activeChannel, 1);
  EXPECT_EQ(ws.channels.Channel(1).deviceType, "ЖРМ 3");  // no reconnect step while loading
  EXPECT_TRUE(prompts.texts().empty() || prompts.texts()[0] != kMissingMessage);
}

TEST_F(SettingsTest, GarbageValuesGiveDefaults) {
  WriteIni(
      "[Настройка Com-порта]\nCom1=on\nCom5=??\n[ЖРМ 1 конт]\nSelect=maybe\nSet=-\n"
      "[ЖРМ 2 конт]\nSet=0x1\n[Общие]\nActivePage=1e3\nBlockKKM=true\nНапоминание 3=2.0\n");
  settings.Load(ws);
  EXPECT_EQ(port.comIndex, 4);
  EXPECT_EQ(ws.channels.activeChannel, 1);
  EXPECT_FALSE(ws.channels.Channel(1).disconnected);
  EXPECT_TRUE(ws.channels.Channel(2).disconnected);
  EXPECT_EQ(ws.channels.frontPage, 1);
  EXPECT_FALSE(ws.options.blockKkm);
  EXPECT_EQ(ws.options.reminderMode, 1);
}

TEST_F(SettingsTest, BinaryGarbageFileLoadsAsDefaults) {
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 97 + 13) % 256);
  testing::WriteBytes(IniPath(), bytes);
  ASSERT_TRUE(settings.Load(ws));
  EXPECT_EQ(ws.channels.activeChannel, 1);
  EXPECT_TRUE(settings.SavePos(ws));
}

TEST_F(SettingsTest, RoundTripKeepsEveryKey) {
  const std::string original =
      "[Настройка Com-порта]\nCom1=0\nCom2=0\nCom3=0\nCom4=0\nCom5=0\nCom6=0\nCom7=1\nCom8=0\n"
      "Com7Path=sim\nBaudRate=115200\n"
      "[ЖРМ 1 конт]\nSelect=0\nЖРМ=0101\nВерс=ЖРМ 200\nККМ=00000101\nSet=0\n"
      "[ЖРМ 3 конт]\nSelect=1\nЖРМ=0303\nВерс=ЖРМ 3+\nККМ=00000303\nSet=0\n"
      "[Общие]\nActivePage=3\nBlockKKM=1\nНапоминание 3=2\n"
      "[Активный ЖРМ]\nЖРМ=0303\nККМ=00000303\nВерс=ЖРМ 3+\n"
      "[Диапазон базы]\nbegin=100\nend=200\n"
      "[Чужое]\nkey=kept\n";
  WriteIni(original);
  settings.Load(ws);
  ASSERT_TRUE(settings.SavePos(ws));
  const IniFile before = IniFile::Parse(Utf8ToCp1251(original));
  const IniFile after = Disk();
  const std::vector<std::pair<std::string, std::string>> keys = {
      {"Настройка Com-порта", "Com7"},
      {"Настройка Com-порта", "Com1"},
      {"Настройка Com-порта", "Com7Path"},
      {"Настройка Com-порта", "BaudRate"},
      {"ЖРМ 1 конт", "ЖРМ"},
      {"ЖРМ 1 конт", "Верс"},
      {"ЖРМ 1 конт", "Select"},
      {"ЖРМ 3 конт", "Select"},
      {"ЖРМ 3 конт", "Верс"},
      {"ЖРМ 3 конт", "Set"},
      {"Общие", "ActivePage"},
      {"Общие", "BlockKKM"},
      {"Общие", "Напоминание 3"},
      {"Активный ЖРМ", "ЖРМ"},
      {"Активный ЖРМ", "Верс"},
      {"Диапазон базы", "begin"},
      {"Диапазон базы", "end"},
      {"Чужое", "key"}};
  for (const auto& [section, key] : keys) {
    EXPECT_EQ(after.Find(section, key), before.Find(section, key)) << section << "/" << key;
  }
  Workspace again(dir.path(), prompts, progress, warning, link, port);
  Settings reload(dir.path());
  reload.Load(again);
  EXPECT_EQ(again.channels.activeChannel, 3);
  EXPECT_EQ(again.channels.Channel(1).deviceType, "ЖРМ 200");
  EXPECT_EQ(again.range.EndText(), "200");
  EXPECT_EQ(again.options.reminderMode, 2);
}

TEST_F(SettingsTest, ReadOnlyFileShowsUnableToWriteAndKeepsTheFile) {
  WriteIni("[Общие]\nActivePage=2\n");
  settings.Load(ws);
  const std::string before = testing::ReadBytes(IniPath());
  std::filesystem::permissions(IniPath(), std::filesystem::perms::owner_read);
  prompts.Clear();
  EXPECT_FALSE(settings.SavePos(ws));
  EXPECT_EQ(prompts.shown(), (std::vector<testing::ScriptedPrompts::Shown>{
                                 {"error", "Unable to write to " + IniPath().string()}}));
  EXPECT_EQ(testing::ReadBytes(IniPath()), before);
  EXPECT_FALSE(settings.SavePartial(ws));
}

// ZELBase.ini linked to a file kept elsewhere: the save changes that file
// and the link stays.
TEST_F(SettingsTest, SavePosThroughALinkReplacesItsTarget) {
  namespace fs = std::filesystem;
  const fs::path target = dir.path() / "shared" / "ZELBase.ini";
  fs::create_directories(target.parent_path());
  WriteIni("[Общие]\nActivePage=2\n");
  fs::rename(IniPath(), target);
  fs::create_symlink("shared/ZELBase.ini", IniPath());
  settings.Load(ws);
  EXPECT_EQ(ws.channels.frontPage, 2);
  ws.channels.frontPage = 5;
  ASSERT_TRUE(settings.SavePos(ws));
  EXPECT_TRUE(fs::is_symlink(IniPath()));
  EXPECT_NE(testing::ReadBytes(target).find("ActivePage=5\r\n"), std::string::npos);
  EXPECT_EQ(std::distance(fs::directory_iterator(target.parent_path()), fs::directory_iterator()),
            1);
}

TEST_F(SettingsTest, PartialSaveWritesChannelsAndThePageOnly) {
  settings.Load(ws);
  ws.channels.SetDisconnected(6, false);
  ws.channels.SetType(6, "ЖРМ 3");
  ws.channels.frontPage = 6;
  ASSERT_TRUE(settings.SavePartial(ws));
  const IniFile ini = Disk();
  EXPECT_EQ(ini.Find("ЖРМ 6 конт", "Set"), "0");
  EXPECT_EQ(ini.Find("ЖРМ 6 конт", "Верс"), "ЖРМ 3");
  EXPECT_EQ(ini.Find("Общие", "ActivePage"), "6");
  EXPECT_EQ(ini.Find("Активный ЖРМ", "ЖРМ"), "0001");
  EXPECT_EQ(ini.Find("Настройка Com-порта", "Com5"), std::nullopt);
  EXPECT_EQ(ini.Find("Диапазон базы", "begin"), std::nullopt);
}

TEST_F(SettingsTest, SaveKeepsKeysWrittenMeanwhile) {
  settings.Load(ws);
  WriteIni("[Другое]\nfoo=bar\n[Общие]\nActivePage=9\n");
  ASSERT_TRUE(settings.SavePos(ws));
  const IniFile ini = Disk();
  EXPECT_EQ(ini.Find("Другое", "foo"), "bar");
  EXPECT_EQ(ini.Find("Общие", "ActivePage"), "1");  // ours overwrites
}

// A folder as the Windows program leaves it: names in capitals, cp1251 with
// CR LF, no device paths for the COM ports.
class WindowsFolderTest : public testing::WorkspaceTest {
 protected:
  void WriteFile(const std::filesystem::path& name, std::string_view bytes) {
    std::filesystem::create_directories((dir.path() / name).parent_path());
    std::ofstream(dir.path() / name, std::ios::binary) << bytes;
  }
  // A base file holding one named product in record 0.
  void WriteBase(const std::filesystem::path& name, const std::string& product) {
    std::string error;
    BaseFolder scratch(dir.path() / "scratch");
    ASSERT_TRUE(scratch.StoreRange(
        "B.bsd", 0, std::vector<ProductRecord>{{product, "1.00", "1", "", "0.000", "0", "0"}},
        error))
        << error;
    WriteFile(name, testing::ReadBytes(scratch.PathOf("B.bsd")));
    std::filesystem::remove_all(dir.path() / "scratch");
  }
  std::vector<std::string> Entries(const std::filesystem::path& sub = {}) const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path() / sub))
      names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::string Informations() const {
    std::string all;
    for (const auto& s : prompts.shown()) all += s.kind == "information" ? s.text + "|" : "";
    return all;
  }
  Settings settings{dir.path()};
};

TEST_F(WindowsFolderTest, CapitalNamesAreUsedAndNoEmptyTwinAppears) {
  WriteFile("ZELBASE.INI", Utf8ToCp1251("[Настройка Com-порта]\r\nCom1=0\r\nCom2=1\r\nCom5=0\r\n"
                                        "[Диапазон базы]\r\nbegin=000001\r\nend=00012\r\n"));
  WriteBase("BASE/BASE1.BSD", "Хлеб");
  ASSERT_TRUE(settings.Load(ws));
  EXPECT_EQ(ws.table.Cell(1, kColName), "Хлеб");
  EXPECT_EQ(Entries(), (std::vector<std::string>{"BASE", "ZELBASE.INI"}));
  EXPECT_EQ(Entries("BASE")[0], "BASE1.BSD");
  EXPECT_EQ(Entries("BASE").size(), 16u) << "the missing ones are made beside it";
  EXPECT_EQ(ws.range.StartText(), "1") << "000001 is the first product";
  EXPECT_EQ(ws.range.EndText(), "12");
  EXPECT_EQ(openedPaths, std::vector<std::string>{"/dev/ttyS1"});
  const std::string note = Informations();
  EXPECT_NE(note.find("Порт COM2 открывается как /dev/ttyS1."), std::string::npos) << note;
  EXPECT_NE(note.find("Инициализация последовательного порта"), std::string::npos) << note;
  EXPECT_EQ(note.find("ZELBase.ini\r"), std::string::npos) << "the file was found";

  ASSERT_TRUE(settings.SavePos(ws));
  EXPECT_EQ(Entries(), (std::vector<std::string>{"BASE", "ZELBASE.INI"}));
  IniFile saved;
  ASSERT_TRUE(saved.Load(dir.path() / "ZELBASE.INI"));
  EXPECT_EQ(saved.Find(kComSection, "Com2Path"), "/dev/ttyS1");
  Settings again(dir.path());
  prompts.Clear();
  again.Load(ws);
  EXPECT_EQ(Informations().find("открывается как"), std::string::npos) << "said once";
}

TEST_F(WindowsFolderTest, TwoNamesDifferingInCaseUseTheExactOneAndSaySo) {
  WriteFile("zelbase.ini", "[\xC4\xE8\xE0\xEF\xE0\xE7\xEE\xED \xE1\xE0\xE7\xFB]\r\nend=0002\r\n");
  WriteFile("ZELBase.ini", "[\xC4\xE8\xE0\xEF\xE0\xE7\xEE\xED \xE1\xE0\xE7\xFB]\r\nend=0003\r\n");
  WriteBase("Base/BASE1.BSD", "Заглавные");
  WriteBase("Base/Base1.bsd", "Точное");
  settings.Load(ws);
  EXPECT_EQ(ws.range.EndText(), "4") << "ZELBase.ini: end 3, aligned to a block of four";
  EXPECT_EQ(ws.table.Cell(1, kColName), "Точное");
  const std::string note = Informations();
  EXPECT_NE(note.find("ZELBase.ini, zelbase.ini"), std::string::npos) << note;
  EXPECT_NE(note.find("BASE1.BSD, Base1.bsd"), std::string::npos) << note;
  EXPECT_EQ(std::count(note.begin(), note.end(), '|'), 1) << "one box";
}

TEST_F(WindowsFolderTest, Utf8SettingsAreReadAndSavedWholeInCp1251) {
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(bom.empty() ? "no BOM" : "BOM");
    WriteFile("ZELBase.ini", bom +
                                 "[Настройка Com-порта]\nCom1Path=/dev/ttyUSB0\nCom1=1\nCom5=0\n"
                                 "[Активный ЖРМ]\nЖРМ=0042\n[ЖРМ 1 конт]\nЖРМ=0042\nSelect=1\n");
    Settings fresh(dir.path());
    prompts.Clear();
    ASSERT_TRUE(fresh.Load(ws));
    EXPECT_EQ(ws.device.zhrmNumber, "0042");
    EXPECT_EQ(openedPaths.back(), "/dev/ttyUSB0");
    EXPECT_NE(Informations().find("UTF-8"), std::string::npos);
    ASSERT_TRUE(fresh.SavePos(ws));
    const std::string bytes = testing::ReadBytes(dir.path() / "ZELBase.ini");
    EXPECT_FALSE(bytes.starts_with("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.find("\xD0\x96"), std::string::npos) << "no UTF-8 left (Ж)";
    IniFile saved = IniFile::Parse(bytes);
    EXPECT_FALSE(saved.ReadAsUtf8());
    EXPECT_EQ(saved.Find("ЖРМ 1 конт", "ЖРМ"), "0042");
    const std::string section = Utf8ToCp1251("[ЖРМ 1 конт]");
    EXPECT_EQ(bytes.find(section), bytes.rfind(section)) << "one section, not two";
  }
}

TEST_F(WindowsFolderTest, NumbersLongerThanTheirFields) {
  struct Case {
    const char* zhrm;
    const char* kkm;
    const char* zhrmShown;
    const char* kkmShown;
    const char* message;
  } cases[] = {
      {"00012", "000000034", "0012", "00000034", nullptr},
      {"12345", "00000001", "0001", "00000001", "Неверный номер ЖРМ !!!"},
      {"0001", "123456789", "0001", "00000001", "Неверный номер ККМ !!!"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.zhrm + std::string(" ") + c.kkm);
    WriteFile("ZELBase.ini", Utf8ToCp1251(std::string("[ЖРМ 1 конт]\r\nЖРМ=") + c.zhrm +
                                          "\r\nККМ=" + c.kkm + "\r\n"));
    Settings fresh(dir.path());
    prompts.Clear();
    fresh.Load(ws);
    EXPECT_EQ(ws.device.zhrmNumber, c.zhrmShown);
    EXPECT_EQ(ws.device.kkmNumber, c.kkmShown);
    const auto texts = prompts.texts();
    EXPECT_EQ(c.message != nullptr,
              std::find(texts.begin(), texts.end(), c.message ? c.message : "") != texts.end());
  }
}

}  // namespace
}  // namespace zel
