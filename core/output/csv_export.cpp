#include "output/csv_export.h"

#include <algorithm>

#include "base/atomic_file.h"
#include "base/gbk.h"
#include "base/number_format.h"
#include "base/texts.h"

namespace tessaly::output {
namespace {

constexpr size_t kFlushSize = 64 * 1024;

// Formats the export into a buffer handed to `write` in large pieces, so the
// memory used stays the same whatever the number of rows.
template <typename Write>
bool WriteCsv(Write&& write, const record::SampleBuffer& samples, const settings::DisplaySettings& display,
              uint32_t interval, int language, const ExportProgress& progress) {
  const size_t k = std::max<uint32_t>(interval, 1);
  std::string text;
  text.reserve(kFlushSize + 4096);
  text += base::Utf8ToGbk(base::Text(base::TextId::CsvHeading, language));
  for (const settings::ChannelInfo& channel : display.channels) {
    text += ',';
    text += base::FieldText(channel.name, settings::kTextFieldSize);  // GBK as stored
  }
  text += "\r\n";

  const auto rows = static_cast<uint32_t>(samples.size() / k);
  for (uint32_t row = 0; row < rows; ++row) {
    const size_t index = row * k;
    const record::Sample& sample = samples[index];
    const record::CalendarFields t = sample.time.Fields();
    base::AppendInt(text, static_cast<int64_t>(index));
    text += ',';
    base::AppendInt(text, t.year, 4);
    text += '-';
    base::AppendInt(text, t.month, 2);
    text += '-';
    base::AppendInt(text, t.day, 2);
    text += ' ';
    base::AppendInt(text, t.hour, 2);
    text += '-';
    base::AppendInt(text, t.minute, 2);
    text += '-';
    base::AppendInt(text, t.second, 2);
    for (int c = 0; c < record::kChannelCount; ++c) {
      text += ',';
      base::AppendFixed(text, sample.values[c], sample.decimals[c]);
    }
    text += "\r\n";
    if (text.size() >= kFlushSize) {
      if (!write(text)) return false;
      text.clear();
    }
    ReportRowProgress(progress, row, rows);
  }
  return write(text);
}

}  // namespace

bool WriteViewerCsv(std::FILE* out, const record::SampleBuffer& samples, const settings::DisplaySettings& display,
                    uint32_t interval, int language, const ExportProgress& progress) {
  if (samples.empty()) return true;
  const auto write = [out](const std::string& text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size();
  };
  return WriteCsv(write, samples, display, interval, language, progress) && std::fflush(out) == 0;
}

ExportResult WriteViewerCsvFile(const std::string& path, const record::SampleBuffer& samples,
                                const settings::DisplaySettings& display, uint32_t interval, int language,
                                const ExportProgress& progress) {
  if (samples.empty()) return ExportResult::NothingToWrite;
  base::AtomicFile file;
  if (!file.Open(path)) return ExportResult::OpenFailed;
  const auto write = [&file](const std::string& text) { return file.Write(text); };
  if (!WriteCsv(write, samples, display, interval, language, progress) || !file.Commit())
    return ExportResult::WriteFailed;
  return ExportResult::Written;
}

}  // namespace tessaly::output
