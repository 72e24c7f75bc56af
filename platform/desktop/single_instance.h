#pragma once
// One rack per desktop session. The first start owns the program's bus name
// and serves org.freedesktop.Application there; a later start hands its
// files to it (Open; Activate when it has none), which raises its window, and
// ends. Without a session bus every start is a rack of its own.
// UI thread only.
#include <string>
#include <vector>

#include "platform/ui/windows.h"

// The files named on the command line (after the program name; options that
// start with '-' are skipped until a "--"), as absolute paths: a file:// URI
// becomes its path, a relative path is taken from the current folder.
std::vector<std::string> command_line_files();

enum class InstanceClaim {
  First,       // this start owns the name: it is the rack
  HandedOver,  // another rack runs and took the files: end this start
  Alone,       // no bus, or the other rack did not answer: be a rack anyway
};
// Asks for the name; when another rack holds it, hands `files` over.
InstanceClaim claim_single_instance(const std::vector<std::string>& files);
// From now on files handed over go to `window` as an open-files WM_COPYDATA
// (desktop_messages.h), and each hand-over or activation raises it. Files that
// came before the window existed are sent now.
void serve_single_instance(HWND window);
// Gives the name and the object up, so a later start is the first again.
void release_single_instance();

// Shows the window in front: restored when minimised, then activated.
void raise_window(HWND window);
