#include "realtime/record_store.h"

#include "base/atomic_file.h"

namespace tessaly::realtime {

void RecordStore::Append(const RealtimeRecord& record) {
  std::lock_guard lock(mutex_);
  records_.push_back(record);
}

size_t RecordStore::Size() const {
  std::lock_guard lock(mutex_);
  return records_.size();
}

void RecordStore::Clear() {
  std::lock_guard lock(mutex_);
  records_.clear();
}

std::vector<RealtimeRecord> RecordStore::Snapshot() const {
  std::lock_guard lock(mutex_);
  return records_;
}

bool RecordStore::Read(size_t i, RealtimeRecord& out) const {
  std::lock_guard lock(mutex_);
  if (i >= records_.size()) return false;
  out = records_[i];
  return true;
}

bool RecordStore::SaveTo(const std::string& path) const {
  std::lock_guard lock(mutex_);
  return SaveLocked(path);
}

bool RecordStore::SaveAndClear(const std::string& path) {
  std::lock_guard lock(mutex_);
  if (!SaveLocked(path)) return false;
  records_.clear();
  return true;
}

bool RecordStore::SaveLocked(const std::string& path) const {
  base::AtomicFile file;
  return file.Open(path) && file.Write(records_.data(), records_.size() * kRecordSize) && file.Commit();
}

}  // namespace tessaly::realtime
