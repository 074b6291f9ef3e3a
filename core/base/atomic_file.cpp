#include "base/atomic_file.h"

#include "base/fs_path.h"
#include "base/regular_file.h"

namespace tessaly::base {

AtomicFile::~AtomicFile() { Discard(); }

bool AtomicFile::Open(const std::string& target) {
  Discard();
  failed_ = false;
  target_ = target;
  // A read-only target stays refused, as opening it for writing would be.
  std::error_code error;
  if (std::filesystem::exists(FsPath(target), error) && !IsWritable(target)) return false;
  file_ = CreateBeside(target, tempPath_);
  return file_ != nullptr;
}

bool AtomicFile::Write(const void* data, size_t size) {
  if (!file_ || failed_) return false;
  if (size > 0 && std::fwrite(data, 1, size, file_) != size) failed_ = true;
  return !failed_;
}

bool AtomicFile::Commit() {
  if (tempPath_.empty()) return false;
  bool ok = !failed_;
  if (file_) {
    ok = SyncAndClose(file_) && ok;
    file_ = nullptr;
  }
  ok = ok && Replace(tempPath_, target_);
  if (!ok) {
    Discard();
    return false;
  }
  tempPath_.clear();
  return true;
}

void AtomicFile::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!tempPath_.empty()) {
    Remove(tempPath_);
    tempPath_.clear();
  }
}

}  // namespace tessaly::base
