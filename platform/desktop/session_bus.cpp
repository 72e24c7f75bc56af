#include "platform/desktop/session_bus.h"

#include <QDBusConnection>
#include <QGuiApplication>

bool session_bus_connected() {
  // Qt keeps the session connection for the life of the process, so the answer holds.
  return QDBusConnection::sessionBus().isConnected();
}

void identify_to_desktop() { QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopAppId)); }
