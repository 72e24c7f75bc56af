#include "cd/cd_random.h"

#include <array>

int CdRandom::draw() {
  state = state * 214013u + 2531011u;
  return static_cast<int>((state >> 16) & 0x7FFF);
}

int random_figure(int draw) {
  // The single-precision value nearest to 1/32767, the products in double.
  constexpr float kScale = 1.0f / 32767.0f;
  return static_cast<int>(static_cast<double>(draw) * static_cast<double>(kScale) * 999999.0);
}

void make_random_order(int n, std::uint32_t seed, TrackList* list, void (*shown)(int figure)) {
  std::array<bool, 100> taken{};
  CdRandom generator{seed};
  for (int i = 0; i < n; ++i) {
    (*list)[i] = 0;
    while ((*list)[i] == 0) {
      const int x = random_figure(generator.draw());
      if (shown) shown(x);
      const int k = x % 100;
      if (k < n && !taken[k]) {
        taken[k] = true;
        (*list)[i] = k + 1;
      }
    }
  }
  (*list)[n] = kEndOfList;
}
