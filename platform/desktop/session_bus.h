#pragma once
// The desktop's session bus as the program uses it: the names it owns there
// and whether there is a bus at all. Without a bus (none running, or
// DBUS_SESSION_BUS_ADDRESS naming nothing) the program runs as it would
// anywhere else: one rack per start, no media keys. UI thread only.

// The program's application identifier: its bus name, desktop file and metainfo.
inline constexpr const char* kDesktopAppId = "org.quorvin.Quorvin";
// Where the program serves org.freedesktop.Application.
inline constexpr const char* kDesktopAppPath = "/org/quorvin/Quorvin";
inline constexpr const char* kMprisBusName = "org.mpris.MediaPlayer2.quorvin";
inline constexpr const char* kMprisPath = "/org/mpris/MediaPlayer2";

// True when the session bus answers. Asked once; later calls repeat the answer.
bool session_bus_connected();
// Names the program to the desktop (its desktop entry, for the window's
// application id on Wayland and X11 alike). Before the first window.
void identify_to_desktop();
