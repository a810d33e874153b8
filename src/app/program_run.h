// One run of the program between its command line and its event loop: the
// windows and the automation server, wired so that the program ends only
// by the exit command, by closing the main window or, in automation mode,
// when the last client has left; never because another window (a message
// box) closed.
#pragma once

#include <QDBusConnection>
#include <QString>
#include <memory>
#include <string>

#include "app/app_core.h"
#include "app/app_windows.h"
#include "app/qt_prompts.h"
#include "server/registration.h"

namespace zel {

class ServerHost;
class TFSHK1;

class ProgramRun {
 public:
  ProgramRun(AppCore& core, QtPrompts& prompts, ServerStartMode mode, bool demo);
  ~ProgramRun();

  /// Shows the main window, runs its first activation (settings, port, base
  /// files), and only then offers the server on `bus` as `serviceName`, so
  /// the first call finds everything loaded. False when the server cannot
  /// start in automation mode (the reason is on stderr); a normal start
  /// goes on without it.
  bool Start(const QDBusConnection& bus, const QString& serviceName);

  TFSHK1& Main() const;
  ServerHost& Host() const { return *host_; }

 private:
  AppCore& core_;
  QtPrompts& prompts_;
  bool automation_;
  AppWindows windows_;
  std::unique_ptr<ServerHost> host_;
};

}  // namespace zel
