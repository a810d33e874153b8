// The automation server as the application runs it: `TServer` over the
// window's state, exported on the session bus as Zhrm.Server /Server, with
// its clients tracked. In automation mode the host asks the program to end
// once the last client has left and no server exchange is running.
#pragma once

#include <QDBusConnection>
#include <QObject>
#include <memory>
#include <string>

#include "server/tserver.h"

namespace zel {

class ClientTracker;
class IServerAdaptor;

class ServerHost final : public QObject {
  Q_OBJECT

 public:
  /// `automationMode`: started as /AUTOMATION or /EMBEDDING.
  ServerHost(Workspace& ws, TapeTables& tapes, ServerView& view, Settings& settings,
             bool automationMode, QObject* parent = nullptr);
  ~ServerHost() override;

  /// Exports /Server on the session bus and takes the name Zhrm.Server.
  /// False with `error` set when there is no bus, the name is taken, or
  /// the adapter does not match the member table.
  bool Start(std::string& error);
  /// The same on `bus` under `serviceName` (tests run several servers).
  bool Start(const QDBusConnection& bus, const QString& serviceName, std::string& error);

  TServer& Server() { return server_; }
  /// True while at least one client is connected: closing the window asks first.
  bool HasClients() const;
  int ClientCount() const;

 signals:
  /// Automation mode: the last client has left and no exchange runs.
  void quitRequested();

 private:
  void OnLastClientReleased();
  void OnServerIdle();
  void Stop();

  TServer server_;
  bool automation_;
  std::unique_ptr<QDBusConnection> bus_;
  QString serviceName_;
  std::unique_ptr<ClientTracker> tracker_;
  std::unique_ptr<IServerAdaptor> adaptor_;
  bool quitPending_ = false;
};

}  // namespace zel
