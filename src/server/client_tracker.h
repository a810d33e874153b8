// The clients of the server: every bus connection that has called a member,
// known by its unique name, until it leaves the bus.
#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QSet>
#include <QString>

namespace zel {

class ClientTracker final : public QObject {
  Q_OBJECT

 public:
  explicit ClientTracker(const QDBusConnection& bus, QObject* parent = nullptr);

  /// A call came from `uniqueName`: it is a client from now on until it
  /// leaves the bus (also when it left before it could be watched).
  void Touch(const QString& uniqueName);
  int Count() const { return static_cast<int>(clients_.size()); }
  bool IsClient(const QString& uniqueName) const { return clients_.contains(uniqueName); }

 signals:
  /// `uniqueName` left the bus.
  void clientReleased(const QString& uniqueName);
  /// The last client left.
  void lastClientReleased();

 private:
  void Release(const QString& uniqueName);

  QDBusConnection bus_;
  QDBusServiceWatcher watcher_;
  QSet<QString> clients_;
};

}  // namespace zel
