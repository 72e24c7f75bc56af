#pragma once
// The play list being edited in the playlist editor: up to 128 entries, each a
// whole path of at most 127 characters in a fixed 128-byte slot of one
// 16384-byte block. An array of slot pointers gives the order, so removing an
// entry moves pointers, never paths. The block exists only while the editor is
// open. UI thread only.
#include <string_view>

#include "platform/ui/windows.h"

class WorkArea {
 public:
  static constexpr int kCapacity = 128;
  static constexpr int kSlotSize = 128;
  static constexpr int kMaxPath = kSlotSize - 1;

  enum class Made { Ok, NoMemory, NoLock };

  WorkArea() = default;
  ~WorkArea() { release(); }
  WorkArea(const WorkArea&) = delete;
  WorkArea& operator=(const WorkArea&) = delete;

  // Allocates and locks the block; on failure the work area stays unusable.
  Made allocate();
  void release();
  bool ready() const { return bytes_ != nullptr; }

  int count() const { return count_; }
  bool full() const { return count_ == kCapacity; }
  const char* entry(int index) const { return slots_[index]; }
  // Appends a path; false when the area is full, not ready, or the path does not fit a slot.
  bool add(std::string_view path);
  // Removes entry `index` (0 <= index < count): later entries move up one place.
  void remove(int index);
  void clear();

 private:
  HGLOBAL block_ = nullptr;
  char* bytes_ = nullptr;
  char* slots_[kCapacity] = {};
  int count_ = 0;
};
