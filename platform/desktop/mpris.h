#pragma once
// The media player object of the desktop (MPRIS 2) on the session bus, under
// org.mpris.MediaPlayer2.quorvin: desktop media keys, panels and sound
// applets control the program through it.
//
// The player methods post WM_APPCOMMAND to the window (desktop_messages.h);
// the program decides what each means; a Volume written posts
// WM_QUORVIN_SET_VOLUME. Raise shows the window, Quit posts
// WM_CLOSE, OpenUri hands the file over as an open-files WM_COPYDATA. The
// properties come from the state the program publishes; a change is
// announced with PropertiesChanged (Position is read, never announced).
// Without a session bus nothing happens. UI thread only.
#include <cstdint>
#include <string>

#include "platform/ui/windows.h"

struct MprisState {
  enum class Status { Stopped, Playing, Paused };
  Status status = Status::Stopped;
  std::string track_id;    // object path naming the item, e.g. "/org/quorvin/Quorvin/cd/3"; "" for none
  std::string title;       // "" when nothing is loaded
  std::string album;       // the disc's title for a CD track
  std::string url;         // file:// of a file, "" for a CD track
  int track_number = 0;    // 0: none
  std::int64_t length_us = 0;
  std::int64_t position_us = 0;
  bool can_play = false;
  bool can_pause = false;
  bool can_go_next = false;
  bool can_go_previous = false;
  double volume = 1.0;     // 0 to 1
  bool operator==(const MprisState&) const = default;
};

// Registers the object and the name; false without a bus or when the name is taken.
bool mpris_start(HWND window);
// The state the properties show from now on.
void mpris_publish(const MprisState& state);
const MprisState& mpris_published();
// Gives the name and the object up.
void mpris_stop();
