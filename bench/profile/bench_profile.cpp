// Writes a playlist store of 20 playlists with 128 entries each through the
// profile service and reads it back, then does the same with the naive
// read-the-whole-file-per-call implementation, in the same folder layout.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "naive_profile.h"
#include "platform/profile/profile.h"
#include "platform/profile/profile_batch.h"

namespace {

constexpr int kPlaylists = 20;
constexpr int kEntries = 128;

std::string playlist_name(int p) { return "Evening Mix " + std::to_string(p + 1); }
std::string entry_path(int p, int e) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "/home/listener/Music/Collection %02d/Track %03d - Some Artist.wav", p, e);
  return buf;
}

double ms_since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

struct Figures {
  double write_ms;
  double read_ms;
  long checksum;  // keeps the reads from being optimised away and proves they found the data
};

Figures run_service(const std::string& file, bool batched) {
  auto start = std::chrono::steady_clock::now();
  const char* f = file.c_str();
  std::optional<ProfileBatch> batch;
  if (batched) batch.emplace(f);
  WritePrivateProfileStringA("Playlist", "TotalPlaylist", std::to_string(kPlaylists).c_str(), f);
  for (int p = 0; p < kPlaylists; ++p) {
    const std::string name = playlist_name(p);
    WritePrivateProfileStringA("Playlist", std::to_string(p + 1).c_str(), name.c_str(), f);
    WritePrivateProfileStringA(name.c_str(), "TotalListItems", std::to_string(kEntries).c_str(), f);
    for (int e = 0; e < kEntries; ++e)
      WritePrivateProfileStringA(name.c_str(), std::to_string(e).c_str(), entry_path(p, e).c_str(), f);
  }
  if (batch && !batch->commit()) std::fprintf(stderr, "batch commit failed\n");
  Figures fig{ms_since(start), 0, 0};
  start = std::chrono::steady_clock::now();
  char buf[128];
  const int count = static_cast<int>(GetPrivateProfileIntA("Playlist", "TotalPlaylist", 0, f));
  for (int p = 1; p <= count; ++p) {
    GetPrivateProfileStringA("Playlist", std::to_string(p).c_str(), "No Title", buf, sizeof buf, f);
    const std::string name = buf;
    const int entries = static_cast<int>(GetPrivateProfileIntA(name.c_str(), "TotalListItems", 0, f));
    for (int e = 0; e < entries; ++e)
      fig.checksum += GetPrivateProfileStringA(name.c_str(), std::to_string(e).c_str(), "No Title", buf, sizeof buf, f);
  }
  fig.read_ms = ms_since(start);
  return fig;
}

Figures run_naive(const std::string& file) {
  auto start = std::chrono::steady_clock::now();
  naive::write(file, "Playlist", "TotalPlaylist", std::to_string(kPlaylists));
  for (int p = 0; p < kPlaylists; ++p) {
    const std::string name = playlist_name(p);
    naive::write(file, "Playlist", std::to_string(p + 1), name);
    naive::write(file, name, "TotalListItems", std::to_string(kEntries));
    for (int e = 0; e < kEntries; ++e) naive::write(file, name, std::to_string(e), entry_path(p, e));
  }
  Figures fig{ms_since(start), 0, 0};
  start = std::chrono::steady_clock::now();
  const int count = naive::read_int(file, "Playlist", "TotalPlaylist", 0);
  for (int p = 1; p <= count; ++p) {
    const std::string name = naive::read(file, "Playlist", std::to_string(p), "No Title");
    const int entries = naive::read_int(file, name, "TotalListItems", 0);
    for (int e = 0; e < entries; ++e)
      fig.checksum += static_cast<long>(naive::read(file, name, std::to_string(e), "No Title").size());
  }
  fig.read_ms = ms_since(start);
  return fig;
}

// The same number of durable replacements of a one-line file: what the disk
// alone costs, whatever the implementation.
double durable_write_floor_ms(const std::string& file, int writes) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < writes; ++i) naive::replace_durably(file, "[Playlist]\n");
  return ms_since(start);
}

}  // namespace

int main() {
  std::string folder = (std::filesystem::temp_directory_path() / "quorvin-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) return 1;
  setenv("QUORVIN_HOME", folder.c_str(), 1);

  const Figures service = run_service(folder + "/wavetemp.ini", false);
  const Figures batched = run_service(folder + "/wavelist.ini", true);
  const Figures naive = run_naive(folder + "/naive.ini");
  const int writes = 1 + kPlaylists * (kEntries + 2);
  const int reads = 1 + kPlaylists * (kEntries + 2);
  std::printf("profile store: %d playlists x %d entries, %d writes, %d reads\n", kPlaylists, kEntries,
              writes, reads);
  std::printf("  service: write %8.1f ms  read %7.2f ms  total %8.1f ms\n", service.write_ms, service.read_ms,
              service.write_ms + service.read_ms);
  std::printf("  batched: write %8.1f ms  read %7.2f ms  total %8.1f ms  (one ProfileBatch around the writes)\n",
              batched.write_ms, batched.read_ms, batched.write_ms + batched.read_ms);
  std::printf("  naive:   write %8.1f ms  read %7.2f ms  total %8.1f ms\n", naive.write_ms, naive.read_ms,
              naive.write_ms + naive.read_ms);
  std::printf("  disk floor (%d durable one-line replacements): %8.1f ms\n", writes,
              durable_write_floor_ms(folder + "/floor.ini", writes));
  std::printf("  bytes read back: service %ld, batched %ld, naive %ld (target: under 50 ms)\n", service.checksum,
              batched.checksum, naive.checksum);
  std::filesystem::remove_all(folder);
  const bool same = service.checksum == naive.checksum && batched.checksum == naive.checksum;
  return same && service.checksum > 0 ? 0 : 1;
}
