// The program's objects and windows on a temporary program folder, with
// scripted message boxes and every COM choice on a simulated line.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/app_windows.h"
#include "app/fshk1.h"
#include "link/clock.h"
#include "link/port_setup.h"
#include "sim/simulated_line.h"
#include "support/files.h"
#include "support/scripted_prompts.h"

namespace zel::testing {

/// The one QApplication of a test program, on the offscreen platform.
QApplication& QtApp();

/// Runs `act` on the modal window once it is up (a message box, a dialog
/// shown with exec()). Gives up after `attempts` event-loop turns.
void WhenModalShown(std::function<void(QWidget*)> act, int attempts = 200);

/// Runs `act` once `window` is visible (a dialog shown with exec()).
void WhenVisible(QWidget* window, std::function<void()> act, int attempts = 200);

/// Types `text` into `widget` key by key; unlike QTest::keyClicks it takes
/// any character, Cyrillic included.
void TypeText(QWidget* widget, const QString& text);

/// Processes events until `done` holds or `attempts` turns have passed.
bool ProcessUntil(const std::function<bool()>& done, int attempts = 200);

/// A COM path the opener refuses, as an absent or busy device.
inline constexpr const char* kUnopenablePath = "/dev/absent";

/// A temporary program folder with its Base folder, and a simulated line
/// that every COM path but kUnopenablePath opens.
class FolderOnLine {
 protected:
  FolderOnLine() { std::filesystem::create_directories(dir / "Base"); }
  PortOpener Opener() {
    return [this](const std::string& path) -> std::shared_ptr<BytePort> {
      return path == kUnopenablePath ? nullptr : line;
    };
  }

  TempDir tempDir;
  std::filesystem::path dir = tempDir.path();
  VirtualClock clock;
  std::shared_ptr<SimulatedLine> line = std::make_shared<SimulatedLine>(clock);
};

class AppFixture : public ::testing::Test, protected FolderOnLine {
 protected:
  AppFixture();

  /// Shows the main window and lets its first activation load the settings.
  void Start();
  /// Start() on the demo settings and the seeded virtual network.
  void StartDemo();
  /// Base/BaseN.bsd with product `number` set to `record` (others new).
  void WriteBaseRecord(int channel, int number, const ProductRecord& record);
  /// Product `number` of channel's base file as stored.
  ProductRecord StoredRecord(int channel, int number);
  /// Writes ZELBase.ini with these lines (UTF-8; stored as cp1251).
  void WriteSettings(const std::string& lines);
  std::filesystem::path SettingsPath() const { return dir / "ZELBase.ini"; }
  /// Number of boxes shown with exactly this text.
  int CountShown(const std::string& text) const;

  TFSHK1& Main() { return *windows->FSHK1(); }
  Workspace& Ws() { return core->ws; }

  ScriptedPrompts prompts;
  std::unique_ptr<AppCore> core;
  std::unique_ptr<AppWindows> windows;
};

}  // namespace zel::testing
