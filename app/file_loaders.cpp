#include "app/file_loaders.h"

#include "app/insert_disc.h"

namespace {

void insert_disc(const std::string& path) { insert_disc_image(path); }

constexpr FileLoader kLoaders[] = {
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
