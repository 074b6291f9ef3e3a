#pragma once
// "-o -" names stdout. Writers that can only write a named file (workbooks,
// .DT exports, record files) write one in a private temporary folder, which is
// then copied to stdout and removed.
#include <cstdio>
#include <string>
#include <string_view>

namespace tessaly::base {

constexpr std::string_view kStdoutName = "-";

class StdoutThroughFile {
 public:
  StdoutThroughFile();   // a fresh folder under $TMPDIR, or /tmp
  ~StdoutThroughFile();  // removes it with what it holds
  StdoutThroughFile(const StdoutThroughFile&) = delete;
  StdoutThroughFile& operator=(const StdoutThroughFile&) = delete;

  // Where the writer writes; empty when no folder could be made.
  const std::string& path() const { return path_; }
  // The written file's bytes to `out`, flushed; false when the file cannot be
  // read or `out` not written.
  bool CopyTo(std::FILE* out) const;

 private:
  std::string folder_;
  std::string path_;
};

}  // namespace tessaly::base
