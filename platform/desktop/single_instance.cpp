#include "platform/desktop/single_instance.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <memory>

#include "platform/desktop/desktop_messages.h"
#include "platform/desktop/session_bus.h"

namespace {

constexpr const char* kApplicationInterface = "org.freedesktop.Application";
// A rack that does not answer within this long is taken to be hung; this start then runs on its own.
constexpr int kHandOverTimeoutMs = 5000;

HWND served_window = nullptr;
std::vector<std::string> waiting_files;  // handed over before the window existed

std::string path_of(const QString& text) {
  const QUrl url(text);
  if (url.isLocalFile()) return QFileInfo(url.toLocalFile()).absoluteFilePath().toStdString();
  // Another scheme (http:...) is passed on as it is: opening it will say why it can not be played.
  if (!url.scheme().isEmpty() && url.scheme().size() > 1) return text.toStdString();
  return QFileInfo(text).absoluteFilePath().toStdString();
}

void hand_to_window(std::vector<std::string> files) {
  if (served_window == nullptr) {
    waiting_files.insert(waiting_files.end(), files.begin(), files.end());
    return;
  }
  // The caller gets its answer first: opening may show a box, and the other
  // start must not wait on a user (it would give up and open a rack of its own).
  QTimer::singleShot(0, [files = std::move(files)] {
    if (served_window == nullptr) return;
    raise_window(served_window);
    send_open_files(served_window, files);
  });
}

}  // namespace

// org.freedesktop.Application, as a desktop launcher and a second start call it.
class ApplicationAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

 public:
  explicit ApplicationAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) {}

 public slots:
  void Activate(const QVariantMap&) { hand_to_window({}); }
  void Open(const QStringList& uris, const QVariantMap&) {
    std::vector<std::string> files;
    for (const QString& uri : uris) files.push_back(path_of(uri));
    hand_to_window(std::move(files));
  }
  void ActivateAction(const QString&, const QVariantList&, const QVariantMap&) { hand_to_window({}); }
};

namespace {

std::unique_ptr<QObject> application_object;

bool hand_over(const std::vector<std::string>& files) {
  QDBusMessage call;
  if (files.empty()) {
    call = QDBusMessage::createMethodCall(kDesktopAppId, kDesktopAppPath, kApplicationInterface, "Activate");
    call << QVariantMap();
  } else {
    QStringList uris;
    for (const std::string& file : files) uris << QUrl::fromLocalFile(QString::fromStdString(file)).toString();
    call = QDBusMessage::createMethodCall(kDesktopAppId, kDesktopAppPath, kApplicationInterface, "Open");
    call << uris << QVariantMap();
  }
  const QDBusMessage reply = QDBusConnection::sessionBus().call(call, QDBus::Block, kHandOverTimeoutMs);
  return reply.type() == QDBusMessage::ReplyMessage;
}

}  // namespace

std::vector<std::string> command_line_files() {
  std::vector<std::string> files;
  bool options_end = false;
  const QStringList args = QCoreApplication::arguments();
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (!options_end && arg == QLatin1String("--")) {
      options_end = true;
      continue;
    }
    if (!options_end && arg.startsWith('-')) continue;
    if (!arg.isEmpty()) files.push_back(path_of(arg));
  }
  return files;
}

InstanceClaim claim_single_instance(const std::vector<std::string>& files) {
  waiting_files = files;
  served_window = nullptr;
  if (!session_bus_connected()) return InstanceClaim::Alone;
  QDBusConnection bus = QDBusConnection::sessionBus();
  const auto registered =
      bus.interface()->registerService(kDesktopAppId, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (registered.isValid() && registered.value() == QDBusConnectionInterface::ServiceRegistered) {
    application_object = std::make_unique<QObject>();
    new ApplicationAdaptor(application_object.get());
    bus.registerObject(kDesktopAppPath, application_object.get());
    return InstanceClaim::First;
  }
  // Someone holds the name: hand over. If that rack does not answer, this start becomes a rack of its own.
  if (hand_over(files)) return InstanceClaim::HandedOver;
  return InstanceClaim::Alone;
}

void serve_single_instance(HWND window) {
  served_window = window;
  std::vector<std::string> files = std::move(waiting_files);
  waiting_files.clear();
  send_open_files(window, files);
}

void release_single_instance() {
  served_window = nullptr;
  waiting_files.clear();
  if (!application_object) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(kDesktopAppPath);
  bus.interface()->unregisterService(kDesktopAppId);
  application_object.reset();
}

void raise_window(HWND window) {
  if (window == nullptr || !IsWindow(window)) return;
  ShowWindow(window, IsIconic(window) ? SW_RESTORE : SW_SHOW);
  SetForegroundWindow(window);
}

#include "single_instance.moc"
