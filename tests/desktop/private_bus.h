#pragma once
// A session bus of the test program's own: a dbus-daemon started before main
// (so before Qt first asks for the bus), named in DBUS_SESSION_BUS_ADDRESS and
// stopped at exit. Calls from the tests go through a connection of their own,
// asynchronously, while the rack's loop runs, as another program's would.
#include <QDBusMessage>
#include <QString>
#include <QVariant>
#include <string>

namespace private_bus {

// The bus address; empty when dbus-daemon could not be started.
const std::string& address();

// Calls a method on the bus and pumps the event loop until the answer.
QDBusMessage call(const QString& service, const QString& path, const QString& interface, const QString& method,
                  const QVariantList& args = {});
// A property of the media player object.
QVariant player_property(const QString& interface, const QString& name);
QDBusMessage player_call(const QString& method, const QVariantList& args = {});
// Writes a property of the media player's Player interface.
QDBusMessage set_player_property(const QString& name, const QVariant& value);

}  // namespace private_bus
