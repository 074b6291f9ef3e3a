#pragma once
// A workbook of one sheet of text cells, written as the exporters write
// files: beside the target under a temporary name and renamed into place
// when complete. Rows stream to disk, so memory does not grow with them.
#include <cstdint>
#include <memory>
#include <string>

#include "base/atomic_file.h"

namespace tessaly::output {

class WorkbookFile {
 public:
  WorkbookFile();
  ~WorkbookFile();  // discards an uncommitted workbook
  WorkbookFile(const WorkbookFile&) = delete;
  WorkbookFile& operator=(const WorkbookFile&) = delete;

  // False when the target's folder cannot take the file.
  bool Open(const std::string& path);

  // Zero-based row and column; once a cell fails, nothing more is written.
  void Put(uint32_t row, uint16_t column, const char* text);
  // The text from `begin` to `end`, which must leave room for a terminator.
  void Put(uint32_t row, uint16_t column, char* begin, char* end) {
    *end = '\0';
    Put(row, column, begin);
  }
  bool Ok() const { return ok_; }

  // Assembles the workbook (libxlsxwriter does it only now) and renames it
  // onto the target; false, the target left as it was, on any failure.
  bool Commit();

 private:
  struct Book;
  base::AtomicFile file_;
  std::string tmpdir_;
  std::unique_ptr<Book> book_;
  bool ok_ = false;
};

}  // namespace tessaly::output
