#include "private_bus.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "platform/ui/test_driver.h"

namespace private_bus {

namespace {

struct Daemon {
  std::string address;
  long pid = 0;

  Daemon() {
    FILE* out = popen("dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (out == nullptr) return;
    char line[512];
    if (std::fgets(line, sizeof line, out)) address = line;
    if (std::fgets(line, sizeof line, out)) pid = std::atol(line);
    pclose(out);
    while (!address.empty() && (address.back() == '\n' || address.back() == '\r')) address.pop_back();
    if (!address.empty()) setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
  }
  ~Daemon() {
    if (pid > 0) kill(static_cast<pid_t>(pid), SIGTERM);
  }
};

Daemon daemon_for_this_program;

QDBusConnection client() {
  static QDBusConnection c = QDBusConnection::connectToBus(QString::fromStdString(address()), "test-client");
  return c;
}

}  // namespace

const std::string& address() { return daemon_for_this_program.address; }

QDBusMessage call(const QString& service, const QString& path, const QString& interface, const QString& method,
                  const QVariantList& args) {
  QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
  message.setArguments(args);
  QDBusPendingCall pending = client().asyncCall(message, 5000);
  ui_test::pump_until([&] { return pending.isFinished(); }, 6000);
  return pending.reply();
}

QVariant player_property(const QString& interface, const QString& name) {
  const QDBusMessage reply = call("org.mpris.MediaPlayer2.quorvin", "/org/mpris/MediaPlayer2",
                                  "org.freedesktop.DBus.Properties", "Get", {interface, name});
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return reply.arguments().first().value<QDBusVariant>().variant();
}

QDBusMessage set_player_property(const QString& name, const QVariant& value) {
  return call("org.mpris.MediaPlayer2.quorvin", "/org/mpris/MediaPlayer2", "org.freedesktop.DBus.Properties", "Set",
              {"org.mpris.MediaPlayer2.Player", name, QVariant::fromValue(QDBusVariant(value))});
}

QDBusMessage player_call(const QString& method, const QVariantList& args) {
  return call("org.mpris.MediaPlayer2.quorvin", "/org/mpris/MediaPlayer2", "org.mpris.MediaPlayer2.Player", method,
              args);
}

}  // namespace private_bus
