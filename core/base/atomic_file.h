#pragma once
// Files the program writes (settings, .DT, CSV, workbooks) go to a temporary
// name beside the target and are renamed into place only when complete, so a
// crash or a full disk never leaves a half-written file where a good one was.
#include <cstddef>
#include <cstdio>
#include <string>

namespace tessaly::base {

class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();  // discards the temporary file unless committed
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  // Creates the temporary file beside `target`. False when the folder cannot
  // take it (missing, read-only) or `target` is a read-only file.
  bool Open(const std::string& target);

  bool Write(const void* data, size_t size);
  bool Write(const std::string& text) { return Write(text.data(), text.size()); }

  // Flushes, syncs and renames over the target; false (and the target left as
  // it was) on any error seen since Open.
  bool Commit();

  // Path of the temporary file, for writers that need a path of their own
  // (libxlsxwriter); they write it themselves and then call Commit.
  const std::string& TemporaryPath() const { return tempPath_; }
  std::FILE* Stream() { return file_; }

 private:
  void Discard();
  // The platform's part (atomic_file_posix.cpp, atomic_file_win32.cpp): a new
  // file beside `target` with the permissions it has or a new file gets, its
  // path in `tempPath`; flushing the data to the disk and closing; renaming
  // over the target; removing.
  static std::FILE* CreateBeside(const std::string& target, std::string& tempPath);
  static bool SyncAndClose(std::FILE* file);
  static bool Replace(const std::string& from, const std::string& to);
  static void Remove(const std::string& path);

  std::string target_;
  std::string tempPath_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

}  // namespace tessaly::base
