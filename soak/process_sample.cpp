#include "process_sample.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdio>

// Exported by every sanitizer runtime; declared here because not every
// compiler ships the header that names it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

namespace {

double resident_mb() {
  long pages = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) return 0;
  if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
  std::fclose(statm);
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// Entries of /proc/self/fd, less the one this listing opens.
int descriptors() {
  DIR* dir = opendir("/proc/self/fd");
  if (dir == nullptr) return -1;
  int n = 0;
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') ++n;
  closedir(dir);
  return n - 1;
}

}  // namespace

ProcessSample sample_process() {
  return {resident_mb(), static_cast<double>(__sanitizer_get_current_allocated_bytes()) / (1 << 20), descriptors()};
}
