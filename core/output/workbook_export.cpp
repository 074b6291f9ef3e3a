#include "output/workbook_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/number_format.h"
#include "base/texts.h"
#include "output/time_text.h"

namespace tessaly::output {
namespace {

class Workbook {
 public:
  // The rows go to temporary files in `tmpdir` (kept for the book's life)
  // until Close assembles the file at `path`.
  Workbook(const std::string& path, std::string tmpdir) : tmpdir_(std::move(tmpdir)) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpdir_.data();
    options.use_zip64 = LXW_TRUE;
    book_ = workbook_new_opt(path.c_str(), &options);
    if (book_) sheet_ = workbook_add_worksheet(book_, nullptr);
    ok_ = sheet_ != nullptr;
  }
  ~Workbook() { Close(); }
  Workbook(const Workbook&) = delete;
  Workbook& operator=(const Workbook&) = delete;

  // Zero-based row and column.
  void Put(uint32_t row, uint16_t column, const char* text) {
    if (ok_) ok_ = worksheet_write_string(sheet_, row, column, text, nullptr) == LXW_NO_ERROR;
  }
  // The text from `begin` to `end`, which must leave room for a terminator.
  void Put(uint32_t row, uint16_t column, char* begin, char* end) {
    *end = '\0';
    Put(row, column, begin);
  }

  bool Ok() const { return ok_; }

  // Writes the file (libxlsxwriter assembles it only now) and frees the book.
  bool Close() {
    if (book_) {
      ok_ = workbook_close(book_) == LXW_NO_ERROR && ok_;
      book_ = nullptr;
    }
    return ok_;
  }

 private:
  std::string tmpdir_;
  lxw_workbook* book_ = nullptr;
  lxw_worksheet* sheet_ = nullptr;
  bool ok_ = false;
};

}  // namespace

ExportResult WriteViewerWorkbookFile(const std::string& path, const record::SampleBuffer& samples,
                                     const settings::DisplaySettings& display, uint32_t interval, int language,
                                     const ExportProgress& progress) {
  if (samples.empty()) return ExportResult::NothingToWrite;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportResult::OpenFailed;
  // libxlsxwriter does not check the writes to its temporary files; kept on
  // the target's file system, a full disk also fails the workbook's own
  // writes, which it does check.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  Workbook book(file.TemporaryPath(), folder.empty() ? std::string(".") : folder.string());
  if (!book.Ok()) return ExportResult::OpenFailed;

  const size_t k = std::max<uint32_t>(interval, 1);
  const auto rows = static_cast<uint32_t>(samples.size() / k);
  book.Put(0, 0, base::Text(base::TextId::ExportIndexHeading, language));
  book.Put(0, 1, base::Text(base::TextId::ExportTimeHeading, language));
  for (int j = 0; j < settings::kChannels; ++j)
    if (display.channels[j].shown == 1)
      book.Put(0, static_cast<uint16_t>(j + 2), settings::ChannelName(display.channels[j]).c_str());

  char cell[std::max(base::kFixedRoom, kTimeTextRoom) + 1];
  TimeTextWriter time;
  record::SampleBuffer::Walker walker(samples);
  for (uint32_t i = 0; i < rows && book.Ok(); ++i) {
    const record::Sample& sample = walker.At(i * k);
    book.Put(i + 1, 0, cell, base::WriteInt(cell, static_cast<int64_t>(i * k)));
    book.Put(i + 1, 1, cell, time.Write(cell, sample.time));
    for (int j = 0; j < settings::kChannels; ++j)
      if (display.channels[j].shown == 1)
        book.Put(i + 1, static_cast<uint16_t>(j + 2), cell,
                 base::WriteFixed(cell, sample.values[j], sample.decimals[j]));
    ReportRowProgress(progress, i, rows);
  }
  if (!book.Close() || !file.Commit()) return ExportResult::WriteFailed;
  return ExportResult::Written;
}

}  // namespace tessaly::output
