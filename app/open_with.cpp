#include "app/open_with.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <vector>

#include "app/file_loaders.h"
#include "platform/desktop/desktop_messages.h"
#include "platform/ui/shellapi.h"
#include "platform/ui/windows.h"
#include "skin/layout.h"
#include "skin/rack_state.h"

namespace {

struct KindRow {
  const char* extension;
  FileKind kind;
};

// What the decks play (libsndfile's formats on the wave decks) and what the CD drive takes.
constexpr KindRow kKinds[] = {
    {".wav", FileKind::Wave},       {".flac", FileKind::Wave},      {".ogg", FileKind::Wave},
    {".oga", FileKind::Wave},       {".opus", FileKind::Wave},      {".aif", FileKind::Wave},
    {".aiff", FileKind::Wave},      {".mp3", FileKind::Wave},       {".mid", FileKind::Midi},
    {".midi", FileKind::Midi},      {".rmi", FileKind::Midi},       {".kar", FileKind::Midi},
    {".cue", FileKind::DiscImage},  {".toc", FileKind::DiscImage},  {".nrg", FileKind::DiscImage},
};

constexpr const char* kWhatPlays =
    "The rack plays wave files (WAV, FLAC, Ogg, Opus, AIFF, MP3), MIDI files and disc images (CUE, TOC, NRG).";

std::string name_of(const std::string& path) { return std::filesystem::path(path).filename().string(); }

void refuse(const std::string& text) { MessageBoxA(main_window, text.c_str(), nullptr, MB_OK | MB_ICONEXCLAMATION); }

struct DropTarget {
  FileKind kind;
  const FileLoader* loader;
};

DropTarget target_at(POINT at) {
  for (const ModuleFace& face : kModuleFaces) {
    if (!module_shown(face.module)) continue;
    const int top = module_top(face.module);
    if (at.y < top || at.y >= top + face.height) continue;
    switch (face.module) {
      case Module::Midi: return {FileKind::Midi, find_loader(LoadTarget::MidiDeck)};
      case Module::Cd: return {FileKind::DiscImage, find_loader(LoadTarget::CdDrive)};
      case Module::Wave: {
        const LoadTarget deck = at.x < kWaveDropDeck2Left       ? LoadTarget::WaveDeck1
                                : at.x < kWaveDropTransportLeft ? LoadTarget::WaveDeck2
                                                                : LoadTarget::ActiveWaveDeck;
        return {FileKind::Wave, find_loader(deck)};
      }
      default: return {FileKind::Unknown, nullptr};
    }
  }
  return {FileKind::Unknown, nullptr};
}

void drop_on(POINT at, const std::vector<std::string>& files) {
  const DropTarget target = target_at(at);
  if (target.loader == nullptr) {
    refuse("Drop a file on the deck that should play it: a wave file on a cassette deck, a MIDI file on the "
           "MIDI deck, a disc image on the CD player.");
    return;
  }
  // A deck holds one file: the first one of its kind goes in.
  for (const std::string& file : files)
    if (file_kind(file) == target.kind) {
      target.loader->load(file);
      return;
    }
  refuse("\"" + name_of(files.front()) + "\" can not go there: the " + target.loader->what + " takes " +
         target.loader->takes + ".");
}

}  // namespace

FileKind file_kind(const std::string& path) {
  std::string extension = std::filesystem::path(path).extension().string();
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const KindRow& row : kKinds)
    if (extension == row.extension) return row.kind;
  return FileKind::Unknown;
}

LRESULT on_copy_data(HWND, UINT, WPARAM, LPARAM lparam) {
  const std::vector<std::string> files = copy_data_files(reinterpret_cast<const COPYDATASTRUCT*>(lparam));
  if (files.empty()) return FALSE;
  std::vector<std::string> refused;
  std::vector<FileKind> done;
  for (const std::string& file : files) {
    const FileKind kind = file_kind(file);
    const FileLoader* loader = open_with_loader(kind);
    if (loader == nullptr) {
      refused.push_back(name_of(file));
      continue;
    }
    // Each deck holds one file: the first of each kind is loaded.
    if (std::find(done.begin(), done.end(), kind) != done.end()) continue;
    done.push_back(kind);
    loader->load(file);
  }
  if (!refused.empty()) {
    std::string list;
    for (const std::string& name : refused) list += "\n" + name;
    refuse(std::string("These files can not be played:") + list + "\n\n" + kWhatPlays);
  }
  return TRUE;
}

LRESULT on_drop_files(HWND, UINT, WPARAM wparam, LPARAM) {
  HDROP drop = reinterpret_cast<HDROP>(wparam);
  std::vector<std::string> files;
  const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH];
    DragQueryFileA(drop, i, path, sizeof path);
    files.emplace_back(path);
  }
  POINT at{};
  DragQueryPoint(drop, &at);
  DragFinish(drop);
  if (!files.empty()) drop_on(at, files);
  return 0;
}
