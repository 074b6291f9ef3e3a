#pragma once
// The real-time record store of a page. The worker appends and rotates it
// while the page saves, clears, opens and exports it, so every access holds
// its lock; readers take a copy.
#include <cstddef>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "realtime/realtime_record.h"

namespace tessaly::realtime {

class RecordStore {
 public:
  RecordStore() = default;
  explicit RecordStore(std::vector<RealtimeRecord> records) : records_(std::move(records)) {}

  void Append(const RealtimeRecord& record);
  size_t Size() const;
  void Clear();
  std::vector<RealtimeRecord> Snapshot() const;
  // Record `i` into `out`; false past the end. A reader that walks the store
  // this way follows a worker that appends to it or empties it meanwhile.
  bool Read(size_t i, RealtimeRecord& out) const;

  // Writes every record, in order, to `path` (through a temporary file).
  // False when the file cannot be created or written; the store is
  // unchanged either way.
  bool SaveTo(const std::string& path) const;
  // The same, emptying the store on success, in one step: nothing appended
  // meanwhile can be lost.
  bool SaveAndClear(const std::string& path);

 private:
  bool SaveLocked(const std::string& path) const;

  mutable std::mutex mutex_;
  std::vector<RealtimeRecord> records_;
};

}  // namespace tessaly::realtime
