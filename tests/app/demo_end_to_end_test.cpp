// The whole program on the seeded virtual network, through its commands:
// read, edit, write and read back; export and import; control tapes; the
// barcode window. Files on disk are checked as the operator would find them.
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "app/fshk1.h"
#include "app/restore_dialog.h"
#include "app/side_windows.h"
#include "app/status_panel.h"
#include "app_fixture.h"
#include "base/active_device.h"
#include "base/base_ops.h"
#include "common/cp1251.h"
#include "exchange/export_run.h"
#include "exchange/import_run.h"

#ifndef ZEL_SCREENSHOT_DIR
#define ZEL_SCREENSHOT_DIR "."
#endif

namespace zel::testing {
namespace {

class DemoEndToEnd : public AppFixture {
 protected:
  void SetUp() override {
    ASSERT_NO_FATAL_FAILURE(StartDemo());
    ASSERT_EQ(Ws().device.typeText, "ЖРМ 200");
  }

  void ReadActive() {
    prompts.Answer(Answer::No);
    Main().Run(Command::ReadBase);
    ASSERT_EQ(prompts.shown().back().text, "Читать одновременно с товароучетом ?");
  }

  void SwitchTo(int channel) {
    ASSERT_TRUE(ActivateChannelForServer(Ws(), channel));
    Main().RefreshFromModel();
  }
};

TEST_F(DemoEndToEnd, ReadEditWriteReadBack) {
  // Until the first read, the empty table says which command fills it.
  EXPECT_TRUE(Main().Status()->Hint()->isVisible());
  EXPECT_TRUE(Main().Status()->Hint()->text().contains(QStringLiteral("Чтение активной базы")));
  ReadActive();
  EXPECT_FALSE(Main().Status()->Hint()->isVisible());
  const std::string name = Ws().table.Cell(1, kColName);
  ASSERT_FALSE(name.empty());
  EXPECT_EQ(StoredRecord(1, 1).name, name);
  EXPECT_EQ(StoredRecord(1, 300).name, Ws().table.Cell(300, kColName));

  // A screenshot of the window after a base read, for the README.
  const QPixmap shot = Main().grab();
  const auto file = std::filesystem::path(ZEL_SCREENSHOT_DIR) / "screenshots" / "demo_read.png";
  std::filesystem::create_directories(file.parent_path());
  EXPECT_TRUE(shot.save(QString::fromStdString(file.string()), "PNG"));

  Ws().table.CurrentProductRow = 1;
  Ws().table.SetCell(1, kColPrice, "99.90");
  ASSERT_TRUE(WriteTovar(Ws()));
  prompts.Answer(Answer::Yes);
  Main().Run(Command::WriteBase);
  Ws().table.SetCell(1, kColPrice, "0.00");
  ReadActive();
  EXPECT_EQ(Ws().table.Cell(1, kColPrice), "99.90");
  EXPECT_EQ(StoredRecord(1, 1).price, "99.90");
  EXPECT_EQ(Ws().run.exchangeState, ExchangeState::Idle);
}

// Each command that replaces records keeps one copy first; the window's
// restore puts the chosen one back byte for byte.
TEST_F(DemoEndToEnd, EveryChangeKeepsOneCopyAndRestoreBringsItBack) {
  const std::filesystem::path base = Ws().folder.PathOf(Ws().device.baseFileName);
  const struct {
    Command command;
    std::vector<Answer> answers;
    const char* operation;
  } steps[] = {
      {Command::ReadBase, {Answer::No}, "read"},
      {Command::ReadAccounting, {}, "accounting"},
      {Command::ResetAccounting, {Answer::Yes}, "reset"},
      {Command::ClearTable, {Answer::Yes}, "clear"},
  };
  std::string beforeClear;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    SCOPED_TRACE(steps[i].operation);
    for (Answer a : steps[i].answers) prompts.Answer(a);
    const std::string before = ReadBytes(base);
    Main().Run(steps[i].command);
    const std::vector<ListedCopy> copies = ListActiveBaseCopies(Ws());
    ASSERT_EQ(copies.size(), i + 1);
    EXPECT_EQ(copies.front().copy.operation, steps[i].operation);
    EXPECT_TRUE(ReadBytes(copies.front().copy.path) == before);
    beforeClear = before;
  }
  ASSERT_TRUE(Ws().table.Cell(1, kColName).empty()) << "cleared";

