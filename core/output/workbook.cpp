#include "output/workbook.h"

#include <xlsxwriter.h>

#include <filesystem>

#include "base/fs_path.h"

namespace tessaly::output {

struct WorkbookFile::Book {
  lxw_workbook* book = nullptr;
  lxw_worksheet* sheet = nullptr;

  // Writes the file and frees the book; true when that worked.
  bool Close() {
    if (!book) return false;
    const bool closed = workbook_close(book) == LXW_NO_ERROR;
    book = nullptr;
    return closed;
  }
  ~Book() { Close(); }
};

WorkbookFile::WorkbookFile() = default;

WorkbookFile::~WorkbookFile() = default;

bool WorkbookFile::Open(const std::string& path) {
  if (!file_.Open(path)) return false;
  // libxlsxwriter does not check the writes to its temporary files; kept on
  // the target's file system, a full disk also fails the workbook's own
  // writes, which it does check.
  const std::filesystem::path folder = base::FsPath(path).parent_path();
  tmpdir_ = folder.empty() ? std::string(".") : base::Utf8Path(folder);
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  options.tmpdir = tmpdir_.data();
  options.use_zip64 = LXW_TRUE;
  book_ = std::make_unique<Book>();
  book_->book = workbook_new_opt(file_.TemporaryPath().c_str(), &options);
  if (book_->book) book_->sheet = workbook_add_worksheet(book_->book, nullptr);
  ok_ = book_->sheet != nullptr;
  return ok_;
}

void WorkbookFile::Put(uint32_t row, uint16_t column, const char* text) {
  if (ok_) ok_ = worksheet_write_string(book_->sheet, row, column, text, nullptr) == LXW_NO_ERROR;
}

bool WorkbookFile::Commit() {
  ok_ = book_ && book_->Close() && ok_;
  return ok_ && file_.Commit();
}

}  // namespace tessaly::output
