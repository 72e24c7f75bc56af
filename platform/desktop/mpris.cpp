#include "platform/desktop/mpris.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QStringList>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <memory>

#include "platform/desktop/desktop_messages.h"
#include "platform/desktop/session_bus.h"
#include "platform/desktop/single_instance.h"

namespace {

constexpr const char* kRootInterface = "org.mpris.MediaPlayer2";
constexpr const char* kPlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* kNoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";

HWND player_window = nullptr;
MprisState state;

void post_app_command(WORD command) {
  if (player_window != nullptr) PostMessageA(player_window, WM_APPCOMMAND, 0, MAKELPARAM(0, command));
}

QString status_text(MprisState::Status s) {
  switch (s) {
    case MprisState::Status::Playing: return QStringLiteral("Playing");
    case MprisState::Status::Paused: return QStringLiteral("Paused");
    case MprisState::Status::Stopped: break;
  }
  return QStringLiteral("Stopped");
}

QVariantMap metadata_of(const MprisState& s) {
  QVariantMap m;
  m.insert("mpris:trackid", QVariant::fromValue(QDBusObjectPath(s.track_id.empty() ? kNoTrack : s.track_id.c_str())));
  if (s.title.empty()) return m;
  m.insert("xesam:title", QString::fromStdString(s.title));
  if (s.length_us > 0) m.insert("mpris:length", static_cast<qlonglong>(s.length_us));
  if (s.track_number > 0) m.insert("xesam:trackNumber", s.track_number);
  if (!s.album.empty()) m.insert("xesam:album", QString::fromStdString(s.album));
  if (!s.url.empty()) m.insert("xesam:url", QString::fromStdString(s.url));
  return m;
}

}  // namespace

class MprisRootAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
  Q_PROPERTY(bool CanQuit READ yes)
  Q_PROPERTY(bool CanRaise READ yes)
  Q_PROPERTY(bool HasTrackList READ no)
  Q_PROPERTY(QString Identity READ identity)
  Q_PROPERTY(QString DesktopEntry READ desktop_entry)
  Q_PROPERTY(QStringList SupportedUriSchemes READ schemes)
  Q_PROPERTY(QStringList SupportedMimeTypes READ mime_types)

 public:
  explicit MprisRootAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) {}
  bool yes() const { return true; }
  bool no() const { return false; }
  QString identity() const { return QStringLiteral("Quorvin"); }
  QString desktop_entry() const { return QString::fromLatin1(kDesktopAppId); }
  QStringList schemes() const { return {QStringLiteral("file")}; }
  QStringList mime_types() const {
    return {"audio/x-wav", "audio/wav", "audio/flac", "audio/ogg", "audio/x-aiff", "audio/mpeg",
            "audio/midi", "audio/x-midi", "application/x-cue", "application/x-toc", "application/x-nrg"};
  }

 public slots:
  void Raise() { raise_window(player_window); }
  void Quit() {
    if (player_window != nullptr) PostMessageA(player_window, WM_CLOSE, 0, 0);
  }
};

