// Renders the main window, its two configuration dialogs and, on the demo
// network, a read in progress and the barcode window to PNG files in the
// build folder, so a person can look at the layout (the README shows three).
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "app/init_comm.h"
#include "app/side_windows.h"
#include "app/status_panel.h"
#include "app/zhrm_select.h"
#include "app_fixture.h"
#include "base/active_device.h"

#ifndef ZEL_SCREENSHOT_DIR
#define ZEL_SCREENSHOT_DIR "."
#endif

namespace zel::testing {
namespace {

using ScreenshotTest = AppFixture;

void Save(QWidget* window, const char* name) {
  // Shown for the shot, so that every layout has run.
  const bool wasVisible = window->isVisible();
  window->show();
  QCoreApplication::processEvents();
  const QPixmap shot = window->grab();
  if (!wasVisible) window->hide();
  ASSERT_FALSE(shot.isNull()) << name;
  EXPECT_GT(shot.width(), 100) << name;
  EXPECT_GT(shot.height(), 100) << name;
  const std::filesystem::path file = std::filesystem::path(ZEL_SCREENSHOT_DIR) / name;
  std::filesystem::create_directories(file.parent_path());
  EXPECT_TRUE(shot.save(QString::fromStdString(file.string()), "PNG")) << file;
}

TEST_F(ScreenshotTest, MainWindowAndDialogsRenderToPng) {
  WriteBaseRecord(1, 1, {"Хлеб белый нарезной", "24.90", "1", "460000000017", "12.000", "1", "0"});
  WriteBaseRecord(1, 2, {"Молоко 3,2%", "45.00", "2", "460123456789", "3.500", "1", "0"});
  Start();
  Save(&Main(), "screenshots/main_window_local.png");
  windows->Init_Comm()->PrepareForType("ЖРМ 3");
  Save(windows->Init_Comm(), "screenshots/init_comm.png");
  Save(windows->Zhrm_select(), "screenshots/zhrm_select.png");
}

class DemoScreenshotTest : public AppFixture {
 protected:
  void SetUp() override { StartDemo(); }

  void ReadActive() {
    prompts.Answer(Answer::No);
    Main().Run(Command::ReadBase);
    ASSERT_EQ(Ws().run.exchangeState, ExchangeState::Idle);
  }
};

TEST_F(DemoScreenshotTest, MainWindowAfterARead) {
  ReadActive();
  ASSERT_FALSE(Ws().table.Cell(1, kColName).empty());
  Save(&Main(), "screenshots/main_window.png");
}

TEST_F(DemoScreenshotTest, ReadInProgress) {
  // Taken from the event pump the read runs, once the gauge is a third full.
  bool taken = false;
  QTimer poll;
  poll.setInterval(0);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    QProgressBar* gauge = Main().Status()->Gauge1();
    if (taken || !gauge->isVisible() || gauge->maximum() <= 0) return;
    if (gauge->value() * 3 < gauge->maximum()) return;
    taken = true;
    Save(&Main(), "screenshots/read_in_progress.png");
  });
  poll.start();
  ReadActive();
  poll.stop();
  EXPECT_TRUE(taken);
}

TEST_F(DemoScreenshotTest, BarcodeEntry) {
  ASSERT_TRUE(ActivateChannelForServer(Ws(), 5));
  Main().RefreshFromModel();
  ASSERT_EQ(Ws().device.typeText, "ЖРМ 3");
  ReadActive();
  // The till scans its next code every four seconds.
  clock.AdvanceUs(5'000'000);
  Main().Run(Command::BarcodeEntry);
  TVV_shk* shk = windows->VV_shk();
  ASSERT_TRUE(
      ProcessUntil([shk] { return shk->isVisible() && !shk->Label3()->text().isEmpty(); }, 2000));
  Save(shk, "screenshots/barcode_entry.png");
  shk->BitBtn1()->click();
}

}  // namespace
}  // namespace zel::testing
