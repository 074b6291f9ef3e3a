#include "output/workbook_export.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <filesystem>

#include "base/atomic_file.h"
#include "base/format.h"
#include "base/texts.h"
#include "settings/recorder_data.h"

namespace tessaly::output {
namespace {

constexpr uint32_t kProgressRows = 100;

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
  void Put(uint32_t row, uint16_t column, const std::string& text) {
    if (ok_) ok_ = worksheet_write_string(sheet_, row, column, text.c_str(), nullptr) == LXW_NO_ERROR;
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

std::string TimeText(const record::RecordTime& time) {
  const record::CalendarFields f = time.Fields();
  return base::Format("%4.4d-%2.2d-%2.2d %2.2d-%2.2d-%2.2d", f.year, f.month, f.day, f.hour, f.minute, f.second);
}

}  // namespace

ExportStatus ExportWorkbook(const settings::CRecorderData& data, int32_t interval, const std::string& path,
                            const ExportProgress& progress) {
  if (data.samples.empty()) return ExportStatus::Empty;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportStatus::OpenFailed;
  // libxlsxwriter does not check the writes to its temporary files; kept on
  // the target's file system, a full disk also fails the workbook's own
  // writes, which it does check.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  Workbook book(file.TemporaryPath(), folder.empty() ? std::string(".") : folder.string());
  if (!book.Ok()) return ExportStatus::OpenFailed;

  const size_t k = static_cast<size_t>(std::max(interval, 1));
  const uint32_t rows = static_cast<uint32_t>(data.samples.size() / k);
  book.Put(0, 0, base::Text(base::TextId::ExportIndexHeading, data.language));
  book.Put(0, 1, base::Text(base::TextId::ExportTimeHeading, data.language));
  for (int j = 0; j < settings::kChannels; ++j)
    if (data.channels[j].shown == 1) book.Put(0, static_cast<uint16_t>(j + 2), settings::ChannelName(data.channels[j]));

  for (uint32_t i = 0; i < rows && book.Ok(); ++i) {
    const record::Sample& sample = data.samples[i * k];
    book.Put(i + 1, 0, base::Format("%zu", i * k));
    book.Put(i + 1, 1, TimeText(sample.time));
    for (int j = 0; j < settings::kChannels; ++j)
      if (data.channels[j].shown == 1)
        book.Put(i + 1, static_cast<uint16_t>(j + 2),
                 base::Format("%.*f", sample.decimals[j], static_cast<double>(sample.values[j])));
    if (progress && (i == 0 || i == rows - 1 || i % kProgressRows == 0)) progress(i, rows);
  }
  if (!book.Close() || !file.Commit()) return ExportStatus::WriteFailed;
  return ExportStatus::Written;
}

}  // namespace tessaly::output