class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
  Q_PROPERTY(QString PlaybackStatus READ playback_status)
  Q_PROPERTY(double Rate READ rate WRITE set_rate)
  Q_PROPERTY(QVariantMap Metadata READ metadata)
  Q_PROPERTY(double Volume READ volume WRITE set_volume)
  Q_PROPERTY(qlonglong Position READ position)
  Q_PROPERTY(double MinimumRate READ rate)
  Q_PROPERTY(double MaximumRate READ rate)
  Q_PROPERTY(bool CanGoNext READ can_go_next)
  Q_PROPERTY(bool CanGoPrevious READ can_go_previous)
  Q_PROPERTY(bool CanPlay READ can_play)
  Q_PROPERTY(bool CanPause READ can_pause)
  Q_PROPERTY(bool CanSeek READ no)
  Q_PROPERTY(bool CanControl READ yes)

 public:
  explicit MprisPlayerAdaptor(QObject* parent) : QDBusAbstractAdaptor(parent) {}
  QString playback_status() const { return status_text(state.status); }
  double rate() const { return 1.0; }
  void set_rate(double) {}  // the decks play at their own speed only
  QVariantMap metadata() const { return metadata_of(state); }
  double volume() const { return state.volume; }
  // Answered at once; the program turns its volume from the loop. Below 0 is
  // silence; the mixer can not go beyond its top.
  void set_volume(double level) {
    if (std::isnan(level)) return;
    const double clamped = std::clamp(level, 0.0, 1.0);
    if (player_window != nullptr)
      PostMessageA(player_window, WM_QUORVIN_SET_VOLUME, static_cast<WPARAM>(std::lround(clamped * kDesktopVolumeFull)), 0);
  }
  qlonglong position() const { return state.position_us; }
  bool can_go_next() const { return state.can_go_next; }
  bool can_go_previous() const { return state.can_go_previous; }
  bool can_play() const { return state.can_play; }
  bool can_pause() const { return state.can_pause; }
  bool yes() const { return true; }
  bool no() const { return false; }

 public slots:
  void Next() { post_app_command(APPCOMMAND_MEDIA_NEXTTRACK); }
  void Previous() { post_app_command(APPCOMMAND_MEDIA_PREVIOUSTRACK); }
  void Pause() { post_app_command(APPCOMMAND_MEDIA_PAUSE); }
  void PlayPause() { post_app_command(APPCOMMAND_MEDIA_PLAY_PAUSE); }
  void Stop() { post_app_command(APPCOMMAND_MEDIA_STOP); }
  void Play() { post_app_command(APPCOMMAND_MEDIA_PLAY); }
  void Seek(qlonglong) {}
  void SetPosition(const QDBusObjectPath&, qlonglong) {}
  void OpenUri(const QString& uri) {
    const QUrl url(uri);
    const std::string path = url.isLocalFile() ? url.toLocalFile().toStdString() : uri.toStdString();
    // Answered at once; the file is opened from the loop (opening may ask the user).
    QTimer::singleShot(0, [path] {
      if (player_window != nullptr) send_open_files(player_window, {path});
    });
  }
};

namespace {

std::unique_ptr<QObject> player_object;

void announce(const QVariantMap& changed) {
  if (!player_object || changed.isEmpty()) return;
  QDBusMessage signal = QDBusMessage::createSignal(kMprisPath, "org.freedesktop.DBus.Properties", "PropertiesChanged");
  signal << QString::fromLatin1(kPlayerInterface) << changed << QStringList();
  QDBusConnection::sessionBus().send(signal);
}

}  // namespace

bool mpris_start(HWND window) {
  player_window = window;
  state = MprisState();
  if (player_object || !session_bus_connected()) return false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  auto object = std::make_unique<QObject>();
  new MprisRootAdaptor(object.get());
  new MprisPlayerAdaptor(object.get());
  if (!bus.registerObject(kMprisPath, object.get())) return false;
  const auto registered = bus.interface()->registerService(kMprisBusName, QDBusConnectionInterface::DontQueueService,
                                                           QDBusConnectionInterface::DontAllowReplacement);
  if (!registered.isValid() || registered.value() != QDBusConnectionInterface::ServiceRegistered) {
    bus.unregisterObject(kMprisPath);
    return false;
  }
  player_object = std::move(object);
  return true;
}

void mpris_publish(const MprisState& next) {
  QVariantMap changed;
  if (next.status != state.status) changed.insert("PlaybackStatus", status_text(next.status));
  const QVariantMap metadata = metadata_of(next);
  if (metadata != metadata_of(state)) changed.insert("Metadata", metadata);
  if (next.can_play != state.can_play) changed.insert("CanPlay", next.can_play);
  if (next.can_pause != state.can_pause) changed.insert("CanPause", next.can_pause);
  if (next.can_go_next != state.can_go_next) changed.insert("CanGoNext", next.can_go_next);
  if (next.can_go_previous != state.can_go_previous) changed.insert("CanGoPrevious", next.can_go_previous);
  if (next.volume != state.volume) changed.insert("Volume", next.volume);
  state = next;
  announce(changed);
}

const MprisState& mpris_published() { return state; }

void mpris_stop() {
  player_window = nullptr;
  if (!player_object) return;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.unregisterObject(kMprisPath);
  bus.interface()->unregisterService(kMprisBusName);
  player_object.reset();
}

#include "mpris.moc"
