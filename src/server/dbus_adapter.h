// The bus face of `TServer`: the object /Server with the interface
// Zhrm.IServer. Incoming calls are checked against the member table
// (name and signature), their arguments converted (a VARIANT may hold a
// string, any number or a variant) and handed to the member; expected refusals
// return normally, unexpected failures become Zhrm.Error.Failed replies.
#pragma once

#include <QDBusVirtualObject>
#include <functional>

#include "server/tserver.h"

namespace zel {

class IServerAdaptor final : public QDBusVirtualObject {
 public:
  /// `onCaller` learns the unique bus name of every caller before its call runs.
  IServerAdaptor(TServer& server, std::function<void(const QString&)> onCaller);

  bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;
  /// The `<interface>` element, from the member table.
  QString introspect(const QString& path) const override;

 private:
  QDBusMessage Answer(const QDBusMessage& message);

  TServer& server_;
  std::function<void(const QString&)> onCaller_;
};

}  // namespace zel
