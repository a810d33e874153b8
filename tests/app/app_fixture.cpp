#include "app_fixture.h"

#include <QKeyEvent>
#include <QTimer>
#include <fstream>

#include "app/application.h"
#include "app/qt_translation.h"
#include "base/base_file.h"
#include "common/cp1251.h"
#include "sim/demo/demo_network.h"
#include "sim/demo/demo_setup.h"

namespace zel::testing {

QApplication& QtApp() {
  static int argc = 1;
  static char name[] = "zel_app_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Qt's own dialogs, so a test drives their controls.
  QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  // Never destroyed: at exit Qt's own globals are gone before a static
  // QApplication would be, and its destructor would touch them.
  static QApplication* app = [] {
    auto* made = new QApplication(argc, argv);
    InstallQtRussian(*made);  // as the program does at start-up
    return made;
  }();
  return *app;
}

void WhenModalShown(std::function<void(QWidget*)> act, int attempts) {
  QTimer::singleShot(0, [act = std::move(act), attempts]() mutable {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      act(modal);
    } else if (attempts > 0) {
      WhenModalShown(std::move(act), attempts - 1);
    } else {
      ADD_FAILURE() << "no modal window appeared";
    }
  });
}

void WhenVisible(QWidget* window, std::function<void()> act, int attempts) {
  QTimer::singleShot(0, [window, act = std::move(act), attempts]() mutable {
    if (window->isVisible()) {
      act();
    } else if (attempts > 0) {
      WhenVisible(window, std::move(act), attempts - 1);
    } else {
      ADD_FAILURE() << "window " << window->windowTitle().toStdString() << " never showed";
    }
  });
}

void TypeText(QWidget* widget, const QString& text) {
  for (const QChar ch : text) {
    const int key = ch.isDigit() ? Qt::Key_0 + ch.digitValue() : ch.toUpper().unicode();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(ch));
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(ch));
    QCoreApplication::sendEvent(widget, &release);
  }
}

bool ProcessUntil(const std::function<bool()>& done, int attempts) {
  for (int i = 0; i < attempts && !done(); ++i) QCoreApplication::processEvents();
  return done();
}

AppFixture::AppFixture() {
  QtApp();
  core = std::make_unique<AppCore>(dir, prompts, Opener());
  windows = std::make_unique<AppWindows>(*core);
}

void AppFixture::Start() {
  Main().show();
  ASSERT_TRUE(ProcessUntil([this] { return core->settings.settingsLoaded; }));
  QCoreApplication::processEvents();
}

void AppFixture::StartDemo() {
  std::string error;
  ASSERT_TRUE(PrepareDemoFolder(dir, error)) << error;
  SeedDemoNetwork(*line);
  MarkDemo(Main());
  Start();
}

void AppFixture::WriteBaseRecord(int channel, int number, const ProductRecord& record) {
  BaseFolder folder(dir);
  std::string error;
  const std::string name = BaseFileName(channel);
  if (!folder.Exists(name)) {
    ASSERT_TRUE(folder.CreateBase(name, error)) << error;
  }
  ASSERT_TRUE(folder.StoreRecord(name, number - 1, record, error)) << error;
}

ProductRecord AppFixture::StoredRecord(int channel, int number) {
  BaseFolder folder(dir);
  std::vector<ProductRecord> out;
  std::string error;
  EXPECT_TRUE(folder.ReadRecords(BaseFileName(channel), number - 1, 1, out, error)) << error;
  return out.empty() ? ProductRecord{} : out[0];
}

void AppFixture::WriteSettings(const std::string& lines) {
  std::ofstream out(SettingsPath(), std::ios::binary);
  out << Utf8ToCp1251(lines);
}

int AppFixture::CountShown(const std::string& text) const {
  int n = 0;
  for (const auto& s : prompts.shown()) n += s.text == text ? 1 : 0;
  return n;
}

}  // namespace zel::testing
