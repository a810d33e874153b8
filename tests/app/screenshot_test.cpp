// Renders the main window and its two configuration dialogs to PNG files in
// the build folder, so a person can look at the layout.
#include <QImage>
#include <QPixmap>

#include "app/init_comm.h"
#include "app/zhrm_select.h"
#include "app_fixture.h"

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
  Save(&Main(), "screenshots/main_window.png");
  windows->Init_Comm()->PrepareForType("ЖРМ 3");
  Save(windows->Init_Comm(), "screenshots/init_comm.png");
  Save(windows->Zhrm_select(), "screenshots/zhrm_select.png");
}

}  // namespace
}  // namespace zel::testing
