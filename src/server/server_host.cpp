#include "server/server_host.h"

#include <QDBusConnectionInterface>

#include "server/client_tracker.h"
#include "server/dbus_adapter.h"
#include "server/member_calls.h"

namespace zel {
namespace {

QString Q(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

ServerHost::ServerHost(Workspace& ws, TapeTables& tapes, ServerView& view, Settings& settings,
                       bool automationMode, QObject* parent)
    : QObject(parent), server_(ws, tapes, view, settings), automation_(automationMode) {
  server_.Context().onIdle = [this] { OnServerIdle(); };
}

ServerHost::~ServerHost() {
  server_.Context().onIdle = nullptr;
  Stop();
}

bool ServerHost::Start(std::string& error) {
  return Start(QDBusConnection::sessionBus(), Q(kServiceName), error);
}

bool ServerHost::Start(const QDBusConnection& bus, const QString& serviceName, std::string& error) {
  Stop();
  if (const std::string mismatch = CheckMemberCalls(); !mismatch.empty()) {
    error = "the server's calls do not match its interface: " + mismatch;
    return false;
  }
  if (!bus.isConnected()) {
    error = "no D-Bus session bus: " + bus.lastError().message().toStdString();
    return false;
  }
  bus_ = std::make_unique<QDBusConnection>(bus);
  tracker_ = std::make_unique<ClientTracker>(*bus_);
  connect(tracker_.get(), &ClientTracker::lastClientReleased, this,
          &ServerHost::OnLastClientReleased);
  adaptor_ = std::make_unique<IServerAdaptor>(
      server_, [this](const QString& caller) { tracker_->Touch(caller); });
  if (!bus_->registerVirtualObject(Q(kObjectPath), adaptor_.get())) {
    error = "the object " + std::string(kObjectPath) + " cannot be exported";
    Stop();
    return false;
  }
  if (!bus_->registerService(serviceName)) {
    error = "the bus name " + serviceName.toStdString() +
            " cannot be taken: " + bus_->lastError().message().toStdString();
    Stop();
    return false;
  }
  serviceName_ = serviceName;
  return true;
}

void ServerHost::Stop() {
  if (!bus_) return;
  if (!serviceName_.isEmpty()) bus_->unregisterService(serviceName_);
  bus_->unregisterObject(Q(kObjectPath));
  serviceName_.clear();
  adaptor_.reset();
  tracker_.reset();
  bus_.reset();
}

bool ServerHost::HasClients() const {
  return ClientCount() > 0;
}

int ServerHost::ClientCount() const {
  return tracker_ ? tracker_->Count() : 0;
}

void ServerHost::OnLastClientReleased() {
  if (!automation_) return;
  // A running exchange is neither stopped nor abandoned: it ends first
  // (saving the table, releasing the register lock), then the program.
  if (server_.Context().panelShown) {
    quitPending_ = true;
    return;
  }
  emit quitRequested();
}

void ServerHost::OnServerIdle() {
  if (!quitPending_) return;
  quitPending_ = false;
  // Idle is reached inside the exchange's last step, which may still store
  // the table: the request waits until that step has returned.
  QMetaObject::invokeMethod(
      this,
      [this] {
        if (!HasClients()) emit quitRequested();
      },
      Qt::QueuedConnection);
}

}  // namespace zel
