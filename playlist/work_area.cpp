#include "playlist/work_area.h"

#include <cstring>

WorkArea::Made WorkArea::allocate() {
  release();
  block_ = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, static_cast<std::size_t>(kCapacity) * kSlotSize);
  if (block_ == nullptr) return Made::NoMemory;
  bytes_ = static_cast<char*>(GlobalLock(block_));
  if (bytes_ == nullptr) {
    GlobalFree(block_);
    block_ = nullptr;
    return Made::NoLock;
  }
  for (int i = 0; i < kCapacity; ++i) slots_[i] = bytes_ + i * kSlotSize;
  count_ = 0;
  return Made::Ok;
}

void WorkArea::release() {
  if (block_ == nullptr) return;
  GlobalUnlock(block_);
  GlobalFree(block_);
  block_ = nullptr;
  bytes_ = nullptr;
  count_ = 0;
}

bool WorkArea::add(std::string_view path) {
  if (!ready() || full() || path.size() > static_cast<std::size_t>(kMaxPath)) return false;
  char* slot = slots_[count_++];
  std::memcpy(slot, path.data(), path.size());
  slot[path.size()] = '\0';
  return true;
}

void WorkArea::remove(int index) {
  if (index < 0 || index >= count_) return;
  char* freed = slots_[index];
  for (int i = index; i < kCapacity - 1; ++i) slots_[i] = slots_[i + 1];
  slots_[kCapacity - 1] = freed;
  freed[0] = '\0';
  --count_;
}

void WorkArea::clear() {
  for (int i = 0; i < count_; ++i) slots_[i][0] = '\0';
  count_ = 0;
}
