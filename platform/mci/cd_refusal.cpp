#include "platform/mci/cd_refusal.h"

#include <mutex>

namespace mci {
namespace {

struct Refusal {
  std::mutex mutex;
  std::string latest;  // "" while the source works
  std::string told;    // the sentence last handed to the deck
};

Refusal& refusal() {
  static Refusal state;
  return state;
}

}  // namespace

void record_cd_refusal(const std::string& sentence) {
  std::lock_guard lock(refusal().mutex);
  refusal().latest = sentence;
}

void forget_cd_refusal() {
  std::lock_guard lock(refusal().mutex);
  refusal().latest.clear();
  refusal().told.clear();
}

std::string last_cd_refusal() {
  std::lock_guard lock(refusal().mutex);
  return refusal().latest;
}

}  // namespace mci

BOOL mci_cd_take_refusal(std::string* text) {
  mci::Refusal& state = mci::refusal();
  std::lock_guard lock(state.mutex);
  if (state.latest.empty() || state.latest == state.told) return FALSE;
  state.told = state.latest;
  if (text != nullptr) *text = state.latest;
  return TRUE;
}
