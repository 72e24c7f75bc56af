// GlobalAlloc and friends over heap blocks that a handle refers to.
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/ui/windows.h"

namespace {

struct Block {
  std::vector<unsigned char> bytes;
  int locks = 0;
};

struct Heap {
  std::mutex mutex;
  std::unordered_map<Block*, std::unique_ptr<Block>> blocks;
};

Heap& heap() {
  static Heap h;
  return h;
}

Block* find(HGLOBAL h) {
  auto it = heap().blocks.find(static_cast<Block*>(h));
  return it == heap().blocks.end() ? nullptr : it->second.get();
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, std::size_t size) {
  auto block = std::make_unique<Block>();
  block->bytes.assign(size, 0);  // always zeroed: no uninitialised reads
  std::lock_guard<std::mutex> lock(heap().mutex);
  Block* raw = block.get();
  heap().blocks.emplace(raw, std::move(block));
  return raw;
}

HGLOBAL GlobalReAlloc(HGLOBAL h, std::size_t size, UINT) {
  std::lock_guard<std::mutex> lock(heap().mutex);
  Block* b = find(h);
  if (!b || b->locks > 0) return nullptr;  // a locked block cannot move
  b->bytes.resize(size, 0);
  return h;
}

LPVOID GlobalLock(HGLOBAL h) {
  std::lock_guard<std::mutex> lock(heap().mutex);
  Block* b = find(h);
  if (!b) return nullptr;
  ++b->locks;
  // A zero-byte block still locks to a valid address.
  if (b->bytes.empty()) b->bytes.reserve(1);
  return b->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL h) {
  std::lock_guard<std::mutex> lock(heap().mutex);
  Block* b = find(h);
  if (!b || b->locks == 0) return FALSE;
  return --b->locks > 0 ? TRUE : FALSE;
}

std::size_t GlobalSize(HGLOBAL h) {
  std::lock_guard<std::mutex> lock(heap().mutex);
  Block* b = find(h);
  return b ? b->bytes.size() : 0;
}

HGLOBAL GlobalFree(HGLOBAL h) {
  std::lock_guard<std::mutex> lock(heap().mutex);
  if (!find(h)) return h;  // failure returns the handle
  heap().blocks.erase(static_cast<Block*>(h));
  return nullptr;
}