  WhenModalShown([this](QWidget* w) {
    auto* dialog = dynamic_cast<RestoreDialog*>(w);
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->Table()->rowCount(), 4);
    EXPECT_EQ(dialog->Table()->item(0, 1)->text(), QStringLiteral("очистка таблицы"));
    EXPECT_NE(dialog->Table()->item(0, 2)->text(), QStringLiteral("0"));
    prompts.Answer(Answer::Yes);
    QTest::mouseClick(dialog->RestoreButton(), Qt::LeftButton);
  });
  Main().Run(Command::RestoreBase);
  EXPECT_EQ(prompts.shown().back().text.rfind("Восстановить базу из копии от ", 0), 0u);
  EXPECT_TRUE(ReadBytes(base) == beforeClear);
  EXPECT_FALSE(Ws().table.Cell(1, kColName).empty()) << "the table shows the restored file";
  const std::vector<ListedCopy> copies = ListActiveBaseCopies(Ws());
  ASSERT_EQ(copies.size(), 5u);
  EXPECT_EQ(copies.front().copy.operation, "restore") << "the cleared file is kept too";
}

TEST_F(DemoEndToEnd, ExportThenImportIntoAnotherChannel) {
  ReadActive();
  FileDialogState csv = ExportDialog();
  ASSERT_TRUE(BeginExport(Ws()));
  ASSERT_TRUE(ExportToFile(Ws(), csv, (dir / "shop").string(), 0));
  const std::string bytes = ReadBytes(dir / "shop.csv");
  EXPECT_EQ(bytes.rfind(Utf8ToCp1251("номер;наименование;цена;отдел;штрих-код;учет;") + "\r\n", 0),
            0u);

  FileDialogState zlb = ExportDialog();
  ASSERT_TRUE(BeginExport(Ws()));
  ASSERT_TRUE(ExportToFile(Ws(), zlb, (dir / "shop").string(), 2));
  const auto exported = std::filesystem::directory_iterator(dir);
  std::filesystem::path zelBase;
  for (const auto& e : exported) {
    if (e.path().stem() == "shop" && e.path().extension() != ".csv") zelBase = e.path();
  }
  ASSERT_FALSE(zelBase.empty());

  SwitchTo(6);
  ASSERT_EQ(Ws().device.typeText, "ЖРМ 3+");
  ASSERT_TRUE(RunZelBaseImport(Ws(), zelBase.string()));
  EXPECT_EQ(StoredRecord(6, 1).name, StoredRecord(1, 1).name);
  EXPECT_EQ(StoredRecord(6, 1).price, StoredRecord(1, 1).price);
  EXPECT_EQ(StoredRecord(6, 300).barcode, StoredRecord(1, 300).barcode);
}

TEST_F(DemoEndToEnd, ControlTapesAndBarcodeWindowOnZhrm3) {
  SwitchTo(5);
  ASSERT_EQ(Ws().device.typeText, "ЖРМ 3");
  ReadActive();
  Main().Run(Command::ReadTapeBlocks);
  ASSERT_GE(Main().Tapes().blocks.size(), 2u);
  EXPECT_EQ(Main().Tapes().blocks.back()[1], "Текущая");
  EXPECT_EQ(Main().StringGrid2()->rowCount(), static_cast<int>(Main().Tapes().blocks.size()));
  Ws().options.reminderMenuTicked = false;
  Main().Run(Command::ReadTape);
  ASSERT_FALSE(Main().Tapes().purchases.empty());
  EXPECT_FALSE(Main().Tapes().purchases[0][1].empty());  // the name from the table

  // The table now holds the whole base; the barcode window finds the code
  // the till scans next (every four seconds; before that it has scanned
  // nothing, which is no barcode to look up).
  clock.AdvanceUs(5'000'000);
  Main().Run(Command::BarcodeEntry);
  TVV_shk* shk = windows->VV_shk();
  ASSERT_TRUE(
      ProcessUntil([shk] { return shk->isVisible() && !shk->Label3()->text().isEmpty(); }, 2000));
  EXPECT_TRUE(shk->Label3()->text().startsWith(QStringLiteral("Номер товара - ")))
      << shk->Label3()->text().toStdString() << " for " << shk->Label1()->text().toStdString();
  shk->BitBtn1()->click();
  EXPECT_FALSE(shk->isVisible());
}

}  // namespace
}  // namespace zel::testing
