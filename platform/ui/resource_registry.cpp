// Lookup of installed resource tables and of bitmap images.
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>

#include "platform/ui/resource_lookup.h"
#include "platform/ui/resources.h"

namespace ui_resources {
namespace {

ResourceTables& installed_tables() {
  static ResourceTables t;
  return t;
}

// Images are kept as 32-bit pixels plus the colour table of an indexed source.
struct BitmapStore {
  std::map<std::string, StoredBitmap> registered;  // key: normalised name
  std::vector<QString> folders;
  std::map<std::string, StoredBitmap> decoded;
};

BitmapStore& store() {
  static BitmapStore s;
  return s;
}

// "#123" names a number, as in Win32.
std::string normalised(LPCSTR name) {
  if (!name) return {};
  if (IS_INTRESOURCE(name)) return std::to_string(reinterpret_cast<std::uintptr_t>(name));
  std::string key = name;
  if (key.size() > 1 && key[0] == '#' && std::all_of(key.begin() + 1, key.end(), ::isdigit)) return key.substr(1);
  std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return std::toupper(c); });
  return key;
}

StoredBitmap prepare(const QImage& img) {
  StoredBitmap b;
  if (img.isNull()) return b;
  b.colors = img.colorTable();
  b.image = img.convertToFormat(QImage::Format_RGB32);
  return b;
}

StoredBitmap decode(const QString& path) { return prepare(QImage(path)); }

StoredBitmap load_from_files(const std::string& key, LPCSTR original) {
  // Files carry the name as written in the program; try that, then the normalised key.
  std::vector<QString> names;
  if (original && !IS_INTRESOURCE(original)) names.push_back(QString::fromLatin1(original));
  names.push_back(QString::fromStdString(key));
  for (const QString& folder : store().folders)
    for (const QString& n : names)
      if (QFileInfo f(QDir(folder).filePath(n + ".png")); f.isFile()) return decode(f.filePath());
  for (const QString& n : names)
    if (QFileInfo f(":/skin/" + n + ".png"); f.exists()) return decode(f.filePath());
  return {};
}

}  // namespace

bool matches(const ResourceId& id, LPCSTR name) {
  if (!name) return false;
  std::string key = normalised(name);
  if (id.name) return normalised(id.name) == key;
  return std::to_string(id.number) == key;
}

const ResourceTables& tables() { return installed_tables(); }
const ResourceTables& installed() { return installed_tables(); }

void install(const ResourceTables& t) { installed_tables() = t; }

void add_bitmap_folder(const std::string& folder) {
  store().folders.push_back(QString::fromStdString(folder));
  store().decoded.clear();
}

void register_bitmap(LPCSTR name, const QImage& image) {
  store().registered[normalised(name)] = prepare(image);
  store().decoded.erase(normalised(name));
}

void forget_bitmaps() { store() = BitmapStore{}; }

StoredBitmap find_stored_bitmap(LPCSTR name) {
  std::string key = normalised(name);
  if (key.empty()) return {};
  auto& s = store();
  if (auto it = s.registered.find(key); it != s.registered.end()) return it->second;
  if (auto it = s.decoded.find(key); it != s.decoded.end()) return it->second;
  StoredBitmap b = load_from_files(key, name);
  if (!b.image.isNull()) s.decoded[key] = b;
  return b;
}

QImage find_bitmap(LPCSTR name) { return find_stored_bitmap(name).image; }

}  // namespace ui_resources

using namespace ui_resources;

int LoadStringA(HINSTANCE, UINT id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  const auto& t = tables();
  for (std::size_t i = 0; i < t.string_count; ++i) {
    if (t.strings[i].id != id) continue;
    int n = std::min(static_cast<int>(std::strlen(t.strings[i].text)), size - 1);
    std::memcpy(buffer, t.strings[i].text, static_cast<std::size_t>(n));
    buffer[n] = '\0';
    return n;
  }
  return 0;
}
