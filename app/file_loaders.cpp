// The places a file from the desktop can go, and which kind "open with" puts where.
#include "app/file_loaders.h"

#include "app/insert_disc.h"
#include "decks/decks.h"
#include "skin/rack_state.h"

namespace {

// As the Open command loads a wave deck: the deck leaves playlist mode and the
// other deck's playlist stops advancing.
void load_wave(int number, const std::string& path) {
  Deck& deck = wave_deck(number);
  // A file from the desktop never throws a recording away unasked: the same
  // save question as Close, abandoned when the user backs out of saving.
  if (number == 2 && !ask_to_save_recording(main_window)) return;
  if (!open_into_deck(deck, path, name_offset_of(path))) return;
  wave_load_finished(number);
  playlist_of(deck).mode = 0;
  playlist_of(wave_deck(3 - number)).running = 0;
}

void load_wave1(const std::string& path) { load_wave(1, path); }
void load_wave2(const std::string& path) { load_wave(2, path); }
void load_active_wave(const std::string& path) { load_wave(active_wave_deck, path); }

void load_midi(const std::string& path) {
  if (!open_into_deck(midi_deck, path, name_offset_of(path))) return;
  midi_load_finished();
  playlist_of(midi_deck).mode = 0;
}

void insert_disc(const std::string& path) { insert_disc_image(path); }

constexpr const char* kWaveFiles = "wave files (WAV, FLAC, Ogg, Opus, AIFF, MP3)";

constexpr FileLoader kLoaders[] = {
    {LoadTarget::WaveDeck1, "cassette deck 1", kWaveFiles, load_wave1},
    {LoadTarget::WaveDeck2, "cassette deck 2", kWaveFiles, load_wave2},
    {LoadTarget::ActiveWaveDeck, "active cassette deck", kWaveFiles, load_active_wave},
    {LoadTarget::MidiDeck, "MIDI deck", "MIDI files", load_midi},
    {LoadTarget::CdDrive, "CD player", "disc images (CUE, TOC, NRG)", insert_disc},
};

struct OpenWithRow {
  FileKind kind;
  LoadTarget target;
};

constexpr OpenWithRow kOpenWith[] = {
    {FileKind::Wave, LoadTarget::WaveDeck1},
    {FileKind::Midi, LoadTarget::MidiDeck},
    {FileKind::DiscImage, LoadTarget::CdDrive},
};

}  // namespace

const FileLoader* find_loader(LoadTarget target) {
  for (const FileLoader& row : kLoaders)
    if (row.target == target) return &row;
  return nullptr;
}

const FileLoader* open_with_loader(FileKind kind) {
  for (const OpenWithRow& row : kOpenWith)
    if (row.kind == kind) return find_loader(row.target);
  return nullptr;
}
