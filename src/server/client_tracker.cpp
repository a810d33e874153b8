#include "server/client_tracker.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QMetaObject>

namespace zel {

ClientTracker::ClientTracker(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), bus_(bus) {
  watcher_.setConnection(bus);
  watcher_.setWatchMode(QDBusServiceWatcher::WatchForUnregistration);
  connect(&watcher_, &QDBusServiceWatcher::serviceUnregistered, this, &ClientTracker::Release);
}

void ClientTracker::Touch(const QString& uniqueName) {
  if (uniqueName.isEmpty() || clients_.contains(uniqueName)) return;
  clients_.insert(uniqueName);
  watcher_.addWatchedService(uniqueName);
  // The bus answers in order: a client that left before the watch was in
  // place is no longer registered now, and no signal would ever come.
  QDBusConnectionInterface* bus = bus_.interface();
  if (!bus) return;
  const QDBusReply<bool> registered = bus->isServiceRegistered(uniqueName);
  if (registered.isValid() && !registered.value()) {
    QMetaObject::invokeMethod(
        this, [this, uniqueName] { Release(uniqueName); }, Qt::QueuedConnection);
  }
}

void ClientTracker::Release(const QString& uniqueName) {
  if (!clients_.remove(uniqueName)) return;
  watcher_.removeWatchedService(uniqueName);
  emit clientReleased(uniqueName);
  if (clients_.isEmpty()) emit lastClientReleased();
}

}  // namespace zel
