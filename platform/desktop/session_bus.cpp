#include "platform/desktop/session_bus.h"

#include <QDBusConnection>

bool session_bus_connected() {
  // Qt keeps the session connection for the life of the process, so the answer holds.
  return QDBusConnection::sessionBus().isConnected();
}
